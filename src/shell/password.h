#pragma once

#include <QString>

#include <optional>

namespace tarvello
{

// The access password is kept scrambled, two upper-case hex digits per character, in the INI
// file unins000.dll (section "Accesso", key "Valore") of the program's folder.
namespace Scrambler
{
// The running key starts at kStartKey and after each byte c becomes (c + key) * kMultiplier +
// kIncrement, modulo 65536. The build tool that writes the initial file uses the same values.
inline constexpr quint16 kStartKey = 0x5A17;
inline constexpr quint16 kMultiplier = 0x3C6B;
inline constexpr quint16 kIncrement = 0x1F35;

// Only the low 8 bits of each character are kept; at most 255 characters.
QString encode(QStringView plain);
// A last odd digit is ignored; a pair that is not hexadecimal gives no result.
std::optional<QString> decode(QStringView hex);
} // namespace Scrambler

QString passwordFileName(); // "unins000.dll"
QString initialPassword();  // "chiaveiniziale"
// What is compared and stored: a–z in capitals, then trimmed.
QString normalisedPassword(QStringView typed);

// True when a new password can be kept by the scrambler: at most 255 characters, all of them
// in the range U+0000..U+00FF.
bool isStorablePassword(QStringView password);

enum class PasswordCheck { Right, Wrong, ReadError };
PasswordCheck checkPassword(const QString& passwordFile, QStringView typed, QString* stored = nullptr);

enum class PasswordChange { Done, WrongOld, NotConfirmed, NotStorable, Failed };
PasswordChange changePassword(const QString& passwordFile, QStringView oldTyped, QStringView newTyped,
                              QStringView confirmTyped);

// Writes the file holding the scrambled initial password (used by the build and the install).
bool writeInitialPasswordFile(const QString& passwordFile);

} // namespace tarvello

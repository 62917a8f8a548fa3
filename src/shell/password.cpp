#include "password.h"

#include "core/ini.h"
#include "core/text.h"

namespace tarvello
{

namespace Scrambler
{

namespace
{
quint16 advance(quint16 key, quint8 c)
{
    return quint16((quint32(c) + key) * kMultiplier + kIncrement);
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}
} // namespace

QString encode(QStringView plain)
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    QString out;
    const qsizetype n = qMin<qsizetype>(plain.size(), 255);
    out.reserve(n * 2);
    quint16 key = kStartKey;
    for (qsizetype i = 0; i < n; ++i) {
        const quint8 c = quint8((plain.at(i).unicode() & 0xFF) ^ (key >> 8));
        out.append(QChar(kDigits[c >> 4]));
        out.append(QChar(kDigits[c & 0xF]));
        key = advance(key, c);
    }
    return out;
}

std::optional<QString> decode(QStringView hex)
{
    QString out;
    const qsizetype n = hex.size() / 2;
    out.reserve(n);
    quint16 key = kStartKey;
    for (qsizetype i = 0; i < n; ++i) {
        const int hi = hexValue(hex.at(2 * i));
        const int lo = hexValue(hex.at(2 * i + 1));
        if (hi < 0 || lo < 0)
            return std::nullopt;
        const quint8 c = quint8(hi * 16 + lo);
        out.append(QChar(char16_t(c ^ (key >> 8))));
        key = advance(key, c);
    }
    return out;
}

} // namespace Scrambler

QString passwordFileName()
{
    return QStringLiteral("unins000.dll");
}
QString initialPassword()
{
    return QStringLiteral("chiaveiniziale");
}
QString normalisedPassword(QStringView typed)
{
    return trimmed(upperAscii(typed));
}

bool isStorablePassword(QStringView password)
{
    if (password.size() > 255)
        return false;
    for (QChar c : password)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

namespace
{
const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");

// The stored password, decoded and trimmed; nothing when the file or its value cannot be read.
std::optional<QString> readStored(const QString& file)
{
    IniFile::Status status;
    const IniFile ini = IniFile::load(file, &status);
    if (status == IniFile::Status::Unreadable)
        return std::nullopt;
    const auto decoded = Scrambler::decode(ini.value(kSection, kKey));
    if (!decoded)
        return std::nullopt;
    return trimmed(*decoded);
}
} // namespace

PasswordCheck checkPassword(const QString& passwordFile, QStringView typed, QString* stored)
{
    const auto current = readStored(passwordFile);
    if (!current)
        return PasswordCheck::ReadError;
    if (stored)
        *stored = *current;
    return *current == normalisedPassword(typed) ? PasswordCheck::Right : PasswordCheck::Wrong;
}

PasswordChange changePassword(const QString& passwordFile, QStringView oldTyped, QStringView newTyped,
                              QStringView confirmTyped)
{
    const auto current = readStored(passwordFile);
    if (!current)
        return PasswordChange::Failed;
    if (*current != normalisedPassword(oldTyped))
        return PasswordChange::WrongOld;
    if (trimmed(newTyped) != trimmed(confirmTyped))
        return PasswordChange::NotConfirmed;
    const QString fresh = normalisedPassword(newTyped);
    if (!isStorablePassword(fresh))
        return PasswordChange::NotStorable;
    IniFile::Status status;
    IniFile ini = IniFile::load(passwordFile, &status);
    if (status == IniFile::Status::Unreadable)
        return PasswordChange::Failed;
    ini.setValue(kSection, kKey, Scrambler::encode(fresh));
    return ini.save(passwordFile) ? PasswordChange::Done : PasswordChange::Failed;
}

bool writeInitialPasswordFile(const QString& passwordFile)
{
    return writeIniString(passwordFile, kSection, kKey, Scrambler::encode(upperAscii(initialPassword())));
}

} // namespace tarvello

// Any bytes as the password file, any text as what is typed: decoding reads every pair of
// hexadecimal digits or fails, scrambling what was decoded gives the stored digits back, the
// check says right exactly for the stored password, and a password changed from a damaged file
// works at once.
#include "core/ini.h"
#include "core/text.h"
#include "fuzzparts.h"
#include "shell/password.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tarvello;

namespace
{

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

void checkScrambler(const QString& hex, const QString& plain)
{
    const std::optional<QString> decoded = Scrambler::decode(hex);
    const qsizetype pairs = hex.size() / 2;
    bool allHex = true;
    for (qsizetype i = 0; i < 2 * pairs; ++i)
        allHex = allHex && isHex(hex.at(i));
    FUZZ_CHECK(decoded.has_value() == allHex, hex);
    if (decoded) {
        FUZZ_CHECK(decoded->size() == pairs, hex);
        for (QChar c : *decoded)
            FUZZ_CHECK(c.unicode() <= 0xFF, hex);
        if (pairs <= 255)
            FUZZ_CHECK(Scrambler::encode(*decoded) == hex.left(2 * pairs).toUpper(), hex);
    }
    const QString encoded = Scrambler::encode(plain);
    const std::optional<QString> back = Scrambler::decode(encoded);
    FUZZ_CHECK(back.has_value(), encoded);
    QString expected = plain.left(255);
    for (QChar& c : expected)
        c = QChar(char16_t(c.unicode() & 0xFF));
    FUZZ_CHECK(*back == expected, plain);
}

QString passwordFile()
{
    static QTemporaryDir dir;
    return QDir(dir.path()).filePath(passwordFileName());
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fuzzFailure("cannot write the password file", path);
}

void checkFile(const QByteArray& bytes, const QString& typed, const QString& fresh)
{
    const QString path = passwordFile();
    writeFile(path, bytes);
    const std::optional<QString> stored =
        Scrambler::decode(IniFile::parse(bytes).value(u"Accesso", u"Valore"));
    const PasswordCheck check = checkPassword(path, typed);
    if (!stored) {
        FUZZ_CHECK(check == PasswordCheck::ReadError, typed);
        FUZZ_CHECK(changePassword(path, typed, fresh, fresh) == PasswordChange::Failed, typed);
        return;
    }
    const bool right = trimmed(*stored) == normalisedPassword(typed);
    FUZZ_CHECK(check == (right ? PasswordCheck::Right : PasswordCheck::Wrong), typed);

    // A stored password with small letters (never written by the program) matches nothing typed.
    const QString old = trimmed(*stored);
    if (normalisedPassword(old) != old) {
        FUZZ_CHECK(changePassword(path, old, fresh, fresh) == PasswordChange::WrongOld, old);
        return;
    }
    // Changed with the right old password, the new one opens at once and the old one no more.
    const PasswordChange change = changePassword(path, old, fresh, fresh);
    if (!isStorablePassword(normalisedPassword(fresh))) {
        FUZZ_CHECK(change == PasswordChange::NotStorable, fresh);
        return;
    }
    FUZZ_CHECK(change == PasswordChange::Done, fresh);
    FUZZ_CHECK(checkPassword(path, fresh) == PasswordCheck::Right, fresh);
    if (normalisedPassword(fresh) != old)
        FUZZ_CHECK(checkPassword(path, old) == PasswordCheck::Wrong, fresh);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzParts parts(data, size);
    checkScrambler(parts.text(0), parts.text(1));
    checkFile(parts.bytes(2), parts.text(1), parts.text(0));
    return 0;
}

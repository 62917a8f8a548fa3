// Any bytes as a settings file (Numerazione.ini, unins000.dll), any text as the value the program
// writes to one of its keys: the value reads back as written (in Windows-1252, with line breaks
// as blanks), every other key keeps its value, and reading what was written changes nothing.
#include "core/ini.h"
#include "core/text.h"
#include "core/win1252.h"
#include "fuzzparts.h"

#include <utility>

using namespace tarvello;

namespace
{

// The sections and keys the program reads and writes.
const std::pair<const char16_t*, const char16_t*> kKeys[] = {
    {u"Accesso", u"Valore"},
    {u"Numerazione Fatture", u"Inizio"},
    {u"Numerazione Fatture", u"Indicazione Anno Solare"},
    {u"Ditta Emittente", u"Nome"},
    {u"Ditta Emittente", u"Indirizzo"},
    {u"Ditta Emittente", u"CAP"},
    {u"Ditta Emittente", u"Partita IVA"},
    {u"Ditta Emittente", u"Campo Libero 1"},
    {u"Ditta Emittente", u"Iban"},
};
constexpr int kKeyCount = int(std::size(kKeys));

// A section and key a file may hold and the program may write: one line, no brackets in the
// section, no "=" in the key, no blanks at either end.
bool isPlainName(const QString& name, bool key)
{
    if (name.isEmpty() || name.trimmed() != name || name.contains(u'\r') || name.contains(u'\n'))
        return false;
    if (key)
        return !name.contains(u'=') && !name.startsWith(u';') && !name.startsWith(u'[');
    return !name.contains(u']');
}

QString asStored(const QString& text)
{
    return fromWin1252(toWin1252(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzParts parts(data, size);
    const IniFile file = IniFile::parse(parts.bytes(0));
    // What was read is written back unchanged.
    FUZZ_CHECK(IniFile::parse(file.toBytes()).lines() == file.lines(), QString());

    const auto [section, key] = kKeys[parts.choice(1, kKeyCount)];
    // The program writes its values trimmed, as its fields hold them.
    const QString value = trimmed(parts.text(2));
    // Another key the file may hold, which must keep its value.
    QString otherSection = asStored(parts.text(3)), otherKey = asStored(parts.text(4));
    const bool checkOther = isPlainName(otherSection, false) && isPlainName(otherKey, true);

    QStringList before;
    for (const auto& [s, k] : kKeys)
        before << file.value(s, k);
    const QString otherBefore = checkOther ? file.value(otherSection, otherKey) : QString();

    IniFile written = file;
    written.setValue(section, key, value);
    const IniFile reread = IniFile::parse(written.toBytes());

    QString expected = value;
    expected.replace(u'\r', u' ').replace(u'\n', u' ');
    FUZZ_CHECK(reread.value(section, key) == asStored(expected), reread.value(section, key));
    for (int i = 0; i < kKeyCount; ++i) {
        const bool same = QStringView(kKeys[i].first).compare(section, Qt::CaseInsensitive) == 0 &&
                          QStringView(kKeys[i].second).compare(key, Qt::CaseInsensitive) == 0;
        if (!same)
            FUZZ_CHECK(reread.value(kKeys[i].first, kKeys[i].second) == before[i],
                       QString::fromUtf16(kKeys[i].second));
    }
    if (checkOther && !(otherSection.compare(section, Qt::CaseInsensitive) == 0 &&
                        otherKey.compare(key, Qt::CaseInsensitive) == 0))
        FUZZ_CHECK(reread.value(otherSection, otherKey) == otherBefore, otherKey);
    return 0;
}

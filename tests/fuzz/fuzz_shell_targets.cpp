// Any text as the name of a file chosen for attachment, as an attachment name read from a
// record, as an e-mail address or as the brand and model of a web search: what the desktop is
// handed names a file inside the attachments folder, or one mail address, or one search, and
// nothing else.
#include "attachments/attachments.h"
#include "core/text.h"
#include "core/win1252.h"
#include "customers/customercard.h"
#include "fuzzparts.h"
#include "shell/shelltexts.h"
#include "warehouse/productcard.h"

#include <QDir>
#include <QFileInfo>
#include <QUrlQuery>

using namespace tarvello;

namespace
{

const QString kFolder = QStringLiteral("/programma");

bool holdsInCodePage(QStringView text)
{
    return fromWin1252(toWin1252(text)) == text;
}

bool hasControl(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            return true;
    return false;
}

// Text a keyboard gives: no lone surrogate and no noncharacter (U+FFFF), which Qt's address
// encoding cannot carry (it reads them back as U+FFFD).
bool isTypable(const QString& text)
{
    if (QString::fromUtf8(text.toUtf8()) != text)
        return false;
    for (const char32_t c : text.toUcs4())
        if (QChar::isNonCharacter(c))
            return false;
    return true;
}

// A name a file can have here: one path component.
bool isFileName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

void checkStoredName(const QString& name)
{
    if (!Attachments::isSafeStoredName(name))
        return;
    // A control character would make the system open another file than the one named.
    FUZZ_CHECK(!hasControl(name), name);
    const QString path = Attachments::filePath(kFolder, name);
    const QFileInfo info(path);
    FUZZ_CHECK(info.fileName() == name, path);
    FUZZ_CHECK(QDir::cleanPath(info.path()) == Attachments::folderPath(kFolder), path);
    const QUrl url = QUrl::fromLocalFile(path);
    FUZZ_CHECK(url.isLocalFile(), path);
    FUZZ_CHECK(url.toLocalFile() == path, url.toString());
    FUZZ_CHECK(cannotOpenMessage(url).contains(QDir::toNativeSeparators(path)), path);
}

void checkChosenName(const QString& chosen)
{
    const QString stored = Attachments::storableName(chosen);
    FUZZ_CHECK(stored.size() <= Attachments::nameCapacity, stored);
    FUZZ_CHECK(holdsInCodePage(stored), stored);
    FUZZ_CHECK(!hasControl(stored), stored);
    FUZZ_CHECK(Attachments::storableName(stored) == stored, stored);
    if (isFileName(chosen))
        FUZZ_CHECK(Attachments::isSafeStoredName(stored), chosen + QStringLiteral(" -> ") + stored);
}

void checkMail(const QString& address)
{
    const QUrl url = CustomerCard::mailUrl(address);
    if (!url.isValid())
        return; // the desktop is then told it cannot open it
    FUZZ_CHECK(url.scheme() == u"mailto", url.toString());
    FUZZ_CHECK(!url.hasQuery() && !url.hasFragment() && url.host().isEmpty(), url.toString());
    const QString expected = trimmed(address);
    if (!isTypable(expected))
        return;
    FUZZ_CHECK(url.path(QUrl::FullyDecoded) == expected, url.toString());
    // Parsed again from its text (as the desktop gets it), it is the same address.
    FUZZ_CHECK(QUrl(url.toString(QUrl::FullyEncoded)) == url, url.toString());
}

void checkSearch(const QString& brand, const QString& model)
{
    const QUrl url = ProductCard::webSearchUrl(brand, model);
    FUZZ_CHECK(url.isValid(), url.toString());
    FUZZ_CHECK(url.scheme() == u"https" && url.host() == u"www.google.com" && url.path() == u"/search",
               url.toString());
    const QUrlQuery query(QUrl(url.toString(QUrl::FullyEncoded)));
    const auto items = query.queryItems(QUrl::FullyDecoded);
    FUZZ_CHECK(items.size() == 1 && items[0].first == u"q", url.toString());
    const QString words = trimmed(brand) + u' ' + trimmed(model);
    if (isTypable(words))
        FUZZ_CHECK(items[0].second == words, url.toString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzParts parts(data, size);
    const QString first = parts.text(0);
    checkChosenName(first);
    checkStoredName(first);
    checkMail(first);
    checkSearch(first, parts.text(1));
    return 0;
}

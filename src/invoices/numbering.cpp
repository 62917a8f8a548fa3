#include "numbering.h"

#include "archive/archivefile.h"
#include "archive/invoicerecord.h"
#include "archive/record.h"
#include "core/ini.h"
#include "core/numbers.h"
#include "core/text.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace tarvello
{
namespace
{

constexpr QStringView kNumberingSection = u"Numerazione Fatture";
constexpr QStringView kStartKey = u"Inizio";
constexpr QStringView kYearKey = u"Indicazione Anno Solare";
constexpr QStringView kCompanySection = u"Ditta Emittente";

struct CompanyKey {
    QStringView key;
    QString CompanyData::*field;
};

// The order in which the keys are written to a new file.
const CompanyKey kCompanyKeys[] = {
    {u"Nome", &CompanyData::name},
    {u"Indirizzo", &CompanyData::street},
    {u"CAP", &CompanyData::postcode},
    {u"Comune", &CompanyData::town},
    {u"Provincia", &CompanyData::province},
    {u"Partita IVA", &CompanyData::vatNumber},
    {u"Codice Fiscale", &CompanyData::taxCode},
    {u"Campo Libero 1", &CompanyData::free1},
    {u"Campo Libero 2", &CompanyData::free2},
    {u"Pagamento", &CompanyData::payment},
    {u"Banca Appoggio", &CompanyData::bank},
    {u"Iban", &CompanyData::iban},
    {u"Aliquota Iva", &CompanyData::vatRate},
};

// A whole number in plain decimal, with an optional sign and blanks around it; "2,0" or "1E3"
// are not whole numbers here. Eighteen digits keep the sum with the count inside qint64.
std::optional<qint64> parseWholeNumber(QStringView text)
{
    const QString t = trimmed(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-'))
        negative = t.at(i++) == u'-';
    const qsizetype firstDigit = i;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (i - firstDigit >= 18)
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    if (i == firstDigit)
        return std::nullopt;
    return negative ? -value : value;
}

// Loads the file for a rewrite; a file that exists but cannot be read must not be replaced by
// one holding only our keys.
std::optional<IniFile> loadForWriting(const QString& iniPath)
{
    IniFile::Status status = IniFile::Status::Ok;
    IniFile ini = IniFile::load(iniPath, &status);
    if (status == IniFile::Status::Unreadable)
        return std::nullopt;
    return ini;
}

} // namespace

QString numberingIniName()
{
    return QStringLiteral("Numerazione.ini");
}

QString numberingIniPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(numberingIniName());
}

bool NumberingSettings::yearSuffix() const
{
    return trimmed(yearSetting) == Record::yesText();
}

NumberingSettings readNumberingSettings(const QString& iniPath)
{
    const IniFile ini = IniFile::load(iniPath);
    return {ini.value(kNumberingSection, kStartKey), ini.value(kNumberingSection, kYearKey)};
}

bool writeNumberingSettings(const QString& iniPath, QStringView startText, bool yearSuffix)
{
    auto ini = loadForWriting(iniPath);
    if (!ini)
        return false;
    ini->setValue(kNumberingSection, kStartKey, trimmed(startText));
    ini->setValue(kNumberingSection, kYearKey, yearSuffix ? Record::yesText() : Record::noText());
    return ini->save(iniPath);
}

QString startTextOrDefault(QStringView startText)
{
    return isBlank(startText) ? QStringLiteral("1") : startText.toString();
}

QString normaliseStartNumber(QStringView text)
{
    const QString one = QStringLiteral("1");
    if (isBlank(text))
        return one;
    const auto value = parseNumber(text);
    if (!value)
        return one;
    // A whole number too large to be written without an exponent could never be read back as a
    // start number, so it is treated like any other text that is not a number.
    const double whole = roundTo(*value, 0);
    if (!std::isfinite(whole) || std::fabs(whole) >= 1e15)
        return one;
    return formatNumber(whole);
}

std::optional<QString> formInvoiceNumber(QStringView startText, bool yearSuffix, qint64 invoiceCount,
                                         int currentYear)
{
    // The start number is decimal digits and nothing else: "-5" or "+5" is as unreadable as "abc",
    // and must not make New propose -3.
    const QString digits = trimmed(startTextOrDefault(startText));
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const auto start = parseWholeNumber(digits);
    if (!start)
        return std::nullopt;
    QString number = QString::number(*start + invoiceCount);
    if (yearSuffix) {
        number += u'/';
        number += QStringLiteral("%1").arg(currentYear, 4, 10, QChar(u'0'));
    }
    return number;
}

std::optional<qint64> countInvoices(const QString& invoiceFilePath)
{
    ArchiveFile file(invoiceFilePath, InvoiceRecord::Size);
    if (!file.open(ArchiveFile::Access::Read))
        return std::nullopt;
    const qint64 count = file.count();
    file.close();
    return count;
}

InvoiceNumberProposal proposeInvoiceNumber(const QString& iniPath, const QString& invoiceFilePath,
                                           int currentYear)
{
    InvoiceNumberProposal proposal;
    proposal.settings = readNumberingSettings(iniPath);
    proposal.settings.start = startTextOrDefault(proposal.settings.start);

    const auto count = countInvoices(invoiceFilePath);
    if (!count) {
        proposal.outcome = InvoiceNumberProposal::Outcome::ArchiveFailed;
        return proposal;
    }
    proposal.invoiceCount = *count;

    const auto number =
        formInvoiceNumber(proposal.settings.start, proposal.settings.yearSuffix(), *count, currentYear);
    if (!number) {
        proposal.outcome = InvoiceNumberProposal::Outcome::StartNotWhole;
        return proposal;
    }
    proposal.outcome = InvoiceNumberProposal::Outcome::Proposed;
    proposal.number = *number;
    return proposal;
}

CompanyData readCompanyData(const QString& iniPath)
{
    const IniFile ini = IniFile::load(iniPath);
    CompanyData company;
    for (const CompanyKey& k : kCompanyKeys)
        company.*k.field = ini.value(kCompanySection, k.key);
    return company;
}

bool writeCompanyData(const QString& iniPath, const CompanyData& company)
{
    const auto stored = loadForWriting(iniPath);
    if (!stored)
        return false;
    IniFile ini = *stored;
    bool changed = false;
    for (const CompanyKey& k : kCompanyKeys) {
        ini.setValue(kCompanySection, k.key, trimmed(company.*k.field));
        changed = changed || ini.value(kCompanySection, k.key) != stored->value(kCompanySection, k.key);
    }
    // A file that already says all this is left alone: leaving the invoices writes nothing over a
    // file another workstation is writing, or over one that is damaged beyond the company's lines.
    if (!changed && QFileInfo::exists(iniPath))
        return true;
    return ini.save(iniPath);
}

} // namespace tarvello

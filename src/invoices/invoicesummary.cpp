#include "invoicesummary.h"

#include "archive/archivefile.h"
#include "archive/invoicerecord.h"
#include "archive/recordfields.h"
#include "core/numbers.h"
#include "core/text.h"
#include "invoicelists.h"

#include <algorithm>

namespace tarvello::InvoiceSummary
{

using namespace InvoiceRecord;

namespace
{

const char16_t* const kMonths[] = {u"gennaio",   u"febbraio", u"marzo",    u"aprile",
                                   u"maggio",    u"giugno",   u"luglio",   u"agosto",
                                   u"settembre", u"ottobre",  u"novembre", u"dicembre"};

// 1..12 for the digits "01".."12", 0 for anything else.
int monthNumber(QStringView digits)
{
    auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (digits.size() != 2 || !digit(digits[0]) || !digit(digits[1]))
        return 0;
    const int n = (digits[0].unicode() - u'0') * 10 + (digits[1].unicode() - u'0');
    return n >= 1 && n <= 12 ? n : 0;
}

QString quarterName(int quarter) // 0..3
{
    return QString::fromUtf16(kMonths[quarter * 3]) + u", " + QString::fromUtf16(kMonths[quarter * 3 + 1]) +
           u", " + QString::fromUtf16(kMonths[quarter * 3 + 2]);
}

QString field(const char* record, int f)
{
    return decodeField(record, InvoiceRecord::layout().fields[size_t(f)]);
}

// An amount of a stored invoice: an empty field adds nothing; text that is not a number is no
// amount at all.
std::optional<double> amount(const char* record, int f)
{
    const RecordFields::FieldText text(record, InvoiceRecord::layout().fields[size_t(f)]);
    if (text.isEmpty())
        return 0.0;
    return RecordFields::number(text.view());
}

// The month and year of a stored date, as dateParts() reads them, without a string: a summary
// looks at the date of every invoice of the year.
struct DateViews {
    QStringView month, year;
};
DateViews dateViews(QStringView trimmedDate)
{
    // The blanks dateParts() pads with are trimmed off again, so a part past the end is empty.
    auto part = [&](qsizetype from, qsizetype length) {
        return from >= trimmedDate.size() ? QStringView() : trimmedView(trimmedDate.mid(from, length));
    };
    return {part(3, 2), part(6, 4)};
}

QString numbersList(const QStringList& numbers)
{
    QStringList shown;
    for (const QString& n : numbers)
        shown.append(QStringLiteral("n. ") + (n.isEmpty() ? QStringLiteral("(senza numero)") : n));
    return shown.join(QStringLiteral(", "));
}

} // namespace

DateParts dateParts(QStringView date)
{
    const QString padded = trimmed(date) + QString(10, u' ');
    return {trimmed(QStringView(padded).mid(0, 2)), trimmed(QStringView(padded).mid(3, 2)),
            trimmed(QStringView(padded).mid(6, 4))};
}

QStringList choices(Period period)
{
    QStringList out;
    if (period == Period::Month) {
        for (const char16_t* m : kMonths)
            out.append(upperAscii(QString::fromUtf16(m)));
    } else if (period == Period::Quarter) {
        for (int q = 0; q < 4; ++q)
            out.append(upperAscii(quarterName(q)));
    }
    return out;
}

QString periodName(Period period, QStringView monthDigits)
{
    const int month = monthNumber(monthDigits);
    if (month == 0)
        return {};
    switch (period) {
    case Period::Month:
        return QString::fromUtf16(kMonths[month - 1]);
    case Period::Quarter:
        return quarterName((month - 1) / 3);
    case Period::Year:
        break;
    }
    return {};
}

QString designHeading(Period period)
{
    switch (period) {
    case Period::Month:
        return QStringLiteral("Fatture emesse nel mese.");
    case Period::Quarter:
        return QStringLiteral("Fatture emesse nel trimestre.");
    case Period::Year:
        break;
    }
    return QStringLiteral("Fatture proforma emesse nell'anno solare.");
}

QString heading(Period period, QStringView choice, QStringView year)
{
    switch (period) {
    case Period::Month:
        return QStringLiteral("Fatture proforma emesse nel mese di ") + lowerAscii(choice) + u' ' + year;
    case Period::Quarter:
        return QStringLiteral("Fatture proforma emesse nel trimestre di ") + lowerAscii(choice) + u' ' + year;
    case Period::Year:
        break;
    }
    return QStringLiteral("Fatture proforma emesse nell'anno ") + year;
}

Summary summarise(const QString& path, Period period, QStringView choice, QStringView year,
                  Progress* progress)
{
    Summary s;
    const QString wantedPeriod = lowerAscii(trimmed(choice));
    const QString wantedYear = trimmed(year);
    ArchiveFile file(path, InvoiceRecord::Size);
    if (!file.open(ArchiveFile::Access::Read))
        return s;
    // Whether a month (0 for none) falls in the chosen period, worked out once for the thirteen.
    std::array<bool, 13> inPeriod{};
    for (int m = 0; m <= 12; ++m) {
        const QString digits = QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
        inPeriod[size_t(m)] = period == Period::Year || periodName(period, digits) == wantedPeriod;
    }
    if (period == Period::Year)
        s.lines.reserve(size_t(file.count()));
    const bool read = file.forEach(
        [&](qint64 index, const char* record) {
            const RecordFields::FieldText date(record, InvoiceRecord::layout().fields[size_t(Data)]);
            if (date.isEmpty())
                return true;
            s.anyDated = true;
            const DateViews parts = dateViews(date.view());
            if (!inPeriod[size_t(monthNumber(parts.month))])
                return true;
            if (parts.year != wantedYear)
                return true;
            s.lines.push_back({InvoiceLists::listLine(record), index});
            const auto taxable = amount(record, TotImponibile);
            const auto tax = amount(record, TotImposta);
            const auto exempt = amount(record, TotEsente);
            const auto total = amount(record, TotFattura);
            if (!taxable || !tax || !exempt || !total) {
                s.unreadable.append(field(record, NumFatt));
                return true;
            }
            s.totals.taxable += *taxable;
            s.totals.tax += *tax;
            s.totals.exempt += *exempt;
            s.totals.total += *total;
            return true;
        },
        progress);
    s.complete = file.close() && read;
    return s;
}

QString totalText(double value)
{
    return QStringLiteral("€ ") + completeToTwoDecimals(formatNumber(roundTo(value, 4)));
}

QString countText(qsizetype invoices)
{
    return QStringLiteral("Il presente riepilogo contiene ") + QString::number(invoices) +
           QStringLiteral(" fatture proforma.");
}

QString initialCountText()
{
    return QStringLiteral("Il presente riepilogo contiene 0 fatture.");
}

QString printTitle(QStringView headingShown)
{
    return QStringLiteral("Tipologia riepilogo: ") + trimmedView(headingShown);
}

QStringList trailer(QStringView taxable, QStringView tax, QStringView exempt, QStringView total)
{
    return {QString(26, u'-'), QStringLiteral("Imponibile:   ") + trimmedView(taxable),
            QStringLiteral("Imposta:      ") + trimmedView(tax),
            QStringLiteral("Esente:       ") + trimmedView(exempt),
            QStringLiteral("TOTALE:       ") + trimmedView(total)};
}

QString unreadableMessage(const QStringList& numbers)
{
    return QStringLiteral("Attenzione: gli importi delle seguenti fatture non sono numeri validi e non sono "
                          "compresi nei totali del riepilogo: ") +
           numbersList(numbers) + u'.';
}

} // namespace tarvello::InvoiceSummary

namespace tarvello::InvoiceStatistics
{

using namespace InvoiceRecord;

MonthlyTakings monthlyTakings(const QString& path, QStringView year)
{
    MonthlyTakings t;
    const QString wantedYear = trimmed(year);
    const RecordLayout& layout = InvoiceRecord::layout();
    ArchiveFile file(path, InvoiceRecord::Size);
    if (!file.open(ArchiveFile::Access::Read))
        return t;
    std::array<double, months> sums{};
    const bool read = file.forEach([&](qint64, const char* record) {
        const RecordFields::FieldText date(record, layout.fields[size_t(Data)]);
        const InvoiceSummary::DateViews parts = InvoiceSummary::dateViews(date.view());
        if (parts.year != wantedYear)
            return true;
        const int month = InvoiceSummary::monthNumber(parts.month);
        if (month == 0)
            return true;
        const RecordFields::FieldText total(record, layout.fields[size_t(TotFattura)]);
        if (total.isEmpty())
            return true;
        if (const std::optional<double> value = RecordFields::number(total.view()))
            sums[size_t(month - 1)] += *value;
        else
            t.unreadable.append(decodeField(record, layout.fields[size_t(NumFatt)]));
        return true;
    });
    t.complete = file.close() && read;
    for (int m = 0; m < months; ++m)
        t.values[size_t(m)] = roundTo(sums[size_t(m)], 0);
    return t;
}

QString valueText(double value)
{
    return formatNumber(roundTo(value, 0) + 0.0); // + 0.0 turns a negative zero into a zero
}

const std::array<MonthPoint, months>& monthPoints()
{
    // clang-format off
    static const std::array<MonthPoint, months> points = {{
        {u"Gennaio",   u"memGennaio",   0xFFFF0000},
        {u"Febbraio",  u"memFebbraio",  0xFF0000FF},
        {u"Marzo",     u"memMarzo",     0xFFFFE4C4},
        {u"Aprile",    u"memAprile",    0xFFFF00FF},
        {u"Maggio",    u"memMaggio",    0xFFC0DCC0},
        {u"Giugno",    u"memGiugno",    0xFFFFFF00},
        {u"Luglio",    u"memLuglio",    0xFF00FF00},
        {u"Agosto",    u"memAgosto",    0xFFC0C0C0},
        {u"Settembre", u"memSettembre", 0xFFF0FBFF},
        {u"Ottobre",   u"memOttobre",   0xFF87CEEB},
        {u"Novembre",  u"memNovembre",  0xFF800000},
        {u"Dicembre",  u"memDicembre",  0xFF008000},
    }};
    // clang-format on
    return points;
}

int copiesFrom(QStringView typed)
{
    const QStringView text = trimmedView(typed);
    if (text.isEmpty())
        return 1;
    int copies = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return 1;
        copies = std::min(999, copies * 10 + (c.unicode() - u'0'));
    }
    return copies;
}

QString title()
{
    return QStringLiteral("Statistiche incassi mensili");
}

QString foot()
{
    return QStringLiteral("Tutti gli importi sono arrotondati all'euro");
}

QString legendTitle()
{
    return QStringLiteral("Incassi:");
}

QString heading(QStringView year)
{
    return QStringLiteral("Rappresentazione grafica delle fatture emesse nell'anno ") + year + u'.';
}

QString unreadableMessage(const QStringList& numbers)
{
    QStringList shown;
    for (const QString& n : numbers)
        shown.append(QStringLiteral("n. ") + (n.isEmpty() ? QStringLiteral("(senza numero)") : n));
    return QStringLiteral("Attenzione: il totale delle seguenti fatture non è un numero valido e non è "
                          "compreso nel grafico: ") +
           shown.join(QStringLiteral(", ")) + u'.';
}

} // namespace tarvello::InvoiceStatistics

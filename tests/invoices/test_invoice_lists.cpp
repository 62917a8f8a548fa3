// The invoice lists and summaries on a small year of invoices whose expected figures are worked
// out by hand below: first what they find and add up without any window (list lines, criteria,
// the unpaid selection, period totals, the monthly takings), then the invoice screen's lists,
// driven through key and mouse events: the search and the unpaid list with the invoice opened by
// a double click (and saved in place), the three summaries with their totals and print, and the
// export of the year as Fatture.xls.

#include "archive/archivefile.h"
#include "core/win1252.h"
#include "files.h"
#include "invoices/expfatture.h"
#include "invoices/fatture.h"
#include "invoices/invoicelists.h"
#include "invoices/invoicesummary.h"
#include "invoices/listwindows.h"
#include "invoices/riepiloghi.h"
#include "invoices/sospese.h"
#include "invoices/trovafatture.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "shell/conventions.h"
#include "shell/longwork.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>
#include <QToolButton>

#include <array>

using namespace tarvello;
namespace IR = tarvello::InvoiceRecord;
namespace IS = tarvello::InvoiceSummary;
namespace ST = tarvello::InvoiceStatistics;

namespace
{

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

struct Invoice {
    const char16_t* number;
    const char16_t* date;
    const char16_t* customer;
    const char16_t* taxable;
    const char16_t* tax;
    const char16_t* exempt;
    const char16_t* total;
    const char16_t* paid;
    const char16_t* town = u"";
};

// clang-format off
// The year 2022 as its file holds it, in file order.
const Invoice kYear[] = {
    //  n.     date            customer          taxable   tax      exempt   total     paid    town
    {u"1", u"05/03/2022", u"Rossi Mario",   u"100,00", u"22,00", u"0,00",  u"122,00", u"No", u"Napoli"},
    {u"2", u"20/03/2022", u"Bianchi Srl",   u"10,10",  u"2,22",  u"0,00",  u"12,32",  u"Sì", u"Roma"},
    {u"3", u"28/02/2022", u"Verdi & Co",    u"0,00",   u"0,00",  u"20,20", u"20,20",  u"No", u"NAPOLI"},
    {u"4", u"10/07/2022", u"ROSSINI Luca",  u"20,20",  u"4,44",  u"5,00",  u"29,64",  u"Sì", u"Milano"},
    {u"5", u"31/12/2021", u"Gialli Ugo",    u"50,00",  u"11,00", u"0,00",  u"61,00",  u"No", u"Napoli"},
    {u"6", u"",           u"Neri Eva",      u"1,00",   u"0,22",  u"0,00",  u"1,22",   u"No", u"Napoli"},
    {u"7", u"5/3/2022",   u"Rossi Bruno",   u"2,00",   u"0,44",  u"0,00",  u"2,44",   u"Sì", u"Napoli"},
    {u"8", u"01/12/2022", u"De Rossi Pia",  u"0,40",   u"0,09",  u"0,00",  u"0,49",   u"No", u"Bari"},
};
// clang-format on

void writeYear(const QString& path, std::span<const Invoice> invoices)
{
    ArchiveFile file(path, IR::Size);
    QVERIFY(file.open());
    Record rec(IR::layout());
    for (const Invoice& i : invoices) {
        rec.clear();
        rec.setText(IR::NumFatt, u(i.number));
        rec.setText(IR::Data, u(i.date));
        rec.setText(IR::Cliente, u(i.customer));
        rec.setText(IR::CittaCliente, u(i.town));
        rec.setText(IR::TotImponibile, u(i.taxable));
        rec.setText(IR::TotImposta, u(i.tax));
        rec.setText(IR::TotEsente, u(i.exempt));
        rec.setText(IR::TotFattura, u(i.total));
        rec.setText(IR::PercIva, u(u"22"));
        rec.setText(IR::Saldata, u(i.paid));
        for (int row = 1; row <= IR::Rows; ++row)
            rec.setText(IR::rowField(IR::Es, row), u(u"No"));
        QVERIFY(file.seek(file.count()));
        QVERIFY(file.write(rec.bytes()));
    }
}

// The records (from 0) the lines come from, in the order listed.
QList<qint64> records(const std::vector<ResultEntry>& lines)
{
    QList<qint64> out;
    for (const ResultEntry& e : lines)
        out.append(e.record);
    return out;
}

QList<double> months(const std::array<double, 12>& values)
{
    return QList<double>(values.begin(), values.end());
}

Record recordAt(const QString& path, qint64 index)
{
    return Record(IR::layout(), recordBytes(path, index, IR::Size));
}

qint64 recordCount(const QString& path)
{
    return QFileInfo(path).size() / IR::Size;
}

void doubleClickRow(ResultList* list, int row)
{
    QVERIFY(row >= 0 && row < list->count());
    const QRect r = list->visualRect(list->model()->index(row, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

QStringList L(std::initializer_list<const char16_t*> texts)
{
    QStringList out;
    for (const char16_t* text : texts)
        out.append(QString::fromUtf16(text));
    return out;
}

using Criteria = QList<std::pair<QString, QString>>;
using Typed = QList<std::pair<int, QString>>; // criterion index, text

QStringList numbersListed(const ResultList* list)
{
    QStringList out;
    for (const QString& line : list->lines())
        out.append(line.mid(9, 25).section(u' ', 0, 0));
    return out;
}

} // namespace

class InvoiceListsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmFatture* s = nullptr;

    QString file() const { return t->path(QStringLiteral("2022.fat")); }

    void openYear(const QString& year)
    {
        auto* menu = static_cast<TfrmMenuFatture*>(t->window(QStringLiteral("frmMenuFatture")));
        menu->show();
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(year);
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        s = static_cast<TfrmFatture*>(t->window(QStringLiteral("frmFatture")));
        QApplication::setActiveWindow(s);
    }

    template <class W> void onDialog(const QString& name, std::function<void(W&)> body)
    {
        t->services.modal.insert(name, [body](QDialog& d) {
            if (auto* w = qobject_cast<W*>(&d))
                body(*w);
            else
                QTest::qFail("unexpected window class", __FILE__, __LINE__);
            return d.result();
        });
    }

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<TestProgram>();
        writeYear(file(), kYear);
        openYear(QStringLiteral("2022"));
    }
    void cleanup()
    {
        s = nullptr;
        t.reset();
    }

    // ---------------------------------------------------------------- without a window

    void aListLineFillsOrCutsEachFieldToItsWidth()
    {
        Record rec(IR::layout());
        rec.setText(IR::NumFatt, u(u"12/2024"));
        rec.setText(IR::Data, u(u"05/03/2024"));
        rec.setText(IR::Cliente, u(u"Società Cooperativa Agricola del Rubicone"));
        rec.setText(IR::IvaCliente, u(u"01234567890"));
        rec.setText(IR::Riferimenti, u(u"Ordine 7"));
        rec.setText(IR::TotFattura, u(u"1234,50"));
        const QString expected = u(u"Fatt. n. ") + u(u"12/2024 del 05/03/2024").leftJustified(25) + u(u"  ") +
                                 u(u"Società Cooperativa Agricola del Ru") + u(u"  P.I. ") +
                                 u(u"01234567890") + u(u"  Rif. ") + u(u"Ordine 7").leftJustified(35) +
                                 u(u"  Tot. € 1234,50");
        QCOMPARE(InvoiceLists::listLine(rec.bytes().constData()), expected);
        QCOMPARE(expected.size(), 9 + 25 + 2 + 35 + 7 + 11 + 7 + 35 + 9 + 7);
    }

    void searchCriteriaAllMustMatchIgnoringTheCaseOfAToZ_data()
    {
        QTest::addColumn<Typed>("typed");
        QTest::addColumn<QList<qint64>>("found");
        QTest::newRow("no criteria: every invoice in file order")
            << Typed{} << QList<qint64>{0, 1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("blank criteria are not tested")
            << Typed{{2, u(u"   ")}} << QList<qint64>{0, 1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("customer and town")
            << Typed{{2, u(u"rossi")}, {4, u(u"napoli")}} << QList<qint64>{0, 6};
        QTest::newRow("a month of a year by its date text")
            << Typed{{1, u(u"03/2022")}} << QList<qint64>{0, 1};
        QTest::newRow("the text as typed, blanks included")
            << Typed{{2, u(u"rossi ")}} << QList<qint64>{0, 6, 7};
        QTest::newRow("nothing matches") << Typed{{0, u(u"99")}} << QList<qint64>{};
    }
    void searchCriteriaAllMustMatchIgnoringTheCaseOfAToZ()
    {
        QFETCH(Typed, typed);
        QFETCH(QList<qint64>, found);
        std::array<QString, InvoiceLists::criterionCount> criteria;
        for (const auto& [index, text] : typed)
            criteria[size_t(index)] = text;
        const auto lines = InvoiceLists::findInvoices(file(), InvoiceLists::Matcher(criteria));
        QVERIFY(lines.has_value());
        QCOMPARE(records(*lines), found);
    }

    void unpaidInvoicesAreThoseMarkedNo()
    {
        // A flag a damaged or foreign record may hold is not "No": such an invoice is not listed.
        const Invoice odd[] = {{u"30", u"01/01/2022", u"X", u"", u"", u"", u"1,00", u""},
                               {u"31", u"01/01/2022", u"Y", u"", u"", u"", u"1,00", u"no"}};
        writeYear(file(), odd);
        const InvoiceLists::UnpaidList unpaid = InvoiceLists::unpaidInvoices(file());
        QVERIFY(unpaid.complete);
        QCOMPARE(records(unpaid.lines), (QList<qint64>{0, 2, 4, 5, 7}));
        QVERIFY(unpaid.lines[0].text.startsWith(u(u"Fatt. n. 1 del 05/03/2022")));
    }

    void periodsHoldTheirInvoicesAndTotals_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QList<qint64>>("listed");
        QTest::addColumn<QStringList>("totals"); // taxable, tax, exempt, total
        QTest::addColumn<QString>("heading");
        const auto row = [](IS::Period period, const char16_t* choice, QList<qint64> listed,
                            std::initializer_list<const char16_t*> totals, const char16_t* heading) {
            QTest::newRow(qPrintable(u(choice).isEmpty() ? QStringLiteral("year") : u(choice)))
                << int(period) << u(choice) << listed << L(totals) << u(heading);
        };
        row(IS::Period::Month, u"MARZO", {0, 1}, {u"€ 110,10", u"€ 24,22", u"€ 0,00", u"€ 134,32"},
            u"Fatture proforma emesse nel mese di marzo 2022");
        row(IS::Period::Month, u"FEBBRAIO", {2}, {u"€ 0,00", u"€ 0,00", u"€ 20,20", u"€ 20,20"},
            u"Fatture proforma emesse nel mese di febbraio 2022");
        row(IS::Period::Month, u"DICEMBRE", {7}, {u"€ 0,40", u"€ 0,09", u"€ 0,00", u"€ 0,49"},
            u"Fatture proforma emesse nel mese di dicembre 2022");
        row(IS::Period::Quarter, u"GENNAIO, FEBBRAIO, MARZO", {0, 1, 2},
            {u"€ 110,10", u"€ 24,22", u"€ 20,20", u"€ 154,52"},
            u"Fatture proforma emesse nel trimestre di gennaio, febbraio, marzo 2022");
        row(IS::Period::Quarter, u"APRILE, MAGGIO, GIUGNO", {}, {u"€ 0,00", u"€ 0,00", u"€ 0,00", u"€ 0,00"},
            u"Fatture proforma emesse nel trimestre di aprile, maggio, giugno 2022");
        row(IS::Period::Quarter, u"LUGLIO, AGOSTO, SETTEMBRE", {3},
            {u"€ 20,20", u"€ 4,44", u"€ 5,00", u"€ 29,64"},
            u"Fatture proforma emesse nel trimestre di luglio, agosto, settembre 2022");
        row(IS::Period::Year, u"", {0, 1, 2, 3, 7}, {u"€ 130,70", u"€ 28,75", u"€ 25,20", u"€ 184,65"},
            u"Fatture proforma emesse nell'anno 2022");
    }
    void periodsHoldTheirInvoicesAndTotals()
    {
        QFETCH(int, period);
        QFETCH(QString, choice);
        QFETCH(QList<qint64>, listed);
        QFETCH(QStringList, totals);
        QFETCH(QString, heading);
        const IS::Summary summary = IS::summarise(file(), IS::Period(period), choice, u"2022");
        QVERIFY(summary.complete);
        QCOMPARE(records(summary.lines), listed);
        QCOMPARE((QStringList{IS::totalText(summary.totals.taxable), IS::totalText(summary.totals.tax),
                              IS::totalText(summary.totals.exempt), IS::totalText(summary.totals.total)}),
                 totals);
        QVERIFY(summary.anyDated);
        QCOMPARE(IS::heading(IS::Period(period), choice, u"2022"), heading);
    }

    void anAmountThatIsNotANumberIsListedAndNamedButNotSummed()
    {
        const Invoice broken[] = {
            {u"9", u"02/03/2022", u"Blu", u"abc", u"0,00", u"0,00", u"10,00", u"No"},
            {u"10", u"03/03/2022", u"Viola", u"", u"", u"", u"", u"No"},
        };
        writeYear(file(), broken);
        const IS::Summary summary = IS::summarise(file(), IS::Period::Month, u"MARZO", u"2022");
        QCOMPARE(records(summary.lines), (QList<qint64>{0, 1, 8, 9}));
        QCOMPARE(summary.unreadable, QStringList{u(u"9")});
        QCOMPARE(IS::totalText(summary.totals.total), u(u"€ 134,32")); // the empty invoice adds nothing
        QCOMPARE(
            IS::unreadableMessage(summary.unreadable),
            u(u"Attenzione: gli importi delle seguenti fatture non sono numeri validi e non sono compresi "
              u"nei totali del riepilogo: n. 9."));
    }

    void summaryTextsOfTotalsAndDates()
    {
        QCOMPARE(IS::totalText(10.10 + 20.20), u(u"€ 30,30"));
        QCOMPARE(IS::totalText(0), u(u"€ 0,00"));
        QCOMPARE(IS::totalText(1234.5), u(u"€ 1234,50"));
        QCOMPARE(IS::totalText(1.23456), u(u"€ 1,2346"));
        const IS::DateParts parts = IS::dateParts(u" 5/3/2022 ");
        QCOMPARE(parts.day, u(u"5/"));
        QCOMPARE(parts.month, u(u"/2"));
        QCOMPARE(parts.year, u(u"22"));
        QCOMPARE(IS::periodName(IS::Period::Month, u"/2"), QString());
        QCOMPARE(IS::periodName(IS::Period::Month, u"13"), QString());
        QCOMPARE(IS::periodName(IS::Period::Quarter, u"12"), u(u"ottobre, novembre, dicembre"));
        QCOMPARE(IS::choices(IS::Period::Month).size(), 12);
        QCOMPARE(IS::choices(IS::Period::Quarter).at(1), u(u"APRILE, MAGGIO, GIUGNO"));
        QCOMPARE(IS::trailer(u"€ 1,00", u"€ 0,22", u"€ 0,00", u"€ 1,22"),
                 (QStringList{QString(26, u'-'), u(u"Imponibile:   € 1,00"), u(u"Imposta:      € 0,22"),
                              u(u"Esente:       € 0,00"), u(u"TOTALE:       € 1,22")}));
    }

    void monthlyTakingsAreRoundedToTheEuro()
    {
        const ST::MonthlyTakings y2022 = ST::monthlyTakings(file(), u"2022");
        QVERIFY(y2022.complete);
        QCOMPARE(months(y2022.values), (QList<double>{0, 20, 134, 0, 0, 0, 30, 0, 0, 0, 0, 0}));
        QCOMPARE(months(ST::monthlyTakings(file(), u"2021").values),
                 (QList<double>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 61}));
        QCOMPARE(months(ST::monthlyTakings(file(), u"2019").values), QList<double>(12, 0));

        const Invoice march[] = {
            {u"20", u"11/03/2019", u"A", u"", u"", u"", u"12,50", u"No"},
            {u"21", u"12/03/2019", u"B", u"", u"", u"", u"20,40", u"No"},
            {u"22", u"12/04/2019", u"C", u"", u"", u"", u"0,49", u"No"},
            {u"23", u"12/05/2019", u"D", u"", u"", u"", u"0,50", u"No"},
            {u"24", u"12/06/2019", u"E", u"", u"", u"", u"x", u"No"},
        };
        writeYear(file(), march);
        const ST::MonthlyTakings y2019 = ST::monthlyTakings(file(), u"2019");
        QCOMPARE(months(y2019.values), (QList<double>{0, 0, 33, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(y2019.unreadable, QStringList{u(u"24")});
        QCOMPARE(ST::valueText(y2019.values[2]), u(u"33"));
        QCOMPARE(ST::valueText(0), u(u"0"));
    }

    void statisticsCopiesAndPoints_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("copies");
        const std::pair<const char16_t*, int> copies[] = {
            {u"1", 1}, {u" 3 ", 3}, {u"", 1}, {u"2a", 1}, {u"-2", 1}, {u"0", 0}, {u"99999999999", 999}};
        for (const auto& [typed, expected] : copies)
            QTest::addRow("\"%s\"", qPrintable(u(typed))) << u(typed) << expected;
    }
    void statisticsCopiesAndPoints()
    {
        QFETCH(QString, typed);
        QFETCH(int, copies);
        QCOMPARE(ST::copiesFrom(typed), copies);
        QCOMPARE(ST::monthPoints()[2].label, u"Marzo");
        QCOMPARE(ST::monthPoints()[2].colour, 0xFFFFE4C4u);
        QCOMPARE(ST::monthPoints()[11].holder, u"memDicembre");
    }

    // ---------------------------------------------------------------- the windows

    void theButtonsOpenTheirWindows()
    {
        for (PictureButton* b :
             {named<PictureButton>(s, u"cmdTrova"), named<PictureButton>(s, u"cmdSospese"),
              named<PictureButton>(s, u"cmdEsporta"), named<PictureButton>(s, u"cmdRiepMensile"),
              named<PictureButton>(s, u"cmdRiepTrimestrale"), named<PictureButton>(s, u"cmdRiepAnnuale")})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        QTest::mouseClick(named<PictureButton>(s, u"cmdSospese"), Qt::LeftButton);
        QTest::mouseClick(named<PictureButton>(s, u"cmdRiepAnnuale"), Qt::LeftButton);
        QCOMPARE(t->services.modalShown, (QStringList{u(u"frmSospese"), u(u"frmRiepAnnuale")}));
    }

    void searchListsMatchesAndOpensTheChosenInvoiceForSavingInPlace_data()
    {
        QTest::addColumn<Criteria>("criteria");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<int>("chosen"); // the line double-clicked
        QTest::newRow("none: the whole file")
            << Criteria{} << L({u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"}) << 2;
        QTest::newRow("customer and town")
            << Criteria{{u(u"txtCliente"), u(u"rossi")}, {u(u"txtCittaCliente"), u(u"NAP")}}
            << L({u"1", u"7"}) << 1;
        QTest::newRow("a month by its date")
            << Criteria{{u(u"txtData"), u(u"03/2022")}} << L({u"1", u"2"}) << 1;
    }
    void searchListsMatchesAndOpensTheChosenInvoiceForSavingInPlace()
    {
        QFETCH(Criteria, criteria);
        QFETCH(QStringList, numbers);
        QFETCH(int, chosen);
        onDialog<TfrmTrovaFatture>(u(u"frmTrovaFatture"), [&](TfrmTrovaFatture& w) {
            QCOMPARE(named<QLabel>(&w, u"lblMemory")->text(), u(u"fatture"));
            QVERIFY(named<QWidget>(&w, u"panAvvio")->isVisible());
            for (const auto& [name, text] : criteria) {
                auto* field = w.findChild<QLineEdit*>(name);
                QVERIFY(field);
                QCOMPARE(field->font().pointSize(), 12); // the criteria in Verdana 12 bold
                QVERIFY(field->font().bold());
                QTest::keyClicks(field, text);
            }
            QTest::mouseClick(named<QPushButton>(&w, u"btnCerca"), Qt::LeftButton);
            QVERIFY(named<QWidget>(&w, u"panContainer")->isVisible());
            QCOMPARE(numbersListed(named<ResultList>(&w, u"lstRecords")), numbers);
            QCOMPARE(named<QLabel>(&w, u"lblTrovate")->text(),
                     u"Il presente elenco contiene " + QString::number(numbers.size()) + u" schede.");
            doubleClickRow(named<ResultList>(&w, u"lstRecords"), chosen);
        });
        QTest::mouseClick(named<PictureButton>(s, u"cmdTrova"), Qt::LeftButton);
        const int index = numbers[chosen].toInt() - 1;
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QString::number(index + 1));
        QCOMPARE(named<QLineEdit>(s, u"txtCliente")->text(), u(kYear[index].customer));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(), u(kYear[index].total));

        named<QLineEdit>(s, u"txtRiferimenti")->setText(u(u"Rivista"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(recordCount(file()), qint64(std::size(kYear)));
        QCOMPARE(recordAt(file(), index).text(IR::Riferimenti), u(u"Rivista"));
    }

    void anEmptySearchResultCannotBeSearchedAndPrintsItsTitle()
    {
        t->services.printToPdf = t->path(QStringLiteral("elenco.pdf"));
        onDialog<TfrmTrovaFatture>(u(u"frmTrovaFatture"), [&](TfrmTrovaFatture& w) {
            QTest::keyClicks(named<QLineEdit>(&w, u"txtNumFatt"), u(u"99"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnCerca"), Qt::LeftButton);
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 0);
            QTest::keyClicks(named<QLineEdit>(&w, u"txtTrova"), u(u"x"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QCOMPARE(t->services.lastMessage(),
                     u(u"Ricerca non applicabile: la lista non contiene nessuna voce."));
            QTest::mouseClick(named<QPushButton>(&w, u"btnStampa"), Qt::LeftButton);
        });
        QTest::mouseClick(named<PictureButton>(s, u"cmdTrova"), Qt::LeftButton);
        QCOMPARE(t->services.printDialogs, 1);
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {t->services.printToPdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished());
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains(u(u"Riepilogo fatture emesse")));
    }

    void unpaidInvoicesAreListedAndOneIsMarkedPaid()
    {
        onDialog<TfrmSospese>(u(u"frmSospese"), [&](TfrmSospese& w) {
            QCOMPARE(numbersListed(named<ResultList>(&w, u"lstRecords")),
                     (L({u"1", u"3", u"5", u"6", u"8"})));
            QTest::keyClicks(named<QLineEdit>(&w, u"txtTrova"), u(u"verdi"));
            QTest::keyClick(named<QLineEdit>(&w, u"txtTrova"), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(named<QPushButton>(&w, u"btnTrova")));
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->currentRow(), 1);
            doubleClickRow(named<ResultList>(&w, u"lstRecords"), 1);
        });
        QTest::mouseClick(named<PictureButton>(s, u"cmdSospese"), Qt::LeftButton);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), u(u"3"));
        QCOMPARE(named<QLineEdit>(s, u"txtCliente")->text(), u(u"Verdi & Co"));
        QVERIFY(!named<QCheckBox>(s, u"chkSaldata")->isChecked());
        QTest::mouseClick(named<QCheckBox>(s, u"chkSaldata"), Qt::LeftButton);
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(recordCount(file()), qint64(std::size(kYear)));
        QCOMPARE(recordAt(file(), 2).text(IR::Saldata), u(u"Sì"));

        onDialog<TfrmSospese>(u(u"frmSospese"), [&](TfrmSospese& w) {
            QCOMPARE(numbersListed(named<ResultList>(&w, u"lstRecords")), (L({u"1", u"5", u"6", u"8"})));
        });
        QTest::mouseClick(named<PictureButton>(s, u"cmdSospese"), Qt::LeftButton);
    }

    void summariesShowTheirInvoicesAndTotalsAndPrintThem_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QString>("heading");
        QTest::newRow("March") << u(u"frmRiepMensile") << 2 << L({u"1", u"2"})
                               << L({u"€ 110,10", u"€ 24,22", u"€ 0,00", u"€ 134,32"})
                               << u(u"Fatture proforma emesse nel mese di marzo 2022");
        QTest::newRow("June") << u(u"frmRiepMensile") << 5 << QStringList()
                              << L({u"€ 0,00", u"€ 0,00", u"€ 0,00", u"€ 0,00"})
                              << u(u"Fatture proforma emesse nel mese di giugno 2022");
        QTest::newRow("first quarter")
            << u(u"frmRiepTrimestrale") << 0 << L({u"1", u"2", u"3"})
            << L({u"€ 110,10", u"€ 24,22", u"€ 20,20", u"€ 154,52"})
            << u(u"Fatture proforma emesse nel trimestre di gennaio, febbraio, marzo 2022");
        QTest::newRow("year") << u(u"frmRiepAnnuale") << -1 << L({u"1", u"2", u"3", u"4", u"8"})
                              << L({u"€ 130,70", u"€ 28,75", u"€ 25,20", u"€ 184,65"})
                              << u(u"Fatture proforma emesse nell'anno 2022");
    }
    void summariesShowTheirInvoicesAndTotalsAndPrintThem()
    {
        QFETCH(QString, window);
        QFETCH(int, choice);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, totals);
        QFETCH(QString, heading);
        t->services.printToPdf = t->path(QStringLiteral("riepilogo.pdf"));
        onDialog<TfrmRiepilogo>(window, [&](TfrmRiepilogo& w) {
            const auto text = [&w](QStringView label) { return named<QLabel>(&w, label)->text(); };
            if (choice >= 0) {
                QCOMPARE(text(u"lblAnno"), u(u"2022"));
                QVERIFY(named<QWidget>(&w, u"panSelezione")->isVisible());
                auto* period = named<QComboBox>(&w, u"cboSelezione");
                period->setFocus();
                for (int i = 0; i < choice; ++i)
                    QTest::keyClick(period, Qt::Key_Down);
                QTest::mouseClick(named<QPushButton>(&w, u"btnVisualizza"), Qt::LeftButton);
            }
            QVERIFY(named<QWidget>(&w, u"panContainer")->isVisible());
            QCOMPARE(numbersListed(named<ResultList>(&w, u"lstRecords")), numbers);
            QCOMPARE((QStringList{text(u"lblTotImponibile"), text(u"lblTotImposta"), text(u"lblTotEsente"),
                                  text(u"lblTotale")}),
                     totals);
            QCOMPARE(text(u"titTipologia"), heading);
            QCOMPARE(text(u"panInfo"), u"Il presente riepilogo contiene " + QString::number(numbers.size()) +
                                           u" fatture proforma.");
            QTest::mouseClick(named<QPushButton>(&w, u"btnStampa"), Qt::LeftButton);
        });
        QTest::mouseClick(s->findChild<QToolButton*>(u"cmd" + window.mid(3)), Qt::LeftButton);
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), t->services.printToPdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished());
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(u"Tipologia riepilogo: " + heading), qPrintable(text));
        QVERIFY2(text.contains(u(u"TOTALE:       ") + totals[3]), qPrintable(text));
        QVERIFY(text.contains(QString(26, u'-')));
    }

    // The year's file with thousands more copies of its first invoice (unpaid, of March).
    void manyMoreOfTheFirstInvoice()
    {
        QVERIFY(appendToFile(file(), recordBytes(file(), 0, IR::Size).repeated(3 * int(Progress::step))));
    }

    // A user who clicks Interrompi as soon as a window shows its progress, counting the stops.
    static void stopWhatShowsProgress(QTimer& user, int& stops)
    {
        user.setInterval(1);
        QObject::connect(&user, &QTimer::timeout, [&stops] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* panel = window->findChild<ProgressPanel*>(QStringLiteral("panProgresso"));
                if (panel && panel->isVisible() && !panel->property("fermato").toBool()) {
                    panel->setProperty("fermato", true); // one click is enough
                    ++stops;
                    QTest::mouseClick(panel->stopButton(), Qt::LeftButton);
                }
            }
        });
        user.start();
    }

    // The unpaid invoices of a large year show their progress and can be stopped: the list then
    // stays empty, without a word, rather than show part of the year.
    void stoppingTheUnpaidListLeavesItEmpty()
    {
        manyMoreOfTheFirstInvoice();
        ProgressPanel::setShowAfterMs(0);
        const auto restore = qScopeGuard([] { ProgressPanel::setShowAfterMs(500); });
        int stops = 0;
        QTimer user;
        onDialog<TfrmSospese>(QStringLiteral("frmSospese"), [&](TfrmSospese& w) {
            QCOMPARE(stops, 1);
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 0);
        });
        stopWhatShowsProgress(user, stops);
        const int messages = int(t->services.messages.size());
        QTest::mouseClick(named<PictureButton>(s, u"cmdSospese"), Qt::LeftButton);
        QCOMPARE(int(t->services.messages.size()), messages);
    }

    // A summary of many invoices, and the printing of a list, show their progress over the
    // window and can be stopped: a stopped summary leaves the list and totals shown before, a
    // stopped printing into a PDF leaves the earlier file, and neither says anything.
    void stoppingASummaryOrItsPrintingChangesNothing()
    {
        const QString pdf = t->path(QStringLiteral("riepilogo.pdf"));
        t->services.printToPdf = pdf;
        QVERIFY(writeFile(pdf, "stampa precedente"));
        ProgressPanel::setShowAfterMs(0);
        const auto restore = qScopeGuard([] { ProgressPanel::setShowAfterMs(500); });
        onDialog<TfrmRiepilogo>(QStringLiteral("frmRiepMensile"), [&](TfrmRiepilogo& w) {
            named<QComboBox>(&w, u"cboSelezione")->setCurrentIndex(2); // March
            QTest::mouseClick(named<QPushButton>(&w, u"btnVisualizza"), Qt::LeftButton);
            QCOMPARE(numbersListed(named<ResultList>(&w, u"lstRecords")), L({u"1", u"2"}));

            // Many more March invoices, with a user ready to stop what shows its progress.
            manyMoreOfTheFirstInvoice();
            int stops = 0;
            QTimer user;
            stopWhatShowsProgress(user, stops);
            const int messages = int(t->services.messages.size());
            QTest::mouseClick(named<QPushButton>(&w, u"btnVisualizza"), Qt::LeftButton);
            QCOMPARE(stops, 1);
            QCOMPARE(numbersListed(named<ResultList>(&w, u"lstRecords")), L({u"1", u"2"}));
            QCOMPARE(named<QLabel>(&w, u"lblTotale")->text(), u(u"€ 134,32"));

            QTest::mouseClick(named<QPushButton>(&w, u"btnStampa"), Qt::LeftButton);
            QCOMPARE(stops, 2);
            QCOMPARE(int(t->services.messages.size()), messages);
        });
        QTest::mouseClick(s->findChild<QToolButton*>(QStringLiteral("cmdRiepMensile")), Qt::LeftButton);
        QCOMPARE(fileBytes(pdf), QByteArray("stampa precedente"));
    }

    // The one figure these lists are opened for, each invoice's total, is in sight without a
    // sideways scroll on the screens people use: the line whole where the window can be wide
    // enough, its total against the list's right edge where it cannot.
    void everyTotalIsInSight_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("screen"); // its work area: a desktop panel takes some height
        QTest::addColumn<bool>("wholeLines");
        for (const char* window : {"frmSospese", "frmRiepAnnuale", "frmTrovaFatture"}) {
            QTest::addRow("%s, 1366x768", window) << QString::fromLatin1(window) << QSize(1366, 740) << false;
            QTest::addRow("%s, 1920x1080", window)
                << QString::fromLatin1(window) << QSize(1920, 1050) << true;
        }
    }
    void everyTotalIsInSight()
    {
        QFETCH(QString, window);
        QFETCH(QSize, screen);
        QFETCH(bool, wholeLines);
        // Long names and references fill every column up to the total.
        ArchiveFile file(t->path(QStringLiteral("2026.fat")), IR::Size);
        QVERIFY(file.open());
        Record rec(IR::layout());
        const QString totals[] = {u(u"7,00"), u(u"44,29"), u(u"123456,78")};
        for (int i = 0; i < 3; ++i) {
            rec.clear();
            rec.setText(IR::NumFatt, QString(QString::number(100 + i) + QStringLiteral("/2026")));
            rec.setText(IR::Data, QStringLiteral("10/03/2026"));
            rec.setText(IR::Cliente, QStringLiteral("Autotrasporti Neri e Figli S.r.l. di Forli"));
            rec.setText(IR::IvaCliente, QStringLiteral("01234567890"));
            rec.setText(IR::Riferimenti, QStringLiteral("Ordine del 2 marzo, consegna in cantiere"));
            rec.setText(IR::TotFattura, totals[i]);
            rec.setText(IR::Saldata, QStringLiteral("No"));
            QVERIFY(file.write(rec.bytes()));
        }
        file.close();
        openYear(QStringLiteral("2026"));

        bool checked = false;
        t->services.modal.insert(window, [&](QDialog& d) {
            [&] {
                auto* list = d.findChild<ResultList*>(QStringLiteral("lstRecords"));
                const QSize design = window == u"frmRiepAnnuale" ? QSize(1016, 713) : QSize(862, 560);
                InvoiceListWindows::keepTotalsInView(&d, list, design, screen);
                QVERIFY(d.width() <= screen.width() && d.height() <= screen.height());
                if (auto* search = qobject_cast<TfrmTrovaFatture*>(&d))
                    QTest::mouseClick(named<QPushButton>(search, u"btnCerca"),
                                      Qt::LeftButton); // every invoice
                QTest::qWait(0);
                QCOMPARE(list->count(), 3);
                const QFontMetrics metrics(list->font(), list->viewport());
                for (int row = 0; row < list->count(); ++row) {
                    const QRect end = list->endRect(row);
                    const QString total = u(u"Tot. € ") + totals[row];
                    QCOMPARE(end.width(), metrics.horizontalAdvance(total));
                    QVERIFY2(end.left() >= 0 && end.right() < list->viewport()->width(),
                             qPrintable(QStringLiteral("%1: %2..%3 of %4")
                                            .arg(row)
                                            .arg(end.left())
                                            .arg(end.right())
                                            .arg(list->viewport()->width())));
                    // Where the whole line fits, it is shown whole, the total where the line puts it.
                    if (wholeLines) {
                        const QString line = list->lineText(row);
                        QVERIFY(metrics.horizontalAdvance(line) < list->viewport()->width());
                        const QRect item = list->visualRect(list->model()->index(row, 0));
                        QVERIFY(end.left() - item.left() >=
                                metrics.horizontalAdvance(line.left(list->endStart(line))));
                    }
                }
                checked = true;
            }();
            return 0;
        });
        PictureButton* opener = window == u"frmSospese"       ? named<PictureButton>(s, u"cmdSospese")
                                : window == u"frmRiepAnnuale" ? named<PictureButton>(s, u"cmdRiepAnnuale")
                                                              : named<PictureButton>(s, u"cmdTrova");
        QTest::mouseClick(opener, Qt::LeftButton);
        QVERIFY(checked);
    }

    void theYearIsExportedAsFattureXls()
    {
        // Three invoices give four rows: the header and one per invoice.
        writeYear(t->path(QStringLiteral("2023.fat")), std::span(kYear).first(3));
        openYear(QStringLiteral("2023"));
        onDialog<TfrmExpFatture>(u(u"frmExpFatture"), [&](TfrmExpFatture& w) {
            QCOMPARE(w.gridModel()->rowCount(), 3);
            QTest::mouseClick(named<PictureButton>(&w, u"cmdEsporta"), Qt::LeftButton);
        });
        QTest::mouseClick(named<PictureButton>(s, u"cmdEsporta"), Qt::LeftButton);
        const QByteArray doc = fileBytes(t->path(QStringLiteral("Fatture.xls")));
        QByteArray expected =
            "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
            "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" xmlns=\"http://www.w3.org/TR/REC-html40\">"
            "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
            "<!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
            "<x:Name>Riepilogo annuale fatture</x:Name>"
            "<x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
            "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes>"
            "<x:ProtectContents>False</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects>"
            "<x:ProtectScenarios>False</x:ProtectScenarios>"
            "</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook>"
            "</xml><![endif]--></head><body><table x:str><tr>";
        const std::pair<const char*, int> headers[] = {{"Fattura n.", 160},
                                                       {"Data emissione", 120},
                                                       {"Ditta emittente", 250},
                                                       {"Citt\xe0", 250},
                                                       {"Partita IVA", 150},
                                                       {"Codice fiscale", 150},
                                                       {"Cognome e nome Cliente", 250},
                                                       {"Via e numero civico", 250},
                                                       {"CAP", 70},
                                                       {"Citt\xe0", 250},
                                                       {"Prov.", 50},
                                                       {"Partita IVA Cliente", 150},
                                                       {"Codice fiscale Cliente", 150},
                                                       {"Riferimenti", 250},
                                                       {"Pagamento", 250},
                                                       {"Banca d'appoggio", 250},
                                                       {"IBAN", 250},
                                                       {"Totale imponibile", 150},
                                                       {"% IVA", 100},
                                                       {"Totale imposta", 150},
                                                       {"Totale IVA inclusa", 150},
                                                       {"Totale esente", 150},
                                                       {"TOTALE FATTURA", 150},
                                                       {"Note", 350},
                                                       {"Saldata", 100}};
        for (const auto& [text, width] : headers)
            expected +=
                "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) +
                ">" + text + "</td>";
        expected += "</tr>";
        const QByteArray left = "<td style=\"text-align: left;\">";
        const QByteArray right = "<td style=\"text-align: right;\">";
        // Invoice number, VAT numbers, tax codes, postcode and IBAN keep their digits as text.
        const QByteArray text =
            "<td sdnum=\"1040;0;@\" style=\"text-align: left; mso-number-format:&quot;\\@&quot;;\">";
        for (int i = 0; i < 3; ++i) {
            const Invoice& v = kYear[i];
            auto enc = [](const char16_t* text) { return toWin1252(QString::fromUtf16(text)); };
            expected += "<tr>" + text + enc(v.number) + "</td>" + left + enc(v.date) + "</td>";
            expected += left + "</td>" + left + "</td>" + text + "</td>" + text + "</td>";
            expected += left + (i == 2 ? QByteArray("Verdi &amp; Co") : enc(v.customer)) + "</td>";
            expected += left + "</td>" + text + "</td>" + left + enc(v.town) + "</td>";
            expected += left + "</td>" + text + "</td>" + text + "</td>" + left + "</td>" + left + "</td>" +
                        left + "</td>" + text + "</td>";
            expected += right + enc(v.taxable) + "</td>" + right + "22</td>" + right + enc(v.tax) + "</td>" +
                        right + "</td>" + right + enc(v.exempt) + "</td>" + right + enc(v.total) + "</td>";
            expected += left + "</td>" + left + enc(v.paid) + "</td></tr>";
        }
        expected += "</table></body></html>";
        QCOMPARE(doc, expected);
        QCOMPARE(doc.count("<tr>"), 4);
        QCOMPARE(doc.count("<td "), 4 * 25);
    }

    // Every single field of the invoice holds a text of its own, so a column filled from another
    // field (the customer's VAT number from the tax code, say) shows in the document.
    void exportCellsComeFromTheirOwnFields()
    {
        const RecordLayout& layout = IR::layout();
        Record rec(layout);
        QList<int> singleFields;
        for (int i = 0; i < int(layout.fields.size()); ++i)
            if (layout.fields[size_t(i)].row == 0)
                singleFields.append(i);
        for (int k = 0; k < singleFields.size(); ++k)
            rec.setText(singleFields[k], QString::number(10 + k)); // two digits fit even the province
        {
            ArchiveFile file(t->path(QStringLiteral("2023.fat")), IR::Size);
            QVERIFY(file.open());
            QVERIFY(file.write(rec.bytes()));
        }
        openYear(QStringLiteral("2023"));
        onDialog<TfrmExpFatture>(u(u"frmExpFatture"), [&](TfrmExpFatture& w) {
            QTest::mouseClick(named<PictureButton>(&w, u"cmdEsporta"), Qt::LeftButton);
        });
        QTest::mouseClick(named<PictureButton>(s, u"cmdEsporta"), Qt::LeftButton);

        // The document's columns in order, named by the field each is filled from.
        const char* columns[] = {
            "NumFatt",      "Data",       "Ditta",          "CittaDitta",  "IvaDitta",
            "CodFiscDitta", "Cliente",    "ViaCliente",     "CapCliente",  "CittaCliente",
            "ProvCliente",  "IvaCliente", "CodFiscCliente", "Riferimenti", "Pagamento",
            "Banca",        "Iban",       "TotImponibile",  "PercIva",     "TotImposta",
            "TotIva",       "TotEsente",  "TotFattura",     "Note",        "Saldata"};
        const QByteArray doc = fileBytes(t->path(QStringLiteral("Fatture.xls")));
        const QByteArray row = doc.mid(doc.indexOf("</tr><tr>") + 9);
        QStringList cells;
        static const QRegularExpression cell(QStringLiteral("<td[^>]*>([^<]*)</td>"));
        for (auto it = cell.globalMatch(QString::fromLatin1(row.left(row.indexOf("</tr>")))); it.hasNext();)
            cells.append(it.next().captured(1));
        QStringList expected;
        for (const char* name : columns)
            expected.append(
                QString::number(10 + singleFields.indexOf(layout.indexOf(QString::fromLatin1(name)))));
        QCOMPARE(cells, expected);
    }
};

TARVELLO_TEST_MAIN(InvoiceListsTest)
#include "test_invoice_lists.moc"

// The customer search, opened from the customer card and from the invoice screen, driven through
// key and mouse events: criteria, the sorted list, the line chosen, find, print, failures.

#include "cardtesting.h"
#include "customers/trovaclienti.h"
#include "invoices/fatture.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "pdftools.h"
#include "shell/conventions.h"
#include "shell/shellwindows.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace tarvello;
using namespace cardtesting;
namespace CR = tarvello::CustomerRecord;

namespace
{

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// Criteria as (field, typed text).
using Criteria = QList<std::pair<QString, QString>>;

// The name piece of each line, in list order.
QStringList names(const ResultList* list)
{
    QStringList out;
    for (const QString& line : list->lines())
        out.append(line.left(30).trimmed());
    return out;
}

int rowStartingWith(const ResultList* list, const QString& start)
{
    for (int r = 0; r < list->count(); ++r)
        if (list->lineText(r).startsWith(start))
            return r;
    return -1;
}

void doubleClickRow(ResultList* list, int row)
{
    QVERIFY(row >= 0);
    const QRect r = list->visualRect(list->model()->index(row, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// Runs `body` on the search window while it is open (the scripted services show it without
// blocking); a failed check inside ends the body, and the test then stops at checkBody().
void onSearch(TestProgram& t, std::function<void(TfrmTrovaClienti&)> body)
{
    t.services.modal.insert(QStringLiteral("frmTrovaClienti"), [body](QDialog& d) {
        if (auto* w = qobject_cast<TfrmTrovaClienti*>(&d))
            body(*w);
        else
            QTest::qFail("the search window is not a TfrmTrovaClienti", __FILE__, __LINE__);
        return d.result();
    });
}

// The five customers the criteria table searches, in file order.
QList<QByteArray> fiveCustomers()
{
    return {customer(u(u"Verdi"), u(u"Anna"), u(u"No"), {{CR::ComuneRes, u(u"Cesena")}}),
            customer(u(u"Rossi"), u(u"Mario"), u(u"No"), {{CR::ComuneRes, u(u"Forlì")}}),
            customer(u(u"ROSSINI"), u(u"Luca"), u(u"No"), {{CR::ComuneRes, u(u"Cesena")}}),
            customer(u(u"De Rossi"), u(u"Paolo"), u(u"No"), {{CR::ComuneRes, u(u"FORLÌ")}}),
            customer(u(u"Rossi Bianchi"), u(u"Carla"), u(u"No"), {{CR::ComuneRes, u(u"Forlimpopoli")}})};
}

} // namespace

class SearchTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmClienti* card = nullptr;

    QString archive() const { return t->path(CR::fileName()); }

    // Types the criteria (field name, text) and presses Cerca with the mouse.
    static void search(TfrmTrovaClienti& w, const Criteria& criteria)
    {
        for (const auto& [field, text] : criteria) {
            auto* edit = w.findChild<QLineEdit*>(field);
            QVERIFY2(edit, qPrintable(field));
            type(edit, text);
        }
        QTest::mouseClick(named<QPushButton>(&w, u"btnCerca"), Qt::LeftButton);
    }

    // Opens the invoice screen on a year through the invoice menu, as a user does.
    TfrmFatture* openInvoiceScreen()
    {
        auto* menu = static_cast<TfrmMenuFatture*>(t->window(QStringLiteral("frmMenuFatture")));
        menu->show();
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2026"));
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        auto* screen = static_cast<TfrmFatture*>(t->window(QStringLiteral("frmFatture")));
        QApplication::setActiveWindow(screen);
        return screen;
    }

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<TestProgram>();
        card = openCard(*t);
        QApplication::setActiveWindow(card);
    }
    void cleanup()
    {
        card = nullptr;
        t.reset();
    }

    void windowsAreCreatedInTheirPlaceAndTheButtonsWork()
    {
        QStringList order;
        for (QWidget* w : t->program->windows())
            order.append(w->objectName());
#ifdef TARVELLO_HAS_CHECKS
        const qsizetype vat = order.indexOf(QStringLiteral("frmPartitaIva"));
#else
        // Without the checks, the customers' windows follow the shell's at once.
        const qsizetype vat = order.indexOf(QStringLiteral("frmSplash"));
#endif
        QVERIFY(vat >= 0);
        QCOMPARE(order.mid(vat + 1, 4),
                 (QStringList{QStringLiteral("frmExpClienti"), QStringLiteral("frmTrovaClienti"),
                              QStringLiteral("frmRicontatta"), QStringLiteral("frmClienti")}));
        for (const char16_t* name : {u"frmTrovaClienti", u"frmRicontatta", u"frmExpClienti"})
            QVERIFY(t->program->hasDialog(QStringView(name)));
        QCOMPARE(t->window(QStringLiteral("frmTrovaClienti"))->windowTitle(),
                 u(u" Trova clienti in archivio"));
        QCOMPARE(t->window(QStringLiteral("frmRicontatta"))->windowTitle(),
                 u(u" Riepilogo clienti da ricontattare"));
        QCOMPARE(t->window(QStringLiteral("frmExpClienti"))->windowTitle(),
                 u(u" Esporta archivio clienti in Microsoft Excel"));

        // Each button of the card opens a new window of its own, in the card's mode.
        QVERIFY(named<PictureButton>(card, u"cmdTrova")->isEnabled());
        QVERIFY(named<PictureButton>(card, u"cmdRicontatta")->isEnabled());
        QVERIFY(named<PictureButton>(card, u"cmdEsporta")->isEnabled());
        QString mode;
        bool criteriaFirst = false, focusOnSurname = false;
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            mode = named<QLabel>(&w, u"lblMemory")->text();
            criteriaFirst = named<QWidget>(&w, u"panCriteri")->isVisible() &&
                            !named<QWidget>(&w, u"panRisultati")->isVisible() &&
                            !named<QLabel>(&w, u"lblAttendere")->isVisible();
            focusOnSurname = QApplication::focusWidget() == named<QLineEdit>(&w, u"txtCognome");
            QVERIFY(w.parentWidget() == card);
        });
        click(named<PictureButton>(card, u"cmdTrova"));
        click(named<PictureButton>(card, u"cmdRicontatta"));
        click(named<PictureButton>(card, u"cmdEsporta"));
        QCOMPARE(t->services.modalShown,
                 (QStringList{QStringLiteral("frmTrovaClienti"), QStringLiteral("frmRicontatta"),
                              QStringLiteral("frmExpClienti")}));
        QCOMPARE(mode, u(u"clienti"));
        QVERIFY(criteriaFirst);
        QVERIFY(focusOnSurname);
    }

    void criteriaFindTheRightCustomers_data()
    {
        QTest::addColumn<Criteria>("criteria");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QStringList>("found");
        using C = Criteria;
        const QString surname = QStringLiteral("txtCognome");
        const QString town = QStringLiteral("txtComuneRes");
        const QStringList everybody = {u(u"De Rossi Paolo"), u(u"Rossi Bianchi Carla"), u(u"Rossi Mario"),
                                       u(u"ROSSINI Luca"), u(u"Verdi Anna")};
        QTest::newRow("no criterion lists everybody, sorted") << C{} << u(u"0") << everybody;
        QTest::newRow("small letters find any case, anywhere")
            << C{{surname, u(u"ross")}} << u(u"1")
            << QStringList{u(u"De Rossi Paolo"), u(u"Rossi Bianchi Carla"), u(u"Rossi Mario"),
                           u(u"ROSSINI Luca")};
        QTest::newRow("a trailing blank needs the blank in the field")
            << C{{surname, u(u"rossi ")}} << u(u"1") << QStringList{u(u"Rossi Bianchi Carla")};
        QTest::newRow("blanks only are not a criterion") << C{{surname, u(u"   ")}} << u(u"0") << everybody;
        QTest::newRow("two criteria must both match")
            << C{{surname, u(u"ross")}, {town, u(u"forl")}} << u(u"2")
            << QStringList{u(u"De Rossi Paolo"), u(u"Rossi Bianchi Carla"), u(u"Rossi Mario")};
        QTest::newRow("an accented capital matches only itself")
            << C{{town, u(u"FORLÌ")}} << u(u"1") << QStringList{u(u"De Rossi Paolo")};
        QTest::newRow("an accented small letter matches only itself")
            << C{{town, u(u"forlì")}} << u(u"1") << QStringList{u(u"Rossi Mario")};
        QTest::newRow("the first name is not searched")
            << C{{surname, u(u"mario")}} << u(u"1") << QStringList{};
    }

    void criteriaFindTheRightCustomers()
    {
        QFETCH(Criteria, criteria);
        QFETCH(QString, given);
        QFETCH(QStringList, found);
        QVERIFY(writeArchive(archive(), fiveCustomers()));
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            search(w, criteria);
            QCOMPARE(named<QLabel>(&w, u"lblConta")->text(), given);
            QVERIFY(!named<QWidget>(&w, u"panCriteri")->isVisible());
            QVERIFY(named<QWidget>(&w, u"panRisultati")->isVisible());
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords")), found);
            QCOMPARE(named<QLabel>(&w, u"lblTrovate")->text(),
                     QStringLiteral("Il presente riepilogo contiene %1 schede.").arg(found.size()));
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->itemWidth(), 1600);
            QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(&w, u"txtTrova"));
            QVERIFY(t->services.messages.isEmpty());
        });
        click(named<PictureButton>(card, u"cmdTrova"));
        CHECK_BODY();
        QCOMPARE(t->services.modalShown.size(), 1);
    }

    void aDoubleClickAfterSortingLoadsThatRecordOntoTheCard()
    {
        // File order differs from list order; two customers give the very same line.
        QVERIFY(writeArchive(
            archive(),
            {customer(u(u"Verdi"), u(u"Anna")),
             customer(u(u"Bianchi"), u(u"Luca"), u(u"Sì"),
                      {{CR::Email, u(u"primo@esempio.it")}, {CR::File01, u(u"contratto.pdf")}}),
             customer(u(u"Bianchi"), u(u"Luca"), u(u"No"), {{CR::Email, u(u"secondo@esempio.it")}}),
             customer(u(u"Neri"), u(u"Ugo"))}));
        int rounds = 0;
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            search(w, {});
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords")),
                     (QStringList{u(u"Bianchi Luca"), u(u"Bianchi Luca"), u(u"Neri Ugo"), u(u"Verdi Anna")}));
            doubleClickRow(named<ResultList>(&w, u"lstRecords"), rounds == 0 ? 0 : 1);
            QVERIFY(!w.isVisible());
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 0); // closing empties the list
            ++rounds;
        });

        // The first of the two equal lines is the earlier record, and it is that record that comes.
        click(named<PictureButton>(card, u"cmdTrova"));
        CHECK_BODY();
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), u(u"2"));
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), u(u"Bianchi"));
        QCOMPARE(named<QLineEdit>(card, u"txtEmail")->text(), u(u"primo@esempio.it"));
        QVERIFY(named<QCheckBox>(card, u"chkRicontatta")->isChecked());
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), u(u"contratto.pdf"));

        click(named<PictureButton>(card, u"cmdTrova"));
        CHECK_BODY();
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), u(u"3"));
        QCOMPARE(named<QLineEdit>(card, u"txtEmail")->text(), u(u"secondo@esempio.it"));
        QVERIFY(!named<QCheckBox>(card, u"chkRicontatta")->isChecked());
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QString());

        // The card now stands on that record: its next arrow shows the following one of the file.
        click(named<PictureButton>(card, u"cmdAvanti"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), u(u"4"));
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), u(u"Neri"));
        QCOMPARE(t->services.messages.size(), 0);
    }

    void invoiceModeFillsTheInvoicesCustomerFields()
    {
#ifndef TARVELLO_HAS_INVOICES
        QSKIP("This build has no invoice screen.");
#endif
        QVERIFY(writeArchive(
            archive(), {customer(u(u"Rossi"), u(u"Mario"), u(u"No"),
                                 {{CR::IndirizzoRes, u(u"Via Emilia 12")},
                                  {CR::CapRes, u(u"47121")},
                                  {CR::ComuneRes, u(u"Forlì")},
                                  {CR::ProvRes, u(u"FC")},
                                  {CR::CodFisc, u(u"RSSMRA80A01D704U")},
                                  {CR::PartitaIva, u(u"01234567897")},
                                  {CR::Recapito, u(u"0543 1")}}),
                        customer(u(u"Bianchi"), u(u"Anna"), u(u"No"),
                                 {{CR::Ditta, u(u"Officina Bianchi & C.")}, {CR::ProvRes, u(u"ZZ")}})}));
        TfrmFatture* invoice = openInvoiceScreen();
        QVERIFY(invoice->isVisible());
        QVERIFY(named<PictureButton>(invoice, u"impCliente")->isEnabled());
        named<QLineEdit>(invoice, u"txtRiferimenti")->setText(u(u"Ordine n. 15"));
        named<QLineEdit>(invoice, u"txtCliente")->setText(u(u"da sostituire"));

        QString chosen = u(u"Rossi Mario");
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            QVERIFY(w.invoice() == static_cast<InvoiceTarget*>(invoice));
            QVERIFY(w.parentWidget() == invoice);
            search(w, {});
            doubleClickRow(named<ResultList>(&w, u"lstRecords"),
                           rowStartingWith(named<ResultList>(&w, u"lstRecords"), chosen));
            QVERIFY(!w.isVisible());
        });
        QTest::mouseClick(named<PictureButton>(invoice, u"impCliente"), Qt::LeftButton);
        CHECK_BODY();
        QCOMPARE(t->services.modalShown, QStringList{QStringLiteral("frmTrovaClienti")});
        // No company: the surname, one blank and the first name, with no blank in front.
        QCOMPARE(named<QLineEdit>(invoice, u"txtCliente")->text(), u(u"Rossi Mario"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtViaCliente")->text(), u(u"Via Emilia 12"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtCapCliente")->text(), u(u"47121"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtCittaCliente")->text(), u(u"Forlì"));
        QCOMPARE(named<QComboBox>(invoice, u"txtProvCliente")->currentText(), u(u"FC"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtCodFiscCliente")->text(), u(u"RSSMRA80A01D704U"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtIvaCliente")->text(), u(u"01234567897"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtRiferimenti")->text(), u(u"Ordine n. 15"));

        // A company comes first; empty fields empty the invoice's; a code outside the list is kept.
        chosen = u(u"Bianchi Anna");
        QTest::mouseClick(named<PictureButton>(invoice, u"impCliente"), Qt::LeftButton);
        CHECK_BODY();
        QCOMPARE(named<QLineEdit>(invoice, u"txtCliente")->text(), u(u"Officina Bianchi & C. Bianchi Anna"));

        QCOMPARE(named<QLineEdit>(invoice, u"txtViaCliente")->text(), QString());
        QCOMPARE(named<QLineEdit>(invoice, u"txtCittaCliente")->text(), QString());
        QCOMPARE(named<QLineEdit>(invoice, u"txtIvaCliente")->text(), QString());
        QCOMPARE(named<QComboBox>(invoice, u"txtProvCliente")->currentText(), u(u"ZZ"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtRiferimenti")->text(), u(u"Ordine n. 15"));
        // The customer card was not touched.
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QString());

        // The joined name may be longer than one can type in the field (50): it arrives whole,
        // and typing cannot make it longer still.
        QVERIFY(writeArchive(archive(),
                             {customer(u(u"Bartolomeo-Castiglioni Rossini"), u(u"Maria Antonietta Eva"),
                                       u(u"No"), {{CR::Ditta, u(u"Autofficina Rossi Sr")}})}));
        chosen = u(u"Bartolomeo");
        QTest::mouseClick(named<PictureButton>(invoice, u"impCliente"), Qt::LeftButton);
        CHECK_BODY();
        const QString whole = u(u"Autofficina Rossi Sr Bartolomeo-Castiglioni Rossini Maria Antonietta Eva");
        QCOMPARE(named<QLineEdit>(invoice, u"txtCliente")->text(), whole);
        named<QLineEdit>(invoice, u"txtCliente")->setFocus();
        named<QLineEdit>(invoice, u"txtCliente")->end(false);
        QTest::keyClicks(named<QLineEdit>(invoice, u"txtCliente"), u(u"xyz"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtCliente")->text(), whole);
    }

    void enterOnAHighlightedLineFillsTheInvoiceAsADoubleClick()
    {
#ifndef TARVELLO_HAS_INVOICES
        QSKIP("This build has no invoice screen.");
#endif
        QVERIFY(writeArchive(archive(),
                             {customer(u(u"Rossi"), u(u"Mario"), u(u"No"), {{CR::ComuneRes, u(u"Forlì")}}),
                              customer(u(u"Bianchi"), u(u"Anna"), u(u"No"), {})}));
        TfrmFatture* invoice = openInvoiceScreen();
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            search(w, {});
            QApplication::setActiveWindow(&w);
            QVERIFY(QTest::qWaitForWindowActive(&w));
            named<ResultList>(&w, u"lstRecords")->setFocus(Qt::TabFocusReason);
            QTest::keyClick(named<ResultList>(&w, u"lstRecords"), Qt::Key_Home);
            const int row = rowStartingWith(named<ResultList>(&w, u"lstRecords"), u(u"Rossi Mario"));
            for (int i = 0; i < row; ++i)
                QTest::keyClick(named<ResultList>(&w, u"lstRecords"), Qt::Key_Down);
            QTest::keyClick(named<ResultList>(&w, u"lstRecords"), Qt::Key_Return);
            QVERIFY(!w.isVisible());
        });
        QTest::mouseClick(named<PictureButton>(invoice, u"impCliente"), Qt::LeftButton);
        CHECK_BODY();
        QCOMPARE(named<QLineEdit>(invoice, u"txtCliente")->text(), u(u"Rossi Mario"));
        QCOMPARE(named<QLineEdit>(invoice, u"txtCittaCliente")->text(), u(u"Forlì"));
    }

    void enterMovesThroughTheCriteriaAndNeverSearches()
    {
        QVERIFY(writeArchive(archive(), fiveCustomers()));
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            const QList<QLineEdit*> order = {
                named<QLineEdit>(&w, u"txtCognome"),    named<QLineEdit>(&w, u"txtDitta"),
                named<QLineEdit>(&w, u"txtPartitaIva"), named<QLineEdit>(&w, u"txtCodFisc"),
                named<QLineEdit>(&w, u"txtComuneRes"),  named<QLineEdit>(&w, u"txtTelCel"),
                named<QLineEdit>(&w, u"txtConducente"), named<QLineEdit>(&w, u"txtCodiceDest"),
                named<QLineEdit>(&w, u"txtQuestioni"),  named<QLineEdit>(&w, u"txtNote")};
            QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(&w, u"txtCognome"));
            type(named<QLineEdit>(&w, u"txtCognome"), u(u"rossi"));
            for (qsizetype i = 0; i < order.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget(), order[(i + 1) % order.size()]);
            }
            QVERIFY(named<QWidget>(&w, u"panCriteri")->isVisible());
            QCOMPARE(named<QLabel>(&w, u"lblConta")->text(), QString());
            QCOMPARE(named<QLineEdit>(&w, u"txtCognome")->text(), u(u"rossi"));

            // After the search, Enter in the find field goes to its button.
            QTest::mouseClick(named<QPushButton>(&w, u"btnCerca"), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(&w, u"txtTrova"));
            QTest::keyClick(named<QLineEdit>(&w, u"txtTrova"), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), named<QPushButton>(&w, u"btnTrova"));
            QVERIFY(w.isVisible());
        });
        click(named<PictureButton>(card, u"cmdTrova"));
    }

    void theWaitNoticeShowsWhileCercaIsDown()
    {
        QVERIFY(writeArchive(archive(), fiveCustomers()));
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            QVERIFY(!named<QLabel>(&w, u"lblAttendere")->isVisible());
            QCOMPARE(named<QLabel>(&w, u"lblAttendere")->text(), u(u"Ricerca schede in corso. Attendere..."));
            QTest::mousePress(named<QPushButton>(&w, u"btnCerca"), Qt::LeftButton);
            QVERIFY(named<QLabel>(&w, u"lblAttendere")->isVisible());
            QTest::mouseRelease(named<QPushButton>(&w, u"btnCerca"), Qt::LeftButton);
            QVERIFY(named<QWidget>(&w, u"panRisultati")->isVisible());
            QVERIFY(!named<QLabel>(&w, u"lblAttendere")->isVisible());
        });
        click(named<PictureButton>(card, u"cmdTrova"));
    }

    void findAndPrintWorkOnTheList()
    {
        QVERIFY(writeArchive(archive(), fiveCustomers()));
        t->services.printToPdf = t->path(QStringLiteral("riepilogo.pdf"));
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            search(w, {{QStringLiteral("txtCognome"), u(u"ross")}});
            type(named<QLineEdit>(&w, u"txtTrova"), u(u"ROSSI "));
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords"))
                         .value(named<ResultList>(&w, u"lstRecords")->currentRow()),
                     u(u"De Rossi Paolo"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords"))
                         .value(named<ResultList>(&w, u"lstRecords")->currentRow()),
                     u(u"Rossi Bianchi Carla"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords"))
                         .value(named<ResultList>(&w, u"lstRecords")->currentRow()),
                     u(u"Rossi Mario"));
            // "ROSSINI" has no blank after the word: the search passes it and starts again at the top.
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords"))
                         .value(named<ResultList>(&w, u"lstRecords")->currentRow()),
                     u(u"De Rossi Paolo"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnStampa"), Qt::LeftButton);
            QVERIFY(w.isVisible()); // printing leaves the window and its list as they were
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 4);
        });
        click(named<PictureButton>(card, u"cmdTrova"));
        CHECK_BODY();
        QCOMPARE(t->services.printDialogs, 1);
        if (!testing::popplerAvailable())
            QSKIP("poppler-utils are not installed");
        const QList<testing::PdfWord> words = testing::pdfWords(t->services.printToPdf);
        QVERIFY(testing::findWord(words, u(u"Riepilogo")).page == 1);
        QVERIFY(testing::findWord(words, u(u"clienti")).page == 1);
        QVERIFY(testing::findWord(words, u(u"ROSSINI")).page == 1);
        QVERIFY(testing::findWord(words, u(u"Verdi")).page == 0); // not found, not printed
        QVERIFY(testing::findWord(words, u(u"09/12/2026")).page == 1);
    }

    void anEmptyArchiveGivesAnEmptyListThatCannotBeSearched()
    {
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            search(w, {});
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 0);
            QCOMPARE(named<QLabel>(&w, u"lblTrovate")->text(),
                     u(u"Il presente riepilogo contiene 0 schede."));
            type(named<QLineEdit>(&w, u"txtTrova"), u(u"rossi"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QTest::mouseClick(named<QPushButton>(&w, u"btnChiudi"), Qt::LeftButton);
            QVERIFY(!w.isVisible());
        });
        click(named<PictureButton>(card, u"cmdTrova"));
        CHECK_BODY();
        QVERIFY(QFile::exists(archive())); // the absent archive was created, empty
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.messages[0].kind, MessageKind::Plain);
        QCOMPARE(t->services.messages[0].text,
                 u(u"Ricerca non applicabile: la lista non contiene nessuna voce."));
    }

    void anArchiveThatCannotBeReadKeepsTheCriteria()
    {
        QVERIFY(QDir(t->dir.path()).mkdir(CR::fileName())); // a folder in place of the file
        onSearch(*t, [&](TfrmTrovaClienti& w) {
            search(w, {{QStringLiteral("txtNote"), u(u"urgente")}});
            QVERIFY(named<QWidget>(&w, u"panCriteri")->isVisible());
            QVERIFY(!named<QWidget>(&w, u"panRisultati")->isVisible());
            QVERIFY(!named<QLabel>(&w, u"lblAttendere")->isVisible());
            QCOMPARE(named<QLineEdit>(&w, u"txtNote")->text(), u(u"urgente"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnAnnulla"), Qt::LeftButton);
            QVERIFY(!w.isVisible());
        });
        click(named<PictureButton>(card, u"cmdTrova"));
        CHECK_BODY();
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.messages[0].kind, MessageKind::Plain);
        QCOMPARE(t->services.messages[0].text,
                 u(u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di "
                   u"possedere i "
                   u"privilegi di scrittura nella cartella di installazione del programma."));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
    }
};

int runSearchTests(int argc, char** argv)
{
    SearchTest tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_trovaclienti.moc"

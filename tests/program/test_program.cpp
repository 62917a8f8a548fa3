// Which windows the program makes, in which order, and what the screens do about an application
// that a build leaves out: its entries stay disabled and everything else works.
#include "archive/customerrecord.h"
#include "archive/productrecord.h"
#include "archive/record.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "program/program.h"
#include "shell/conventions.h"
#include "shell/handoffs.h"
#include "shell/shellwindows.h"
#include "shell/style.h"
#include "shell/windowregistry.h"
#include "testprogram.h"

#ifdef TARVELLO_HAS_CHECKS
#include "checks/registration.h"
#endif
#ifdef TARVELLO_HAS_CUSTOMERS
#include "customers/clienti.h"
#include "customers/registration.h"
#endif
#ifdef TARVELLO_HAS_INVOICES
#include "invoices/registration.h"
#endif
#ifdef TARVELLO_HAS_WAREHOUSE
#include "warehouse/registration.h"
#endif

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace tarvello;

namespace
{

#ifdef TARVELLO_HAS_CHECKS
constexpr bool hasChecks = true;
#else
constexpr bool hasChecks = false;
#endif
#ifdef TARVELLO_HAS_CUSTOMERS
constexpr bool hasCustomers = true;
#else
constexpr bool hasCustomers = false;
#endif
#ifdef TARVELLO_HAS_INVOICES
constexpr bool hasInvoices = true;
#else
constexpr bool hasInvoices = false;
#endif
#ifdef TARVELLO_HAS_WAREHOUSE
constexpr bool hasProductCard = true;
#else
constexpr bool hasProductCard = false;
#endif

// Which of the launcher's three applications can be opened.
struct Entries {
    bool customers;
    bool warehouse;
    bool invoices;
};

// The colour of a window's status strip, as the window paints it: a point on the strip left of
// its text.
QString stripOf(QWidget* window)
{
    auto* line = window->findChild<StatusLine*>();
    if (!line)
        return QStringLiteral("no status line");
    const QImage picture = line->grab().toImage();
    return QColor(picture.pixel(2, picture.height() / 2)).name();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeRecord(const QString& path, const tarvello::Record& record)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(record.bytes()), qint64(record.bytes().size()));
}

} // namespace

Q_DECLARE_METATYPE(tarvello::Program::Registrations)
Q_DECLARE_METATYPE(Entries)

class ProgramTest : public QObject
{
    Q_OBJECT

    static TfrmAvvio* logIn(TestProgram& t)
    {
        t.program->start();
        auto* field = t.child<QLineEdit>(QStringLiteral("frmPassword"), QStringLiteral("txtPassword"));
        QTest::keyClicks(field, QStringLiteral("chiaveiniziale"));
        QTest::keyClick(field, Qt::Key_Return);
        return static_cast<TfrmAvvio*>(t.window(QStringLiteral("frmAvvio")));
    }

private Q_SLOTS:

    void eachScreenWearsItsStrip_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("exportWindow"); // the export it opens, whose strip is looked at
        QTest::addColumn<QString>("strip");
        if (hasCustomers) {
            QTest::newRow("customer card") << "frmClienti" << QString() << "#3030dd";
            QTest::newRow("customer export") << "frmClienti"
                                             << "frmExpClienti"
                                             << "#6a5acd";
        }
        if (hasProductCard)
            QTest::newRow("product card") << "frmMagazzino" << QString() << "#6a5acd";
        if (hasInvoices) {
            QTest::newRow("invoice screen") << "frmFatture" << QString() << "#5770da";
            QTest::newRow("statistics") << "frmStatistiche" << QString() << "#6a5acd";
        }
    }
    // Every screen with a status line wears its own strip colour, whichever way it is opened.
    void eachScreenWearsItsStrip()
    {
        if (!QTest::currentDataTag())
            QSKIP("no screen with a status strip in this build");
        QFETCH(QString, window);
        QFETCH(QString, exportWindow);
        QFETCH(QString, strip);
        TestProgram t;
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        QString seen;
        if (window == u"frmFatture") {
            menu->show();
            named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2024"));
            QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        } else if (window == u"frmStatistiche") {
            menu->show();
            QTest::mouseClick(named<QPushButton>(menu, u"btnApriRiepStats"), Qt::LeftButton);
        } else {
            AppContext::showScreen(t.window(window));
        }
        QWidget* screen = t.window(window);
        QVERIFY(screen->isVisible());
        if (exportWindow.isEmpty()) {
            seen = stripOf(screen);
        } else {
            t.services.modal.insert(exportWindow, [&seen](QDialog& d) {
                d.show();
                seen = stripOf(&d);
                return int(QDialog::Rejected);
            });
            QTest::mouseClick(named<QAbstractButton>(screen, u"cmdEsporta"), Qt::LeftButton);
        }
        QCOMPARE(seen, strip);
    }
    void createsTheWindowsOfThisBuildInOrder()
    {
        const struct {
            const char16_t* name;
            bool inThisBuild;
        } order[] = {
            {u"frmPassword", true},
            {u"frmAvvio", true},
            {u"frmCambiaPassword", true},
            {u"frmGuida", true},
            {u"frmInfo", true},
            {u"frmSplash", true},
            {u"frmCarta", hasChecks},
            {u"frmCodFisc", hasChecks},
            {u"frmIban", hasChecks},
            {u"frmPartitaIva", hasChecks},
            {u"frmExpClienti", hasCustomers},
            {u"frmTrovaClienti", hasCustomers},
            {u"frmRicontatta", hasCustomers},
            {u"frmClienti", hasCustomers},
            {u"frmAllegaCartella", hasCustomers || hasProductCard},
            {u"frmMagazzino", hasProductCard},
            {u"frmGiacenza", hasProductCard},
            {u"frmSottoscorta", hasProductCard},
            {u"frmExpMagazzino", hasProductCard},
            {u"frmTrovaMagazzino", hasProductCard},
            {u"frmDatiPneumatici", hasProductCard},
            {u"frmMenuFatture", true},
            {u"frmFatture", hasInvoices},
            {u"frmLogo", hasInvoices},
            {u"frmStatistiche", hasInvoices},
            {u"frmNumerazioneFat", hasInvoices},
            {u"frmSospese", hasInvoices},
            {u"frmDatiFattura", hasInvoices},
            {u"frmExpFatture", hasInvoices},
            {u"frmRiepAnnuale", hasInvoices},
            {u"frmRiepMensile", hasInvoices},
            {u"frmRiepTrimestrale", hasInvoices},
            {u"frmTrovaFatture", hasInvoices},
            {u"frmStampaFat", hasInvoices},
            {u"frmAnteprimaFat", hasInvoices},
            {u"frmCrea_PDF_Fat", hasInvoices},
        };
        QStringList expected;
        for (const auto& w : order)
            if (w.inThisBuild)
                expected.append(QString::fromUtf16(w.name));
        TestProgram t;
        QStringList names;
        for (QWidget* w : t.program->windows())
            names.append(w->objectName());
        QCOMPARE(names, expected);
    }

    // Start-up makes the password window only; every other window is made the first time it is
    // asked for, once, and whether a build has a window is answered without making it.
    void makesEachWindowWhenFirstAskedFor()
    {
        auto made = [] {
            QStringList names;
            for (const QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName().startsWith(u"frm"))
                    names.append(w->objectName());
            names.sort();
            return names;
        };
        TestProgram t;
        t.program->start();
        QCOMPARE(made(), QStringList{QStringLiteral("frmPassword")});
        QCOMPARE(t.program->hasWindow(u"frmFatture"), hasInvoices);
        QVERIFY(t.program->hasWindow(u"frmMenuFatture"));
        QVERIFY(!t.program->hasWindow(u"frmNessuna"));
        QVERIFY(!t.program->window(u"frmNessuna"));
        QCOMPARE(made(), QStringList{QStringLiteral("frmPassword")});

        QWidget* menu = t.program->window(u"frmMenuFatture");
        QVERIFY(menu);
        QCOMPARE(t.program->window(u"frmMenuFatture"), menu);
        QCOMPARE(made(), (QStringList{QStringLiteral("frmMenuFatture"), QStringLiteral("frmPassword")}));
    }

    void launcherAndInvoiceMenuOpenOnlyWhatIsThere_data()
    {
        QTest::addColumn<Program::Registrations>("registrations");
        QTest::addColumn<Entries>("entries");
        const auto shellOnly = [](WindowRegistry& r) {
            registerShellWindows(r);
            registerInvoiceMenu(r);
        };
        QTest::newRow("this build") << Program::Registrations(Program::registerThisBuild)
                                    << Entries{hasCustomers, hasProductCard, hasInvoices};
        QTest::newRow("shell only") << Program::Registrations(shellOnly) << Entries{false, false, false};
#ifdef TARVELLO_HAS_CUSTOMERS
        QTest::newRow("customers, no invoices") << Program::Registrations([](WindowRegistry& r) {
            registerShellWindows(r);
            registerCustomerWindows(r);
            registerInvoiceMenu(r);
        }) << Entries{true, false, false};
#endif
#ifdef TARVELLO_HAS_INVOICES
        QTest::newRow("invoices, no customers") << Program::Registrations([](WindowRegistry& r) {
            registerShellWindows(r);
            registerInvoiceMenu(r);
            registerInvoiceWindows(r);
        }) << Entries{false, false, true};
#endif
    }

    void launcherAndInvoiceMenuOpenOnlyWhatIsThere()
    {
        QFETCH(Program::Registrations, registrations);
        QFETCH(Entries, entries);
        TestProgram t(registrations);
        TfrmAvvio* launcher = logIn(t);
        QVERIFY(launcher->isVisible());
        for (PictureButton* b :
             {named<PictureButton>(launcher, u"imgClienti"), named<PictureButton>(launcher, u"appClienti"),
              named<PictureButton>(launcher, u"btnClienti")})
            QCOMPARE(b->isEnabled(), entries.customers);
        for (PictureButton* b : {named<PictureButton>(launcher, u"imgMagazzino"),
                                 named<PictureButton>(launcher, u"appMagazzino"),
                                 named<PictureButton>(launcher, u"btnMagazzino")})
            QCOMPARE(b->isEnabled(), entries.warehouse);
        for (PictureButton* b :
             {named<PictureButton>(launcher, u"imgFatture"), named<PictureButton>(launcher, u"appFatture"),
              named<PictureButton>(launcher, u"btnFatture")})
            QCOMPARE(b->isEnabled(), entries.invoices);

        // What does not depend on an application still works.
        QTest::mouseClick(named<PictureButton>(launcher, u"imgInfo"), Qt::LeftButton);
        QTest::mouseClick(named<PictureButton>(launcher, u"imgGuida"), Qt::LeftButton);
        QCOMPARE(t.services.modalShown, (QStringList{QStringLiteral("frmInfo"), QStringLiteral("frmGuida")}));

        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        AppContext::showScreen(menu);
        QCOMPARE(named<QPushButton>(menu, u"btnApriFatture")->isEnabled(), entries.invoices);
        QCOMPARE(named<PictureButton>(menu, u"imgEmail")->isEnabled(),
                 entries.invoices); // the logo is the invoices'
        QVERIFY(named<PictureButton>(menu, u"imgGuida")->isEnabled());
        QTest::mouseClick(named<PictureButton>(menu, u"imgEsci"), Qt::LeftButton);
        QVERIFY(launcher->isVisible());
    }

    // Every typeface a window gives a control is one the style sheet names: a name it lacks would
    // leave the control in the desktop's font without a word.
    void everyTypefaceIsOneTheStyleSheetNames()
    {
        TestProgram t;
        const QString sheet = programStyleSheet();
        QList<QWidget*> windows = t.program->windows();
        std::vector<std::unique_ptr<QDialog>> dialogs;
        for (const QString& name : t.program->dialogNames()) {
            dialogs.push_back(t.program->createDialog(name, t.window(QStringLiteral("frmAvvio"))));
            if (dialogs.back())
                windows.append(dialogs.back().get());
        }
        int named = 0;
        QStringList missing;
        for (QWidget* window : windows) {
            QList<QWidget*> widgets = window->findChildren<QWidget*>();
            widgets.prepend(window);
            for (const QWidget* w : widgets) {
                const QString typeface = w->property("typeface").toString();
                if (typeface.isEmpty())
                    continue;
                ++named;
                if (!sheet.contains(QStringLiteral("[typeface=\"%1\"]").arg(typeface)))
                    missing.append(
                        QStringLiteral("%1 in %2: %3").arg(w->objectName(), window->objectName(), typeface));
            }
        }
        QVERIFY(named > 0);
        missing.removeDuplicates();
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
    }

    void whatOnlyAnInvoiceTakesNeedsAnInvoice_data()
    {
        QTest::addColumn<Program::Registrations>("registrations");
        QTest::addColumn<bool>("invoices");
        QTest::newRow("this build") << Program::Registrations(Program::registerThisBuild) << hasInvoices;
        QTest::newRow("no invoices") << Program::Registrations([](WindowRegistry& r) {
            registerShellWindows(r);
#ifdef TARVELLO_HAS_CUSTOMERS
            registerCustomerWindows(r);
#endif
#ifdef TARVELLO_HAS_WAREHOUSE
            registerWarehouseWindows(r);
#endif
            registerInvoiceMenu(r);
        }) << false;
    }
    // Only an invoice takes a customer or an article from the other applications. Without one the
    // customer search still loads the customer card, and the article import still finds and
    // prints products, but its import buttons stay disabled and take nothing off the stock.
    void whatOnlyAnInvoiceTakesNeedsAnInvoice()
    {
        QFETCH(Program::Registrations, registrations);
        QFETCH(bool, invoices);
        TestProgram t(registrations);
        const auto made = [] {
            QStringList names;
            for (const QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName().startsWith(u"frm"))
                    names.append(w->objectName());
            return names;
        };
        QCOMPARE(canSearchCustomers(*t.program), hasCustomers);
        QCOMPARE(canImportArticles(*t.program), hasProductCard);
        QVERIFY(made().isEmpty()); // asking made nothing
        InvoiceTarget* target = invoiceTarget(*t.program);
        QCOMPARE(target != nullptr, invoices);
        QCOMPARE(made(), invoices ? QStringList{QStringLiteral("frmFatture")} : QStringList{});

        if (hasProductCard) {
            const QString products = t.path(ProductRecord::fileName());
            Record product(ProductRecord::layout());
            product.setText(ProductRecord::Codice, QStringLiteral("A1"));
            product.setText(ProductRecord::Giacenza, QStringLiteral("10"));
            writeRecord(products, product);
            const QByteArray stored = fileBytes(products);
            std::unique_ptr<QDialog> import = t.program->createDialog(u"frmImportaMagazzino", nullptr);
            QVERIFY(import);
            int listed = -1;
            bool importable = true, printable = false, stayedOpen = false;
            t.services.modal.insert(QStringLiteral("frmImportaMagazzino"), [&](QDialog& d) {
                QTest::mouseClick(named<QPushButton>(&d, u"btnCerca"), Qt::LeftButton);
                auto* list = named<ResultList>(&d, u"lstRecords");
                listed = list->count();
                list->setCurrentRow(0);
                importable = named<QPushButton>(&d, u"btnAggiorna")->isEnabled() ||
                             named<QPushButton>(&d, u"btnNonAggiornare")->isEnabled();
                printable = named<QPushButton>(&d, u"btnStampa")->isEnabled();
                QTest::mouseClick(named<QPushButton>(&d, u"btnAggiorna"), Qt::LeftButton);
                stayedOpen = d.isVisible();
                return d.result();
            });
            t.services.runModal(*import);
            QCOMPARE(listed, 1);
            QVERIFY(!importable);
            QVERIFY(printable);
            QVERIFY(stayedOpen);
            QCOMPARE(fileBytes(products), stored);
            QVERIFY(t.services.messages.isEmpty());
        }

#ifdef TARVELLO_HAS_CUSTOMERS
        Record customer(CustomerRecord::layout());
        customer.setText(CustomerRecord::Cognome, QStringLiteral("Rossi"));
        writeRecord(t.path(CustomerRecord::fileName()), customer);
        auto* card = static_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
        AppContext::showScreen(card);
        t.services.modal.insert(QStringLiteral("frmTrovaClienti"), [](QDialog& d) {
            QTest::mouseClick(named<QPushButton>(&d, u"btnCerca"), Qt::LeftButton);
            auto* list = named<ResultList>(&d, u"lstRecords");
            const QRect line = list->visualRect(list->model()->index(0, 0));
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
            return d.result();
        });
        QTest::mouseClick(named<QAbstractButton>(card, u"cmdTrova"), Qt::LeftButton);
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QStringLiteral("Rossi"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("1"));
#endif
    }

#ifdef TARVELLO_HAS_CUSTOMERS
    void checkButtonsOpenNothingWithoutTheChecks()
    {
        TestProgram t(Program::Registrations([](WindowRegistry& r) {
            registerShellWindows(r);
            registerCustomerWindows(r);
            registerInvoiceMenu(r);
        }));
        auto* card = static_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
        AppContext::showScreen(card);
        setChildText(card, QStringLiteral("txtCodFisc"), QStringLiteral("RSSMRA85T10A562S"));
        named<QAbstractButton>(card, u"btnCodFisc")->click();
        QVERIFY(t.services.modalShown.isEmpty());
        QVERIFY(t.services.messages.isEmpty());
        QVERIFY(card->isVisible());
    }
#endif
};

TARVELLO_TEST_MAIN(ProgramTest)

#include "test_program.moc"

// The program on a disk that refuses writes (full, or a network share that dropped), driven
// through its windows: every failure is told as a failure, the old files stay byte for byte as
// they were, no temporary file is left, and trying again after the disk recovers stores once.

#include "archive/archivefile.h"
#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "archive/stockjournal.h"
#include "customers/clienti.h"
#include "customers/customercard.h"
#include "customers/expclienti.h"
#include "customers/trovaclienti.h"
#include "faultydisk.h"
#include "files.h"
#include "invoices/einvoice.h"
#include "invoices/fatture.h"
#include "invoices/invoicecard.h"
#include "invoices/invoicedialogs.h"
#include "invoices/numbering.h"
#include "invoices/statistiche.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "saidtexts.h"
#include "shell/conventions.h"
#include "shell/password.h"
#include "shell/previewwindow.h"
#include "shell/shellwindows.h"
#include "testprogram.h"
#ifdef TARVELLO_HAS_WAREHOUSE
#include "warehouse/magazzino.h"
#include "warehouse/productcard.h"
#endif

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <cerrno>

using namespace tarvello;
using faultydisk::Operation;

Q_DECLARE_METATYPE(faultydisk::Operation)

// Every print that can go into a PDF file chosen in the print dialog.
enum class PrintPath {
    PeriodSummary,
    UnpaidInvoices,
    CustomerSearch,
    LowStock,
    CustomerCard,
    ProductCard,
    Invoice,
    ChartBars,
    ChartPie,
    Preview,
};
Q_DECLARE_METATYPE(PrintPath)

namespace
{

// Everything in the program's folder, hidden files included: a temporary file left behind shows.
QStringList folderFiles(const TestProgram& t)
{
    return filesIn(t.dir.path());
}

QByteArray customerBytes(const QString& surname)
{
    CustomerCard::CardTexts texts;
    texts[CustomerRecord::Cognome] = surname;
    texts[CustomerRecord::Nome] = QStringLiteral("Mario");
    texts[CustomerRecord::Ricontatta] = QStringLiteral("No");
    return CustomerCard::toRecord(texts).bytes();
}

void typeInto(QLineEdit* field, const QString& text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

// The windows' controls are reached by their names, as a user finds them by their captions.
template <class T = QWidget> T* part(const QWidget* window, const char* name)
{
    T* found = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (!found)
        qWarning("no %s in %s", name, window ? qPrintable(window->objectName()) : "no window");
    return found;
}

QString textOf(const QWidget* window, const char* name)
{
    const auto* edit = part<QLineEdit>(window, name);
    return edit ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

void press(const QWidget* window, const char* name)
{
    if (auto* b = part<QAbstractButton>(window, name))
        QTest::mouseClick(b, Qt::LeftButton);
}

QString labelOf(const QWidget* window, const char* name)
{
    const auto* label = part<QLabel>(window, name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

#ifdef TARVELLO_HAS_WAREHOUSE
QByteArray productBytes(const QString& code, const QString& stock)
{
    ProductCard::CardTexts texts;
    texts[ProductRecord::Codice] = code;
    texts[ProductRecord::Giacenza] = stock;
    texts[ProductRecord::Costo] = QStringLiteral("2,00");
    texts[ProductRecord::Prezzo] = QStringLiteral("5,00");
    return ProductCard::toRecord(texts).bytes();
}

QString storedProductText(const QByteArray& archive, int index, ProductRecord::Field field)
{
    return Record(ProductRecord::layout(),
                  archive.mid(qsizetype(index) * ProductRecord::Size, ProductRecord::Size))
        .text(field);
}
#endif

QByteArray invoiceBytes(const QString& number, const QString& customer)
{
    InvoiceCard::CardTexts texts;
    texts[InvoiceRecord::NumFatt] = number;
    texts[InvoiceRecord::Data] = QStringLiteral("02/01/2024");
    texts[InvoiceRecord::Cliente] = customer;
    return InvoiceCard::toRecord(texts).bytes();
}

TfrmFatture* openInvoiceYear(TestProgram& t)
{
    auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
    menu->show();
    named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2024"));
    QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
    return static_cast<TfrmFatture*>(t.window(QStringLiteral("frmFatture")));
}

// A new invoice of 2024 for "Officina Rossi" into whose first row 4 units of the archive's first
// article were imported: units it holds, unsaved.
TfrmFatture* newInvoiceHoldingFourUnits(TestProgram& t)
{
    TfrmFatture* screen = openInvoiceYear(t);
    if (!screen || !screen->isVisible())
        return nullptr;
    press(screen, "cmdNuovo");
    typeInto(part<QLineEdit>(screen, "txtCliente"), QStringLiteral("Officina Rossi"));
    t.services.modal.insert(QStringLiteral("frmImportaMagazzino"), [](QDialog& d) {
        press(&d, "btnCerca");
        part<ResultList>(&d, "lstRecords")->setCurrentRow(0);
        typeInto(part<QLineEdit>(&d, "txtQuant"), QStringLiteral("4"));
        press(&d, "btnAggiorna");
        return d.result();
    });
    press(screen, "impMag01");
    return screen;
}

// In the dialog the program opens as `window`: the disk fails from now on as armed, and
// `button` is pressed.
void armAndPressIn(TestProgram& t, const QString& window, const char* button,
                   const std::function<void()>& arm, const std::function<void(QDialog&)>& before = {})
{
    t.services.modal.insert(window, [=](QDialog& d) {
        if (before)
            before(d);
        auto* b = d.findChild<QPushButton*>(QString::fromLatin1(button));
        if (!b) {
            qWarning("no %s in %s", button, qPrintable(window));
            return int(QDialog::Rejected);
        }
        arm();
        QTest::mouseClick(b, Qt::LeftButton);
        return d.result();
    });
}

// Takes the print down `path` with the print dialog choosing the PDF file already named in the
// services, and the disk failing as `arm` says at the moment of printing.
void printDown(TestProgram& t, PrintPath path, const std::function<void()>& arm)
{
    switch (path) {
    case PrintPath::PeriodSummary: {
        TfrmFatture* screen = openInvoiceYear(t);
        armAndPressIn(t, QStringLiteral("frmRiepAnnuale"), "btnStampa", arm);
        QTest::mouseClick(named<PictureButton>(screen, u"cmdRiepAnnuale"), Qt::LeftButton);
        break;
    }
    case PrintPath::UnpaidInvoices: {
        TfrmFatture* screen = openInvoiceYear(t);
        armAndPressIn(t, QStringLiteral("frmSospese"), "btnStampa", arm);
        QTest::mouseClick(named<PictureButton>(screen, u"cmdSospese"), Qt::LeftButton);
        break;
    }
    case PrintPath::CustomerSearch: {
        QVERIFY(writeFile(t.path(CustomerRecord::fileName()), customerBytes(QStringLiteral("Rossi"))));
        auto* card = qobject_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
        AppContext::showScreen(card);
        armAndPressIn(t, QStringLiteral("frmTrovaClienti"), "btnStampa", arm,
                      [](QDialog& d) { named<QPushButton>(&d, u"btnCerca")->click(); });
        QTest::mouseClick(named<PictureButton>(card, u"cmdTrova"), Qt::LeftButton);
        break;
    }
    case PrintPath::LowStock: {
#ifdef TARVELLO_HAS_WAREHOUSE
        auto* card = qobject_cast<TfrmMagazzino*>(t.window(QStringLiteral("frmMagazzino")));
        AppContext::showScreen(card);
        armAndPressIn(t, QStringLiteral("frmSottoscorta"), "btnStampa", arm);
        QTest::mouseClick(named<PictureButton>(card, u"cmdSottoscorta"), Qt::LeftButton);
#endif
        break;
    }
    case PrintPath::CustomerCard: {
        auto* card = qobject_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
        AppContext::showScreen(card);
        named<QLineEdit>(card, u"txtCognome")->setText(QStringLiteral("Rossi"));
        arm();
        QTest::mouseClick(named<PictureButton>(card, u"cmdStampa"), Qt::LeftButton);
        break;
    }
    case PrintPath::ProductCard: {
#ifdef TARVELLO_HAS_WAREHOUSE
        auto* card = qobject_cast<TfrmMagazzino*>(t.window(QStringLiteral("frmMagazzino")));
        AppContext::showScreen(card);
        named<QLineEdit>(card, u"txtCodice")->setText(QStringLiteral("A1"));
        arm();
        QTest::mouseClick(named<PictureButton>(card, u"cmdStampa"), Qt::LeftButton);
#endif
        break;
    }
    case PrintPath::Invoice: {
        TfrmFatture* screen = openInvoiceYear(t);
        named<QLineEdit>(screen, u"txtDitta")->setText(QStringLiteral("Officina Rossi"));
        armAndPressIn(t, QStringLiteral("frmStampaFat"), "btnConferma", arm);
        QTest::mouseClick(named<PictureButton>(screen, u"cmdStampa"), Qt::LeftButton);
        break;
    }
    case PrintPath::ChartBars:
    case PrintPath::ChartPie: {
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        menu->show();
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriRiepStats"), Qt::LeftButton);
        auto* stats = static_cast<TfrmStatistiche*>(t.window(QStringLiteral("frmStatistiche")));
        QTest::mouseClick(named<QPushButton>(stats, u"btnApri"), Qt::LeftButton);
        QTest::mouseClick(path == PrintPath::ChartPie ? named<QPushButton>(stats, u"btnTorta")
                                                      : named<QPushButton>(stats, u"btnBarre"),
                          Qt::LeftButton);
        t.services.inputs.push_back(QStringLiteral("2"));
        arm();
        QTest::mouseClick(named<QPushButton>(stats, u"btnStampa"), Qt::LeftButton);
        break;
    }
    case PrintPath::Preview: {
        QPrinter printer(QPrinter::HighResolution);
        PreviewWindow preview(printer, t.services, [](QPainter& painter, QPagedPaintDevice&, Progress*) {
            painter.drawText(100, 100, QStringLiteral("Anteprima"));
            return true;
        });
        arm();
        preview.findChild<QAction*>(QStringLiteral("actStampa"))->trigger();
        break;
    }
    }
}

} // namespace

class FailingDiskTest : public QObject
{
    Q_OBJECT

    void addFailures()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("error");
        QTest::newRow("write, disk full") << Operation::Write << ENOSPC;
        QTest::newRow("flush, I/O error") << Operation::Flush << EIO;
        QTest::newRow("rename refused") << Operation::Rename << EACCES;
        QTest::newRow("open refused") << Operation::Open << EACCES;
    }

    // A record written in place: no file is renamed.
    void addRecordFailures()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("error");
        QTest::newRow("write, disk full") << Operation::Write << ENOSPC;
        QTest::newRow("flush, I/O error") << Operation::Flush << EIO;
        QTest::newRow("open refused") << Operation::Open << EACCES;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(faultydisk::present(), "the faulty disk does not stand in front of the C library");
    }
    void cleanup() { faultydisk::disarm(); }

    void passwordChange_data() { addFailures(); }
    void passwordChange()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
        const QString passwordFile = t.path(passwordFileName());
        const QByteArray before = fileBytes(passwordFile, kMissingFile);
        const QStringList filesBefore = folderFiles(t);
        QWidget* change = t.window(QStringLiteral("frmCambiaPassword"));
        change->show();
        typeInto(change->findChild<QLineEdit*>(QStringLiteral("txtPasswordOld")),
                 QStringLiteral("chiaveiniziale"));
        typeInto(change->findChild<QLineEdit*>(QStringLiteral("txtPasswordNew")), QStringLiteral("Nuova1"));
        typeInto(change->findChild<QLineEdit*>(QStringLiteral("txtConferma")), QStringLiteral("Nuova1"));

        faultydisk::arm(operation, t.dir.path(), 1, error);
        QTest::mouseClick(change->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();

        QCOMPARE(
            t.services.lastMessage(),
            QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                           "password. Si consiglia di reinstallare il software."));
        QCOMPARE(fileBytes(passwordFile, kMissingFile), before);
        QCOMPARE(folderFiles(t), filesBefore);

        // The old password still opens the program.
        change->hide();
        t.program->start();
        auto* field = t.child<QLineEdit>(QStringLiteral("frmPassword"), QStringLiteral("txtPassword"));
        typeInto(field, QStringLiteral("chiaveiniziale"));
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(t.window(QStringLiteral("frmAvvio"))->isVisible());
    }

    void customerExport_data() { addFailures(); }
    void customerExport()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
        QVERIFY(writeFile(t.path(CustomerRecord::fileName()), customerBytes(QStringLiteral("Rossi"))));
        const QString document = t.path(QStringLiteral("Clienti.xls"));
        QVERIFY(writeFile(document, "esportazione precedente"));
        const QStringList filesBefore = folderFiles(t);
        auto* card = qobject_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
        AppContext::showScreen(card);
        t.services.modal.insert(QStringLiteral("frmExpClienti"), [&](QDialog& d) {
            faultydisk::arm(operation, t.dir.path(), 1, error);
            QTest::mouseClick(named<PictureButton>(&d, u"cmdEsporta"), Qt::LeftButton);
            return d.result();
        });
        QTest::mouseClick(named<PictureButton>(card, u"cmdEsporta"), Qt::LeftButton);
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();

        QCOMPARE(
            t.services.lastMessage(),
            QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che "
                           "il file di Excel non sia già aperto."));
        for (const auto& m : t.services.messages)
            QVERIFY2(!m.text.contains(QStringLiteral("successo")), qPrintable(m.text));
        QVERIFY(t.services.opened.isEmpty());
        QCOMPARE(fileBytes(document, kMissingFile), QByteArray("esportazione precedente"));
        QCOMPARE(folderFiles(t), filesBefore);
    }

    void cardSave_data() { addRecordFailures(); }
    // A new card appended and a stored card overwritten: the failure leaves the archive as it
    // was, and saving again once the disk is back stores the card once.
    void cardSave()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
        const QString archive = t.path(CustomerRecord::fileName());
        const QByteArray stored = customerBytes(QStringLiteral("Bianchi"));
        QVERIFY(writeFile(archive, stored));
        auto* card = qobject_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
        AppContext::showScreen(card);

        QTest::mouseClick(named<PictureButton>(card, u"cmdNuovo"), Qt::LeftButton);
        typeInto(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Rossi"));
        typeInto(named<QLineEdit>(card, u"txtNome"), QStringLiteral("Anna"));
        named<QLineEdit>(card, u"txtDitta")->setFocus();
        t.services.messages.clear();
        faultydisk::arm(operation, t.dir.path(), 1, error);
        QTest::mouseClick(named<PictureButton>(card, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(fileBytes(archive, kMissingFile), stored);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());

        QTest::mouseClick(named<PictureButton>(card, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(t.services.lastMessage(), said::inserted);
        QCOMPARE(fileBytes(archive, kMissingFile).size(), 2 * CustomerRecord::Size);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("2"));

        // The first card, changed: a failed overwrite keeps its old bytes.
        QTest::mouseClick(named<PictureButton>(card, u"cmdPrimo"), Qt::LeftButton);
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QStringLiteral("Bianchi"));
        const QByteArray beforeChange = fileBytes(archive, kMissingFile);
        typeInto(named<QLineEdit>(card, u"txtNote"), QStringLiteral("nuovo recapito"));
        faultydisk::arm(operation, t.dir.path(), 1, error);
        QTest::mouseClick(named<PictureButton>(card, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(fileBytes(archive, kMissingFile), beforeChange);
        QTest::mouseClick(named<PictureButton>(card, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(t.services.lastMessage(), said::changesSaved);
        QCOMPARE(fileBytes(archive, kMissingFile).size(), 2 * CustomerRecord::Size);
        QCOMPARE(Record(CustomerRecord::layout(), fileBytes(archive, kMissingFile).left(CustomerRecord::Size))
                     .text(CustomerRecord::Note),
                 QStringLiteral("nuovo recapito"));
    }

#ifdef TARVELLO_HAS_WAREHOUSE
    void productSave_data()
    {
        addRecordFailures();
    }
    // The product card as the customer card: a new product appended and a stored one changed.
    void productSave()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
        const QString archive = t.path(ProductRecord::fileName());
        const QByteArray stored = productBytes(QStringLiteral("B1"), QStringLiteral("4"));
        QVERIFY(writeFile(archive, stored));
        QWidget* card = t.window(QStringLiteral("frmMagazzino"));
        AppContext::showScreen(card);

        typeInto(part<QLineEdit>(card, "txtCodice"), QStringLiteral("A7"));
        part<QLineEdit>(card, "txtDescrizione")->setFocus();
        t.services.messages.clear();
        faultydisk::arm(operation, t.dir.path(), 1, error);
        press(card, "cmdSalva");
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(fileBytes(archive, kMissingFile), stored);
        QCOMPARE(labelOf(card, "lblPosizione"), QString());
        QCOMPARE(textOf(card, "txtCodice"), QStringLiteral("A7"));

        press(card, "cmdSalva");
        QCOMPARE(t.services.lastMessage(), said::inserted);
        QCOMPARE(fileBytes(archive, kMissingFile).size(), 2 * ProductRecord::Size);
        QCOMPARE(labelOf(card, "lblPosizione"), QStringLiteral("2"));
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 1, ProductRecord::Codice),
                 QStringLiteral("A7"));

        press(card, "cmdPrimo");
        QCOMPARE(textOf(card, "txtCodice"), QStringLiteral("B1"));
        const QByteArray beforeChange = fileBytes(archive, kMissingFile);
        typeInto(part<QLineEdit>(card, "txtNote"), QStringLiteral("scaffale 3"));
        faultydisk::arm(operation, t.dir.path(), 1, error);
        press(card, "cmdSalva");
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(fileBytes(archive, kMissingFile), beforeChange);
        press(card, "cmdSalva");
        QCOMPARE(t.services.lastMessage(), said::changesSaved);
        QCOMPARE(fileBytes(archive, kMissingFile).size(), 2 * ProductRecord::Size);
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Note),
                 QStringLiteral("scaffale 3"));
    }

    void stockWindow_data()
    {
        addRecordFailures();
    }
    // Stock added through the "+" window reaches the archive with the card's save: a failed save
    // leaves the stored stock as it was and the card showing the new total, which the next save
    // stores once.
    void stockWindow()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
        const QString archive = t.path(ProductRecord::fileName());
        const QByteArray stored = productBytes(QStringLiteral("A1"), QStringLiteral("5"));
        QVERIFY(writeFile(archive, stored));
        QWidget* card = t.window(QStringLiteral("frmMagazzino"));
        AppContext::showScreen(card);
        press(card, "cmdPrimo");
        QCOMPARE(textOf(card, "txtGiacenza"), QStringLiteral("5"));

        QString shownStock;
        t.services.modal.insert(QStringLiteral("frmGiacenza"), [&](QDialog& d) {
            shownStock = textOf(&d, "txtGiacenza");
            auto* add = part<QLineEdit>(&d, "txtAggiunta");
            if (!add)
                return int(QDialog::Rejected);
            add->setFocus();
            add->selectAll();
            QTest::keyClicks(add, QStringLiteral("3"));
            press(&d, "btnAggiorna");
            return d.result();
        });
        press(card, "btnAggiungi");
        QCOMPARE(shownStock, QStringLiteral("5"));
        QCOMPARE(textOf(card, "txtGiacenza"), QStringLiteral("8"));

        t.services.messages.clear();
        faultydisk::arm(operation, t.dir.path(), 1, error);
        press(card, "cmdSalva");
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(fileBytes(archive, kMissingFile), stored);
        QCOMPARE(textOf(card, "txtGiacenza"), QStringLiteral("8"));

        press(card, "cmdSalva");
        QCOMPARE(t.services.lastMessage(), said::changesSaved);
        QCOMPARE(fileBytes(archive, kMissingFile).size(), ProductRecord::Size);
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("8"));
    }

    void articleImport_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        const QString journalMessage = QStringLiteral(
            "Non è stato possibile annotare il prelievo nel file PrelieviSospesi.txt della cartella del "
            "programma: la giacenza dell'articolo non è stata modificata.\n"
            "Riprovare, oppure importare l'articolo senza aggiornare la giacenza.");
        const std::tuple<const char*, Operation, int> failures[] = {
            {"write, disk full", Operation::Write, ENOSPC},
            {"flush, I/O error", Operation::Flush, EIO},
            {"open refused", Operation::Open, EACCES},
        };
        for (const auto& [name, operation, error] : failures) {
            QTest::addRow("archive: %s", name)
                << operation << error << ProductRecord::fileName() << said::archiveAccess;
            QTest::addRow("journal: %s", name)
                << operation << error << QStringLiteral("PrelieviSospesi.txt") << journalMessage;
        }
    }
    // An article imported into an invoice row with its stock taken: a disk that refuses the
    // stock, or the journal where the import is written down before its stock, leaves the stock
    // and the row as they were; the import done again takes it once.
    void articleImport()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        QFETCH(QString, file);
        QFETCH(QString, message);
        TestProgram t;
        const QString archive = t.path(ProductRecord::fileName());
        const QByteArray stored = productBytes(QStringLiteral("A1"), QStringLiteral("10"));
        QVERIFY(writeFile(archive, stored));
        QWidget* screen = openInvoiceYear(t);
        QVERIFY(screen && screen->isVisible());

        bool failDisk = true;
        int listed = -1;
        t.services.modal.insert(QStringLiteral("frmImportaMagazzino"), [&](QDialog& d) {
            press(&d, "btnCerca");
            auto* list = part<ResultList>(&d, "lstRecords");
            listed = list ? list->count() : -1;
            if (listed != 1)
                return int(QDialog::Rejected);
            list->setCurrentRow(0);
            typeInto(part<QLineEdit>(&d, "txtQuant"), QStringLiteral("4"));
            if (failDisk)
                faultydisk::arm(operation, t.path(file), 1, error);
            press(&d, "btnAggiorna");
            return d.result();
        });
        press(screen, "impMag01");
        QCOMPARE(listed, 1);
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastMessage(), message);
        QCOMPARE(fileBytes(archive, kMissingFile), stored);
        QCOMPARE(textOf(screen, "txtCodice01"), QString());
        QCOMPARE(textOf(screen, "txtPrezzo01"), QString());

        failDisk = false;
        press(screen, "impMag01");
        QCOMPARE(fileBytes(archive, kMissingFile).size(), ProductRecord::Size);
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("6"));
        QCOMPARE(textOf(screen, "txtCodice01"), QStringLiteral("A1"));
        QCOMPARE(textOf(screen, "txtPrezzo01"), QStringLiteral("5,00"));
    }

    // An unsaved invoice left: its units go back to the stock, and only the journal's line that
    // closes the give-back does not reach the disk. The units are back, so the user is not told
    // the warehouse archive could not be reached; the next start gives nothing back twice.
    void unitsBackWhenOnlyTheJournalsClosingFails()
    {
        TestProgram t;
        const QString archive = t.path(ProductRecord::fileName());
        QVERIFY(writeFile(archive, productBytes(QStringLiteral("A1"), QStringLiteral("10"))));
        TfrmFatture* screen = newInvoiceHoldingFourUnits(t);
        QVERIFY(screen);
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("6"));

        t.services.messages.clear();
        t.services.answers.push_back(Answer::No); // the changes are not to be saved
        // The first flush of the journal is the give-back's intention, the second its closing.
        faultydisk::arm(Operation::Flush, t.path(QStringLiteral("PrelieviSospesi.txt")), 2, EIO);
        press(screen, "cmdNuovo");
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("10"));
        for (const auto& m : t.services.messages)
            QVERIFY2(!m.text.contains(QStringLiteral("Magazzino.pro non è accessibile")), qPrintable(m.text));

        const StockJournal::GivenBack atStart = StockJournal::recover(t.dir.path());
        QVERIFY(atStart.entries.empty());
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("10"));
    }

    // Another invoice chosen while units imported into an unsaved one are held, the user leaving
    // its changes: when the chosen invoice cannot be read, the screen keeps the invoice it showed
    // and its units stay taken for it, so saving it then records units that really left the stock.
    void openingAnInvoiceThatCannotBeReadKeepsTheImportedUnits()
    {
        TestProgram t;
        const QString archive = t.path(ProductRecord::fileName());
        QVERIFY(writeFile(archive, productBytes(QStringLiteral("A1"), QStringLiteral("10"))));
        const QString year = t.path(InvoiceRecord::fileName(QStringLiteral("2024")));
        QVERIFY(writeFile(year, invoiceBytes(QStringLiteral("1"), QStringLiteral("Officina Bianchi"))));
        TfrmFatture* screen = newInvoiceHoldingFourUnits(t);
        QVERIFY(screen);
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("6"));

        t.services.answers.push_back(Answer::No); // the changes are not to be saved
        faultydisk::arm(Operation::Open, year, 1, EACCES);
        QVERIFY(!screen->openRecord(0));
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(textOf(screen, "txtCliente"), QStringLiteral("Officina Rossi"));
        QCOMPARE(textOf(screen, "txtCodice01"), QStringLiteral("A1"));
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("6"));

        press(screen, "cmdSalva");
        QCOMPARE(t.services.lastMessage(), said::inserted);
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("6"));
        // Opened now, the other invoice comes, and the saved one's units stay where they went.
        QVERIFY(screen->openRecord(0));
        QCOMPARE(textOf(screen, "txtCliente"), QStringLiteral("Officina Bianchi"));
        QCOMPARE(storedProductText(fileBytes(archive, kMissingFile), 0, ProductRecord::Giacenza),
                 QStringLiteral("6"));
    }
#endif

    void invoiceSave_data()
    {
        addRecordFailures();
    }
    // A new invoice appended to the year and a stored one changed.
    void invoiceSave()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
        const QString archive = t.path(InvoiceRecord::fileName(QStringLiteral("2024")));
        const QByteArray stored = invoiceBytes(QStringLiteral("1"), QStringLiteral("Officina Bianchi"));
        QVERIFY(writeFile(archive, stored));
        QWidget* screen = openInvoiceYear(t);
        QVERIFY(screen && screen->isVisible());

        press(screen, "cmdNuovo");
        typeInto(part<QLineEdit>(screen, "txtCliente"), QStringLiteral("Officina Rossi"));
        t.services.messages.clear();
        faultydisk::arm(operation, t.dir.path(), 1, error);
        press(screen, "cmdSalva");
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);
        QCOMPARE(fileBytes(archive, kMissingFile), stored);
        QCOMPARE(labelOf(screen, "lblPosizione"), QString());
        QCOMPARE(textOf(screen, "txtCliente"), QStringLiteral("Officina Rossi"));

        press(screen, "cmdSalva");
        QCOMPARE(t.services.lastMessage(), said::inserted);
        QCOMPARE(fileBytes(archive, kMissingFile).size(), 2 * InvoiceRecord::Size);
        QCOMPARE(labelOf(screen, "lblPosizione"), QStringLiteral("2"));

        press(screen, "cmdPrimo");
        QCOMPARE(textOf(screen, "txtCliente"), QStringLiteral("Officina Bianchi"));
        const QByteArray beforeChange = fileBytes(archive, kMissingFile);
        typeInto(part<QLineEdit>(screen, "txtNote"), QStringLiteral("consegna a domicilio"));
        faultydisk::arm(operation, t.dir.path(), 1, error);
        press(screen, "cmdSalva");
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(fileBytes(archive, kMissingFile), beforeChange);
        press(screen, "cmdSalva");
        QCOMPARE(t.services.lastMessage(), said::changesSaved);
        QCOMPARE(fileBytes(archive, kMissingFile).size(), 2 * InvoiceRecord::Size);
        QCOMPARE(Record(InvoiceRecord::layout(), fileBytes(archive, kMissingFile).left(InvoiceRecord::Size))
                     .text(InvoiceRecord::Note),
                 QStringLiteral("consegna a domicilio"));
    }

    void warehouseAndInvoiceExports_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("error");
        QStringList documents{QStringLiteral("Fatture.xls")};
#ifdef TARVELLO_HAS_WAREHOUSE
        documents.prepend(QStringLiteral("Magazzino.xls"));
#endif
        for (const QString& document : documents) {
            const QByteArray name = document.toLatin1();
            QTest::addRow("%s, disk full", name.constData()) << document << Operation::Write << ENOSPC;
            QTest::addRow("%s, flush fails", name.constData()) << document << Operation::Flush << EIO;
            QTest::addRow("%s, rename refused", name.constData()) << document << Operation::Rename << EACCES;
            QTest::addRow("%s, open refused", name.constData()) << document << Operation::Open << EACCES;
        }
    }
    // The product and the invoice exports as the customer export: told, nothing offered to open,
    // the earlier document as it was.
    void warehouseAndInvoiceExports()
    {
        QFETCH(QString, document);
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
#ifdef TARVELLO_HAS_WAREHOUSE
        QVERIFY(writeFile(t.path(ProductRecord::fileName()),
                          productBytes(QStringLiteral("A1"), QStringLiteral("3"))));
#endif
        QVERIFY(writeFile(t.path(InvoiceRecord::fileName(QStringLiteral("2024"))),
                          invoiceBytes(QStringLiteral("1"), QStringLiteral("Officina Bianchi"))));
        const QString path = t.path(document);
        QVERIFY(writeFile(path, "esportazione precedente"));
        const QStringList filesBefore = folderFiles(t);

        QWidget* owner = nullptr;
        QString window;
        if (document == u"Fatture.xls") {
            owner = openInvoiceYear(t);
            window = QStringLiteral("frmExpFatture");
        } else {
            owner = t.window(QStringLiteral("frmMagazzino"));
            AppContext::showScreen(owner);
            window = QStringLiteral("frmExpMagazzino");
        }
        bool shown = false;
        t.services.modal.insert(window, [&](QDialog& d) {
            shown = true;
            faultydisk::arm(operation, t.dir.path(), 1, error);
            press(&d, "cmdEsporta");
            return d.result();
        });
        t.services.messages.clear();
        press(owner, "cmdEsporta");
        QVERIFY(shown);
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();

        QCOMPARE(
            t.services.lastMessage(),
            QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che "
                           "il file di Excel non sia già aperto."));
        for (const auto& m : t.services.messages)
            QVERIFY2(!m.text.contains(QStringLiteral("successo")), qPrintable(m.text));
        QVERIFY(t.services.opened.isEmpty());
        QCOMPARE(fileBytes(path, kMissingFile), QByteArray("esportazione precedente"));
        QCOMPARE(folderFiles(t), filesBefore);
    }

    void numberingAndCompanyData_data()
    {
        addFailures();
    }
    // The numbering dialog's Apply and the invoice screen's closing both rewrite Numerazione.ini.
    void numberingAndCompanyData()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
        const QString ini = numberingIniPath(t.dir.path());
        const QByteArray old("[Numerazione Fatture]\r\nInizio=7\r\nIndicazione Anno Solare=No\r\n"
                             "[Ditta Emittente]\r\nNome=Officina Rossi\r\n");
        QVERIFY(writeFile(ini, old));
        const QStringList filesBefore = folderFiles(t);
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        menu->show();
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2024"));
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        auto* screen = static_cast<TfrmFatture*>(t.window(QStringLiteral("frmFatture")));
        QVERIFY(screen->isVisible());

        bool stayedOpen = false;
        t.services.modal.insert(QStringLiteral("frmNumerazioneFat"), [&](QDialog& d) {
            auto& n = static_cast<TfrmNumerazioneFat&>(d);
            named<QLineEdit>(&n, u"txtInizio")->setText(QStringLiteral("25"));
            faultydisk::arm(operation, t.dir.path(), 1, error);
            QTest::mouseClick(named<QPushButton>(&n, u"btnApplica"), Qt::LeftButton);
            faultydisk::disarm();
            stayedOpen = n.result() != QDialog::Accepted;
            return d.result();
        });
        QTest::mouseClick(named<PictureButton>(screen, u"cmdNumerazione"), Qt::LeftButton);
        QVERIFY(stayedOpen);
        QVERIFY2(t.services.lastMessage().startsWith(QStringLiteral(
                     "Attenzione: non è stato possibile salvare le impostazioni di numerazione")),
                 qPrintable(t.services.lastMessage()));
        QCOMPARE(fileBytes(ini, kMissingFile), old);

        named<QLineEdit>(screen, u"txtDitta")->setText(QStringLiteral("Officina Bianchi"));
        // The changed company is a change of the invoice too: leaving it unsaved is asked first.
        t.services.answers.push_back(Answer::No);
        faultydisk::arm(operation, t.dir.path(), 1, error);
        QTest::mouseClick(named<PictureButton>(screen, u"cmdEsci"), Qt::LeftButton);
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QVERIFY2(t.services.lastMessage().startsWith(
                     QStringLiteral("Attenzione: non è stato possibile salvare i dati della Ditta")),
                 qPrintable(t.services.lastMessage()));
        QCOMPARE(fileBytes(ini, kMissingFile), old);
        QCOMPARE(folderFiles(t), filesBefore);
    }
    void documentsAndPictures_data()
    {
        addFailures();
    }
    // The card's PDF and the logo: the old file stays, the failure is told, nothing is offered.
    void documentsAndPictures()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        TestProgram t;
        const QString pdf = t.path(QStringLiteral("Cliente.pdf"));
        const QString logoFile = t.path(QStringLiteral("Logo.bmp"));
        QVERIFY(writeFile(pdf, "documento precedente"));
        QVERIFY(writeFile(logoFile, "logo precedente"));
        const QStringList filesBefore = folderFiles(t);

        auto* card = qobject_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
        AppContext::showScreen(card);
        named<QLineEdit>(card, u"txtCognome")->setText(QStringLiteral("Rossi"));
        faultydisk::arm(operation, t.dir.path(), 1, error);
        QTest::mouseClick(named<PictureButton>(card, u"cmdPDF"), Qt::LeftButton);
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);
        QVERIFY2(t.services.lastMessage().startsWith(
                     QStringLiteral("Attenzione: non è stato possibile creare il file PDF della scheda.")),
                 qPrintable(t.services.lastMessage()));
        QVERIFY(t.services.opened.isEmpty());
        QCOMPARE(fileBytes(pdf, kMissingFile), QByteArray("documento precedente"));

        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        menu->show();
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2024"));
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        auto* screen = static_cast<TfrmFatture*>(t.window(QStringLiteral("frmFatture")));
        t.services.modal.insert(QStringLiteral("frmLogo"), [&](QDialog& d) {
            faultydisk::arm(operation, t.dir.path(), 1, error);
            QTest::mouseClick(named<QPushButton>(&d, u"btnApplica"), Qt::LeftButton);
            faultydisk::disarm();
            return d.result();
        });
        QTest::mouseClick(named<PictureButton>(screen, u"btnLogo"), Qt::LeftButton);
        QVERIFY2(t.services.lastMessage().startsWith(
                     QStringLiteral("Attenzione: non è stato possibile salvare il logo nel file Logo.bmp.")),
                 qPrintable(t.services.lastMessage()));
        QCOMPARE(fileBytes(logoFile, kMissingFile), QByteArray("logo precedente"));
        QCOMPARE(folderFiles(t), filesBefore);
    }

    void electronicInvoiceFile_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("nth");          // which call of its kind fails, in the folder below
        QTest::addColumn<bool>("inDocuments"); // in FattureElettroniche, else anywhere in the data folder
        QTest::addColumn<QString>("message");
        const QString document = QStringLiteral("Attenzione: non è stato possibile scrivere il file "
                                                "IT01234567897_00001.xml: %1.");
        const QString progressive = QStringLiteral("Attenzione: non è stato possibile salvare il numero "
                                                   "progressivo nel file Numerazione.ini: %1.");
        // The document is written first: the first write and flush are its own; Numerazione.ini's
        // come after it. In the documents folder the lock is opened before the document.
        QTest::newRow("document, disk full")
            << Operation::Write << ENOSPC << 1 << false << document.arg(QStringLiteral("il disco è pieno"));
        QTest::newRow("document, flush fails")
            << Operation::Flush << EIO << 1 << false
            << document.arg(QStringLiteral("il disco ha dato un errore di lettura o scrittura"));
        QTest::newRow("document, open refused")
            << Operation::Open << EACCES << 2 << true
            << document.arg(QStringLiteral("mancano i permessi di scrittura nella cartella"));
        QTest::newRow("progressive, disk full") << Operation::Write << ENOSPC << 2 << false
                                                << progressive.arg(QStringLiteral("il disco è pieno"));
        QTest::newRow("progressive, rename refused")
            << Operation::Rename << EACCES << 1 << false
            << progressive.arg(QStringLiteral("mancano i permessi di scrittura nella cartella"));
    }
    // A document the disk does not take, or whose progressive number cannot be remembered, leaves
    // no file (nor a temporary one), uses no number and says why, in words a user can act on.
    void electronicInvoiceFile()
    {
        QFETCH(Operation, operation);
        QFETCH(int, error);
        QFETCH(int, nth);
        QFETCH(bool, inDocuments);
        QFETCH(QString, message);
        TestProgram t;
        const QString ini = numberingIniPath(t.dir.path());
        const QByteArray old("[Numerazione Fatture]\r\nInizio=1\r\n");
        QVERIFY(writeFile(ini, old));
        const QString folder = t.path(QStringLiteral("FattureElettroniche"));
        QVERIFY(QDir().mkpath(folder));
        faultydisk::arm(operation, inDocuments ? folder : t.dir.path(), nth, error);
        const EInvoice::Saved saved = EInvoice::save(
            folder, ini, EInvoice::readSettings(ini), u"01234567897", [](const QString& progressive) {
                return EInvoice::MadeFile{"<?xml version=\"1.0\"?><p:FatturaElettronica/>",
                                          EInvoice::fileName(u"01234567897", progressive),
                                          {}};
            });
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();
        QCOMPARE(saved.failure,
                 message + QStringLiteral("\n\r\n\rNessuna fattura elettronica è stata creata e "
                                          "il numero progressivo non è stato usato."));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral(".numerazione.lck")});
        QCOMPARE(fileBytes(ini, kMissingFile), old);
        QCOMPARE(
            QDir(t.dir.path()).entryList({QStringLiteral("Numerazione.ini?*")}, QDir::Files | QDir::Hidden),
            QStringList());
    }

    void printsIntoAPdfFile_data()
    {
        QTest::addColumn<PrintPath>("path");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("earlier"); // a file of that name is there before
        const std::pair<const char*, PrintPath> paths[] = {
            {"period summary", PrintPath::PeriodSummary},
            {"unpaid invoices", PrintPath::UnpaidInvoices},
            {"customer search", PrintPath::CustomerSearch},
#ifdef TARVELLO_HAS_WAREHOUSE
            {"low stock", PrintPath::LowStock},
            {"product card", PrintPath::ProductCard},
#endif
            {"customer card", PrintPath::CustomerCard},
            {"invoice", PrintPath::Invoice},
            {"chart bars", PrintPath::ChartBars},
            {"chart pie", PrintPath::ChartPie},
            {"preview", PrintPath::Preview},
        };
        for (const auto& [name, path] : paths) {
            QTest::addRow("%s, disk full", name) << path << Operation::Write << ENOSPC << false;
            QTest::addRow("%s, flush fails over an earlier file", name)
                << path << Operation::Flush << EIO << true;
            QTest::addRow("%s, rename refused over an earlier file", name)
                << path << Operation::Rename << EACCES << true;
        }
    }
    // Whatever is printed, a PDF file chosen in the print dialog that the disk refuses is told as
    // a failure, and leaves neither an empty nor a partial file: nothing where there was nothing,
    // the earlier file where there was one, and no temporary file.
    void printsIntoAPdfFile()
    {
        QFETCH(PrintPath, path);
        QFETCH(Operation, operation);
        QFETCH(int, error);
        QFETCH(bool, earlier);
        TestProgram t;
        const QString pdf = t.path(QStringLiteral("stampa.pdf"));
        if (earlier)
            QVERIFY(writeFile(pdf, "stampa precedente"));
        t.services.printToPdf = pdf;
        printDown(t, path, [&] { faultydisk::arm(operation, t.dir.path(), 1, error); });
        QCOMPARE(faultydisk::failures(), 1);
        faultydisk::disarm();

        QCOMPARE(t.services.printDialogs, 1);
        QCOMPARE(
            t.services.lastMessage(),
            QStringLiteral("Attenzione: non è stato possibile creare il file stampa.pdf.\n\r\n\rSe il file è "
                           "aperto in un altro programma chiuderlo e riprovare; accertarsi inoltre di "
                           "possedere i privilegi di scrittura nella cartella \u00AB") +
                QDir::toNativeSeparators(t.dir.path()) +
                QStringLiteral("\u00BB e che il disco non sia pieno."));
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);
        if (earlier)
            QCOMPARE(fileBytes(pdf, kMissingFile), QByteArray("stampa precedente"));
        else
            QVERIFY(!QFile::exists(pdf));
        for (const QString& name : folderFiles(t))
            QVERIFY2(!name.startsWith(QStringLiteral(".stampa")), qPrintable(name));
    }
};

TARVELLO_TEST_MAIN(FailingDiskTest)
#include "test_failing_disk.moc"

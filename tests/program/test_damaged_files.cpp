// The program's files damaged (cut short, random bytes, all 0xFF, records of another archive, a
// folder in their place, a huge settings file, a password file that cannot be decoded, a logo
// that is no picture), driven through the real windows: each screen opens, shows the whole
// records it finds, says what it cannot read, and writes nothing over the damaged file unless
// the user saves.

#include "archive/archivefile.h"
#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "customers/customercard.h"
#include "files.h"
#include "invoices/invoicecard.h"
#include "invoices/numbering.h"
#include "logcapture.h"
#include "output/exportwindow.h"
#include "saidtexts.h"
#include "shell/conventions.h"
#include "shell/password.h"
#include "testprogram.h"
#include "warehouse/productcard.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

using namespace tarvello;

namespace
{

enum class Archive { Customers, Products, Invoices };
enum class Damage { Empty, CutShort, RandomBytes, AllFF, OtherRecordSize, Folder };

template <class T = QWidget> T* part(const QWidget* window, const char* name)
{
    T* found = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (!found)
        qWarning("no %s in %s", name, window ? qPrintable(window->objectName()) : "no window");
    return found;
}

void press(const QWidget* window, const char* name)
{
    if (auto* b = part<QAbstractButton>(window, name))
        QTest::mouseClick(b, Qt::LeftButton);
}

QString textOf(const QWidget* window, const char* name)
{
    const auto* edit = part<QLineEdit>(window, name);
    return edit ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

QString labelOf(const QWidget* window, const char* name)
{
    const auto* label = part<QLabel>(window, name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

struct ArchiveFacts {
    QString file;
    int size;
    const char* window;
    const char* keyControl; // the control that shows each record's first field
};

ArchiveFacts facts(Archive archive)
{
    switch (archive) {
    case Archive::Customers:
        return {CustomerRecord::fileName(), CustomerRecord::Size, "frmClienti", "txtCognome"};
    case Archive::Products:
        return {ProductRecord::fileName(), ProductRecord::Size, "frmMagazzino", "txtCodice"};
    case Archive::Invoices:
        return {InvoiceRecord::fileName(QStringLiteral("2024")), InvoiceRecord::Size, "frmFatture",
                "txtCliente"};
    }
    return {};
}

// A whole record of `archive` whose key control shows `key`.
QByteArray wholeRecord(Archive archive, const QString& key)
{
    switch (archive) {
    case Archive::Customers: {
        CustomerCard::CardTexts texts;
        texts[CustomerRecord::Cognome] = key;
        texts[CustomerRecord::Nome] = QStringLiteral("Anna");
        return CustomerCard::toRecord(texts).bytes();
    }
    case Archive::Products: {
        ProductCard::CardTexts texts;
        texts[ProductRecord::Codice] = key;
        texts[ProductRecord::Giacenza] = QStringLiteral("3");
        return ProductCard::toRecord(texts).bytes();
    }
    case Archive::Invoices: {
        InvoiceCard::CardTexts texts;
        texts[InvoiceRecord::NumFatt] = QStringLiteral("1");
        texts[InvoiceRecord::Data] = QStringLiteral("02/01/2024");
        texts[InvoiceRecord::Cliente] = key;
        return InvoiceCard::toRecord(texts).bytes();
    }
    }
    return {};
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

// Opens the screen of `archive` the way the user does.
QWidget* openScreen(TestProgram& t, Archive archive)
{
    if (archive == Archive::Invoices) {
        QWidget* menu = t.window(QStringLiteral("frmMenuFatture"));
        menu->show();
        part<QLineEdit>(menu, "txtAnnoFatture")->setText(QStringLiteral("2024"));
        press(menu, "btnApriFatture");
        return t.window(QStringLiteral("frmFatture"));
    }
    QWidget* screen = t.window(QString::fromLatin1(facts(archive).window));
    AppContext::showScreen(screen);
    return screen;
}

} // namespace

// Fifty gigabytes that take no room on the disk: a file made long with ftruncate.
bool makeSparse(const QString& path, qint64 size)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.resize(size);
}

constexpr qint64 kFiftyGigabytes = qint64(50) << 30;

Q_DECLARE_METATYPE(Archive)
Q_DECLARE_METATYPE(Damage)

class DamagedFilesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anArchive_data()
    {
        QTest::addColumn<Archive>("archive");
        QTest::addColumn<Damage>("damage");
        const std::pair<const char*, Archive> archives[] = {{"customers", Archive::Customers},
                                                            {"products", Archive::Products},
                                                            {"invoices", Archive::Invoices}};
        const std::pair<const char*, Damage> damages[] = {
            {"empty", Damage::Empty},
            {"cut short", Damage::CutShort},
            {"random bytes", Damage::RandomBytes},
            {"all 0xFF", Damage::AllFF},
            {"records of another archive", Damage::OtherRecordSize},
            {"a folder in its place", Damage::Folder},
        };
        for (const auto& [archiveName, archive] : archives)
            for (const auto& [damageName, damage] : damages)
                QTest::addRow("%s, %s", archiveName, damageName) << archive << damage;
    }
    // The card goes through every whole record with the arrows, the search and the export window
    // read the archive, the card is left: the damaged file is byte for byte as it was.
    void anArchive()
    {
        QFETCH(Archive, archive);
        QFETCH(Damage, damage);
        TestProgram t;
        const ArchiveFacts f = facts(archive);
        const QString path = t.path(f.file);
        QByteArray bytes;
        switch (damage) {
        case Damage::Empty:
            break;
        case Damage::CutShort:
            bytes = wholeRecord(archive, QStringLiteral("Primo")) +
                    wholeRecord(archive, QStringLiteral("Secondo")).left(f.size / 2);
            break;
        case Damage::RandomBytes:
            bytes = randomBytes(3 * f.size + 17, 21);
            break;
        case Damage::AllFF:
            bytes = QByteArray(2 * f.size, char(0xFF));
            break;
        case Damage::OtherRecordSize: {
            const Archive other = archive == Archive::Products ? Archive::Customers : Archive::Products;
            for (int i = 0; i < 4; ++i)
                bytes += wholeRecord(other, QStringLiteral("Altro"));
            break;
        }
        case Damage::Folder:
            break;
        }
        if (damage == Damage::Folder)
            QVERIFY(QDir(t.dir.path()).mkdir(f.file));
        else
            QVERIFY(writeFile(path, bytes));
        const qint64 whole = damage == Damage::Folder ? -1 : bytes.size() / f.size;

        QWidget* screen = openScreen(t, archive);
        QVERIFY(screen);
        QVERIFY(screen->isVisible());
        t.services.messages.clear();

        press(screen, "cmdUltimo");
        if (whole > 0) {
            QCOMPARE(labelOf(screen, "lblPosizione"), QString::number(whole));
            for (qint64 k = whole - 1; k >= 1; --k) {
                press(screen, "cmdIndietro");
                QCOMPARE(labelOf(screen, "lblPosizione"), QString::number(k));
            }
            if (damage == Damage::CutShort)
                QCOMPARE(textOf(screen, f.keyControl), QStringLiteral("Primo"));
            QCOMPARE(t.services.messages.size(), 0);
        } else {
            QCOMPARE(t.services.lastMessage(), whole == 0 ? said::archiveEmpty : said::archiveAccess);
            QCOMPARE(labelOf(screen, "lblPosizione"), QString());
        }

        // The search reads every record.
        int searches = 0;
        for (const char* window : {"frmTrovaClienti", "frmTrovaMagazzino", "frmTrovaFatture"})
            t.services.modal.insert(QString::fromLatin1(window), [&](QDialog& d) {
                ++searches;
                press(&d, "btnCerca");
                return int(QDialog::Rejected);
            });
        press(screen, "cmdTrova");
        QCOMPARE(searches, 1);

        // The export window reads every whole record into its grid.
        int exportRows = -2;
        for (const char* window : {"frmExpClienti", "frmExpMagazzino", "frmExpFatture"})
            t.services.modal.insert(QString::fromLatin1(window), [&](QDialog& d) {
                auto* grid = qobject_cast<ExportWindow*>(&d);
                exportRows = grid ? grid->gridModel()->rowCount() : -3;
                return int(QDialog::Rejected);
            });
        press(screen, "cmdEsporta");
        if (whole > 0)
            QCOMPARE(exportRows, int(whole));

        // Leaving an untouched card asks nothing and saves nothing.
        t.services.messages.clear();
        press(screen, "cmdEsci");
        for (const auto& m : t.services.messages)
            QVERIFY2(m.text != said::unsavedChanges, qPrintable(m.text));
        QVERIFY(!screen->isVisible());
        if (damage == Damage::Folder)
            QVERIFY(QFileInfo(path).isDir());
        else
            QCOMPARE(fileBytes(path, kMissingFile), bytes);
    }

    void theStockJournal_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("stockAfter"); // the cable's stock after the login (10 before it)
        QTest::addColumn<QString>("said");       // a part of the message after the login
        // A program gone (no session file) left imports of 2 m of cable unsaved.
        const QByteArray held = "H\tgone-1\tgone\ta\t2026.fat\t12/2026\t0\tCAVO\t2\n";
        QTest::newRow("an import left") << held << QStringLiteral("12") << QStringLiteral("- CAVO: 2");
        QTest::newRow("fifty gigabytes, sparse")
            << QByteArray() << QStringLiteral("10")
            << QStringLiteral(
                   "Il file PrelieviSospesi.txt della cartella del programma è troppo grande (51200 MB)");
        QTest::newRow("held by a stopped program")
            << held << QStringLiteral("10")
            << QStringLiteral("Il file PrelieviSospesi.txt della cartella del programma è in uso da un'altra "
                              "postazione");
        QTest::newRow("a negative quantity")
            << QByteArray("H\tgone-1\tgone\ta\t2026.fat\t12/2026\t0\tCAVO\t-500\n") << QStringLiteral("10")
            << QString();
        QTest::newRow("a quantity no stock can hold")
            << QByteArray("H\tgone-1\tgone\ta\t2026.fat\t12/2026\t0\tCAVO\t1e300\n") << QStringLiteral("10")
            << QString();
        QTest::newRow("a quantity that is no number")
            << QByteArray("H\tgone-1\tgone\ta\t2026.fat\t12/2026\t0\tCAVO\tinf\n") << QStringLiteral("10")
            << QString();
        QTest::newRow("an id twice") << held + held << QStringLiteral("12") << QStringLiteral("- CAVO: 2");
        QTest::newRow("windows line ends")
            << QByteArray("H\tgone-1\tgone\ta\t2026.fat\t12/2026\t0\tCAVO\t2\r\nG\tgone-1\r\n"
                          "H\tgone-2\tgone\ta\t2026.fat\t12/2026\t0\tCAVO\t3\r\n")
            << QStringLiteral("13") << QStringLiteral("- CAVO: 3");
    }
    // The journal of units held by unsaved invoices, damaged or held: the login goes on, gives
    // back what the journal really holds, once, and says what it could not read.
    void theStockJournal()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, stockAfter);
        QFETCH(QString, said);
        const QByteArray tag = QTest::currentDataTag();
        TestProgram t;
        Record cable(ProductRecord::layout());
        cable.setText(ProductRecord::Codice, u"CAVO");
        cable.setText(ProductRecord::Giacenza, u"10");
        cable.setText(ProductRecord::Costo, u"2,00");
        cable.setText(ProductRecord::Valore, u"20,00");
        QVERIFY(writeFile(t.path(ProductRecord::fileName()), cable.bytes()));
        const QString journal = t.path(QStringLiteral("PrelieviSospesi.txt"));
        QVERIFY(writeFile(journal, lines));
        if (tag == "fifty gigabytes, sparse")
            QVERIFY(makeSparse(journal, kFiftyGigabytes));
        std::optional<LockedElsewhere> holder;
        if (tag == "held by a stopped program") {
            holder.emplace(journal);
            QVERIFY(holder->held());
            QVERIFY(holder->stop());
            ArchiveFile::setLockTimeout(300);
        }
        t.program->start();
        auto* field = part<QLineEdit>(t.window(QStringLiteral("frmPassword")), "txtPassword");
        QVERIFY(field);
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("chiaveiniziale"));
        QTest::keyClick(field, Qt::Key_Return);
        ArchiveFile::setLockTimeout(5000);
        QVERIFY(t.window(QStringLiteral("frmAvvio"))->isVisible());
        const Record stored(ProductRecord::layout(), fileBytes(t.path(ProductRecord::fileName())));
        QCOMPARE(stored.text(ProductRecord::Giacenza), stockAfter);
        if (said.isEmpty()) {
            QCOMPARE(t.services.lastMessage(), QString());
        } else {
            QVERIFY2(t.services.lastMessage().contains(said), qPrintable(t.services.lastMessage()));
        }
        if (tag == "fifty gigabytes, sparse")
            QCOMPARE(QFileInfo(journal).size(), kFiftyGigabytes);
    }

    // A recovery journal beside an archive that is no journal at all: fifty gigabytes of
    // nothing. The card opens and shows its records; the file is named in the log.
    void aHugeRecoveryJournal_data()
    {
        QTest::addColumn<Archive>("archive");
        QTest::newRow("customers") << Archive::Customers;
        QTest::newRow("products") << Archive::Products;
        QTest::newRow("invoices") << Archive::Invoices;
    }
    void aHugeRecoveryJournal()
    {
        QFETCH(Archive, archive);
        TestProgram t;
        const ArchiveFacts f = facts(archive);
        const QString path = t.path(f.file);
        const QByteArray bytes = wholeRecord(archive, QStringLiteral("Primo"));
        QVERIFY(writeFile(path, bytes));
        const QString journal = ArchiveFile::journalPath(path);
        QVERIFY(makeSparse(journal, kFiftyGigabytes));
        QWidget* screen = openScreen(t, archive);
        QVERIFY(screen && screen->isVisible());
        t.services.messages.clear();
        const std::vector<LogLine> log = logOf([&] { press(screen, "cmdPrimo"); });
        QCOMPARE(t.services.messages.size(), 0);
        QCOMPARE(labelOf(screen, "lblPosizione"), QStringLiteral("1"));
        QCOMPARE(textOf(screen, f.keyControl), QStringLiteral("Primo"));
        QCOMPARE(fileBytes(path), bytes);
        bool named = false;
        for (const LogLine& l : log)
            named = named || l.text.contains(journal);
        QVERIFY(named);
    }

    void theNumberingFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("company");
        const QByteArray section = "[Ditta Emittente]\r\nNome=Officina Rossi\r\n";
        QTest::newRow("random bytes around the section")
            << randomBytes(5000, 7) + "\r\n" + section + randomBytes(3000, 8)
            << QStringLiteral("Officina Rossi");
        QTest::newRow("lone carriage returns")
            << QByteArray("[Ditta Emittente]\rNome=Officina Rossi\r\rCAP=47121\r")
            << QStringLiteral("Officina Rossi");
        QTest::newRow("all 0xFF") << QByteArray(4096, char(0xFF)) << QString();
        QTest::newRow("empty") << QByteArray() << QString();
        // Twenty megabytes of settings nobody reads, the company's at the end.
        QByteArray huge;
        huge.reserve(21 << 20);
        huge += "[Altro]\r\n";
        for (int i = 0; huge.size() < (20 << 20); ++i)
            huge += "Chiave" + QByteArray::number(i) + "=" + QByteArray(60, 'x') + "\r\n";
        huge += section;
        QTest::newRow("twenty megabytes") << huge << QStringLiteral("Officina Rossi");
    }
    // The invoice screen opens over a damaged Numerazione.ini, shows the company it can read, and
    // leaving it with the company unchanged does not rewrite the file.
    void theNumberingFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, company);
        TestProgram t;
        const QString ini = numberingIniPath(t.dir.path());
        QVERIFY(writeFile(ini, bytes));
        QWidget* screen = openScreen(t, Archive::Invoices);
        QVERIFY(screen && screen->isVisible());
        QCOMPARE(textOf(screen, "txtDitta"), company);
        press(screen, "cmdEsci");
        QVERIFY(!screen->isVisible());
        QCOMPARE(fileBytes(ini, kMissingFile), bytes);
    }

    // A Logo.bmp that is no picture: the logo window and the printed invoice fall back to the
    // program's own logo, and neither writes over the file unless the user applies a logo.
    void aLogoThatIsNoPicture()
    {
        TestProgram t;
        const QString logo = t.path(QStringLiteral("Logo.bmp"));
        const QByteArray bytes = "BM questo non è un'immagine" + randomBytes(200, 5);
        QVERIFY(writeFile(logo, bytes));
        QWidget* screen = openScreen(t, Archive::Invoices);
        QVERIFY(screen && screen->isVisible());

        bool shown = false;
        t.services.modal.insert(QStringLiteral("frmLogo"), [&](QDialog& d) {
            const auto* picture = part<QLabel>(&d, "imgLogo");
            shown = picture && !picture->pixmap().isNull();
            press(&d, "btnAnnulla");
            return d.result();
        });
        press(screen, "btnLogo");
        QVERIFY(shown);
        QCOMPARE(fileBytes(logo, kMissingFile), bytes);

        part<QLineEdit>(screen, "txtCliente")->setText(QStringLiteral("Officina Rossi"));
        t.services.printToPdf = t.path(QStringLiteral("fattura.pdf"));
        t.services.modal.insert(QStringLiteral("frmStampaFat"), [&](QDialog& d) {
            press(&d, "btnConferma");
            return d.result();
        });
        press(screen, "cmdStampa");
        QCOMPARE(t.services.printDialogs, 1);
        QVERIFY(QFileInfo(t.services.printToPdf).size() > 0);
        QCOMPARE(fileBytes(logo, kMissingFile), bytes);
    }

    void thePasswordFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readError"); // else the password reads as empty: "password errata"
        QTest::newRow("random bytes") << randomBytes(300, 3) << false;
        QTest::newRow("a value that is no code")
            << QByteArray("[Accesso]\r\nValore=ZZ-non-esadecimale\r\n") << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("cut before the value") << QByteArray("[Accesso]\r\nVal") << false;
        QTest::newRow("another section's value") << QByteArray("[Altro]\r\nValore=\r\n") << false;
        QTest::newRow("a folder in its place") << QByteArray() << true;
        QTest::newRow("missing") << QByteArray() << false;
    }
    // A password file that cannot be decoded, or holds no password at all: nothing typed opens
    // the program: the password window says so, lets
    // nobody in, and leaves the file as it was.
    void thePasswordFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readError);
        TestProgram t;
        const QString file = t.path(passwordFileName());
        const bool folder = QByteArray(QTest::currentDataTag()) == "a folder in its place";
        const bool missing = QByteArray(QTest::currentDataTag()) == "missing";
        if (missing) {
            QVERIFY(QFile::remove(file));
        } else if (folder) {
            QVERIFY(QFile::remove(file));
            QVERIFY(QDir(t.dir.path()).mkdir(passwordFileName()));
        } else {
            QVERIFY(writeFile(file, bytes));
        }
        t.program->start();
        QWidget* window = t.window(QStringLiteral("frmPassword"));
        QVERIFY(window && window->isVisible());
        auto* field = part<QLineEdit>(window, "txtPassword");
        QVERIFY(field);
        const QString readErrorText =
            QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della "
                           "password. Si consiglia di reinstallare il software.");
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("chiaveiniziale"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(t.services.lastMessage(),
                 readError ? readErrorText : QStringLiteral("Attenzione: password errata."));
        QVERIFY(!t.window(QStringLiteral("frmAvvio"))->isVisible());
        if (folder)
            QVERIFY(QFileInfo(file).isDir());
        else if (missing)
            QVERIFY(!QFile::exists(file));
        else
            QCOMPARE(fileBytes(file, kMissingFile), bytes);
    }
};

TARVELLO_TEST_MAIN(DamagedFilesTest)
#include "test_damaged_files.moc"

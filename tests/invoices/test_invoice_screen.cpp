#include "archive/archivefile.h"
#include "core/ini.h"
#include "invoices/fatture.h"
#include "invoices/invoicedialogs.h"
#include "invoices/numbering.h"
#include "logcapture.h"
#include "namedcontrols.h"
#include "readonlyfolder.h"
#include "saidtexts.h"
#include "shell/conventions.h"
#include "shell/handoffs.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>

using namespace tarvello;

namespace
{

QString focusName()
{
    const QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

// Runs a step that checks things, and ends the test when a check in it failed.
#define STEP(step)                                                                                           \
    do {                                                                                                     \
        step;                                                                                                \
        if (QTest::currentTestFailed())                                                                      \
            return;                                                                                          \
    } while (false)

// A key pressed where the focus is, as a user presses it.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "nothing has the focus");
    QTest::keyClick(focus, key, modifiers);
}

void typeHere(const QString& text)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "nothing has the focus");
    QTest::keyClicks(focus, text);
}

// Presses `key` until `target` has the focus, at most `most` times.
void pressUntil(Qt::Key key, const QWidget* target, int most)
{
    for (int i = 0; i < most && QApplication::focusWidget() != target; ++i)
        STEP(press(key));
    QCOMPARE(focusName(), target->objectName());
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Appends `count` invoices numbered 1.. to a year file, as earlier sessions would have left them.
void writeInvoices(const QString& path, int count)
{
    ArchiveFile file(path, InvoiceRecord::Size);
    QVERIFY(file.open());
    Record rec(InvoiceRecord::layout());
    for (int i = 1; i <= count; ++i) {
        rec.setText(InvoiceRecord::NumFatt, QString::number(i));
        rec.setText(InvoiceRecord::Cliente, QStringLiteral("Cliente %1").arg(i));
        rec.setText(InvoiceRecord::Data, QStringLiteral("0%1/01/2024").arg(i));
        QVERIFY(file.seek(file.count()));
        QVERIFY(file.write(rec.bytes()));
    }
}

} // namespace

// Where the fields of a stored invoice start (their length byte), as the file format fixes them.
namespace at
{
constexpr int Data = 31;
constexpr int Cliente = 385;
constexpr int Quant01 = 1086;
constexpr int Prezzo01 = 3606;
constexpr int PercSconto01 = 3936;
constexpr int Importo01 = 4146;
constexpr int Es01 = 4476;
constexpr int EsStride = 3; // the 30 exempt flags lie side by side, "Sì"/"No" in 2 bytes each
constexpr int TotImponibile = 4566;
constexpr int PercIva = 4577;
constexpr int TotImposta = 4588;
constexpr int TotIva = 4599;
constexpr int TotEsente = 4610;
constexpr int TotFattura = 4621;
} // namespace at

class InvoiceScreenTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmFatture* s = nullptr;

    // Opens the screen on a year through the invoice menu, as a user does.
    void openYear(const QString& year)
    {
        auto* menu = static_cast<TfrmMenuFatture*>(t->window(QStringLiteral("frmMenuFatture")));
        menu->show();
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(year);
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        s = static_cast<TfrmFatture*>(t->window(QStringLiteral("frmFatture")));
        QApplication::setActiveWindow(s);
        QVERIFY(QTest::qWaitForWindowActive(s));
    }

    QString file() const { return named<QLabel>(s, u"lblFile")->text(); }

    void typeRow(int row, const QString& quantity, const QString& price, const QString& discount = {})
    {
        const size_t k = size_t(row - 1);
        named<QLineEdit>(s, u"txtQuant", k)->setFocus();
        QTest::keyClicks(named<QLineEdit>(s, u"txtQuant", k), quantity);
        QTest::keyClick(named<QLineEdit>(s, u"txtQuant", k), Qt::Key_Return);
        QTest::keyClick(named<QLineEdit>(s, u"txtCodice", k), Qt::Key_Return);
        QTest::keyClick(named<QLineEdit>(s, u"txtDesc", k), Qt::Key_Return);
        QTest::keyClicks(named<QLineEdit>(s, u"txtPrezzo", k), price);
        QTest::keyClick(named<QLineEdit>(s, u"txtPrezzo", k), Qt::Key_Return);
        QTest::keyClicks(named<QLineEdit>(s, u"txtPercSconto", k), discount);
        QTest::keyClick(named<QLineEdit>(s, u"txtPercSconto", k), Qt::Key_Return); // leaving tidies the field
    }

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<TestProgram>();
        openYear(QStringLiteral("2024"));
    }
    void cleanup()
    {
        s = nullptr;
        t.reset();
    }

    void menuOpensTheYearWithoutCreatingItsFile()
    {
        QCOMPARE(file(), t->path(QStringLiteral("2024.fat")));
        QCOMPARE(named<QLabel>(s, u"lblAnno")->text(), QStringLiteral("2024"));
        QCOMPARE(s->windowTitle(), QStringLiteral(" Tarvello - Emissione fatture proforma anno 2024"));
        QVERIFY(s->isVisible());
        QVERIFY(!t->window(QStringLiteral("frmMenuFatture"))->isVisible());
        QVERIFY(!QFile::exists(file()));
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QString());
        QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(s, u"txtCliente"));
    }

    void typingEmptiesAmountsAndCalculationFillsThem()
    {
        typeRow(1, QStringLiteral("2,50"), QStringLiteral("7"));
        QCOMPARE(named<QLineEdit>(s, u"txtQuant", 0)->text(), QStringLiteral("2,5"));
        QCOMPARE(named<QLineEdit>(s, u"txtPrezzo", 0)->text(), QStringLiteral("7,00"));
        typeRow(2, QStringLiteral("1"), QStringLiteral("40"), QStringLiteral("10,00"));
        QCOMPARE(named<QLineEdit>(s, u"txtPercSconto", 1)->text(), QStringLiteral("10"));
        QTest::keyClicks(named<QLineEdit>(s, u"txtPercIva"), QStringLiteral("22"));
        QTest::mouseClick(named<QPushButton>(s, u"cmdCalcola"), Qt::LeftButton);
        QCOMPARE(named<QLabel>(s, u"txtImporto", 0)->text(), QStringLiteral("17,50"));
        QCOMPARE(named<QLabel>(s, u"txtImporto", 1)->text(), QStringLiteral("36,00"));
        QCOMPARE(named<QLabel>(s, u"txtTotImponibile")->text(), QStringLiteral("53,50"));
        QCOMPARE(named<QLabel>(s, u"txtTotImposta")->text(), QStringLiteral("11,77"));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(), QStringLiteral("65,27"));

        // Tab and Shift+Tab through a row move on without touching it: the figures stay.
        named<QLineEdit>(s, u"txtPrezzo", 1)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(named<QLineEdit>(s, u"txtPrezzo", 1), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(named<QLabel>(s, u"txtImporto", 1)->text(), QStringLiteral("36,00"));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(), QStringLiteral("65,27"));
        QTest::keyClick(named<QLineEdit>(s, u"txtPrezzo", 1), Qt::Key_Left); // any other key, even an arrow
        QCOMPARE(named<QLabel>(s, u"txtImporto", 1)->text(), QString());
        QCOMPARE(named<QLabel>(s, u"txtImporto", 0)->text(), QStringLiteral("17,50"));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(), QString());
        QTest::mouseClick(named<QPushButton>(s, u"cmdCalcola"), Qt::LeftButton);
        QTest::keyClick(named<QLineEdit>(s, u"txtPercIva"), Qt::Key_Backspace);
        QCOMPARE(named<QLabel>(s, u"txtTotImponibile")->text(), QString());
        QCOMPARE(named<QLabel>(s, u"txtImporto", 1)->text(), QStringLiteral("36,00"));
    }

    void savingStoresTheRecordByteForByte()
    {
        typeRow(1, QStringLiteral("2"), QStringLiteral("10"));
        QTest::keyClicks(named<QLineEdit>(s, u"txtPercIva"), QStringLiteral("22"));
        QTest::keyClicks(named<QLineEdit>(s, u"txtCliente"), QStringLiteral("Rossi Mario"));
        named<QLineEdit>(s, u"txtNumFatt")->setText(QStringLiteral("1"));
        named<QLineEdit>(s, u"txtData")->setText(QStringLiteral("5/3/2024"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(t->services.lastKind(), MessageKind::Information);
        QCOMPARE(t->services.lastMessage(),
                 QStringLiteral("La scheda corrente è stata inserita in archivio."));
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("1"));

        const QByteArray b = fileBytes(file());
        QCOMPARE(b.size(), InvoiceRecord::Size);
        QCOMPARE(b.mid(at::Data, 9), QByteArray("\x08"
                                                "5/3/2024")); // stored as typed
        QCOMPARE(b.mid(at::Cliente, 12), QByteArray("\x0B"
                                                    "Rossi Mario"));
        QCOMPARE(b.mid(at::Quant01, 2), QByteArray("\x01"
                                                   "2"));
        QCOMPARE(b.mid(at::Prezzo01, 6), QByteArray("\x05"
                                                    "10,00"));
        QCOMPARE(b.mid(at::PercSconto01, 1), QByteArray("\x00", 1));
        QCOMPARE(b.mid(at::Importo01, 6), QByteArray("\x05"
                                                     "20,00"));
        for (int row = 0; row < 30; ++row)
            QCOMPARE(b.mid(at::Es01 + row * at::EsStride, 3), QByteArray("\x02No"));
        QCOMPARE(b.mid(at::TotImponibile, 6), QByteArray("\x05"
                                                         "20,00"));
        QCOMPARE(b.mid(at::PercIva, 3), QByteArray("\x02"
                                                   "22"));
        QCOMPARE(b.mid(at::TotImposta, 5), QByteArray("\x04"
                                                      "4,40"));
        QCOMPARE(b.mid(at::TotIva, 6), QByteArray("\x05"
                                                  "24,40"));
        QCOMPARE(b.mid(at::TotEsente, 5), QByteArray("\x04"
                                                     "0,00"));
        QCOMPARE(b.mid(at::TotFattura, 6), QByteArray("\x05"
                                                      "24,40"));
        QCOMPARE(b.right(3), QByteArray("\x02No"));

        // A second save overwrites the same record.
        named<QCheckBox>(s, u"chkSaldata")->setChecked(true);
        named<QCheckBox>(s, u"chkEs", 4)->setChecked(true);
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(
            t->services.lastMessage(),
            QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
        const QByteArray after = fileBytes(file());
        QCOMPARE(after.size(), InvoiceRecord::Size);
        QCOMPARE(after.right(3), QByteArray("\x02S\xEC"));
        QCOMPARE(after.mid(at::Es01 + 4 * at::EsStride, 3), QByteArray("\x02S\xEC"));
    }

    void saveChecksCustomerNumberDateInOrder_data()
    {
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString noCustomer = QStringLiteral("Attenzione: per salvare la scheda è necessario indicare "
                                                  "il nome o la ragione sociale del cliente.");
        const QString noNumber = QStringLiteral(
            "Attenzione: per salvare la scheda è necessario indicare il numero della fattura.");
        const QString noDate =
            QStringLiteral("Attenzione: per salvare la scheda è necessario indicare la data della fattura.");
        const QString badDate =
            QStringLiteral("Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare "
                           "la scheda è necessario indicare una data valida nel formato gg/mm/anno.");
        QTest::newRow("nothing") << QString() << QString() << QString() << noCustomer << "txtCliente";
        QTest::newRow("blank customer") << QStringLiteral("   ") << "1"
                                        << "01/01/2024" << noCustomer << "txtCliente";
        QTest::newRow("number before date") << "Rossi" << QString() << QString() << noNumber << "txtNumFatt";
        QTest::newRow("no date") << "Rossi"
                                 << "1" << QString() << noDate << "txtData";
        QTest::newRow("31 February") << "Rossi"
                                     << "1"
                                     << "31/02/2024" << badDate << "txtData";
        QTest::newRow("not a date") << "Rossi"
                                    << "1"
                                    << "domani" << badDate << "txtData";
    }
    void saveChecksCustomerNumberDateInOrder()
    {
        QFETCH(QString, customer);
        QFETCH(QString, number);
        QFETCH(QString, date);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        named<QLineEdit>(s, u"txtCliente")->setText(customer);
        named<QLineEdit>(s, u"txtNumFatt")->setText(number);
        named<QLineEdit>(s, u"txtData")->setText(date);
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.lastKind(), MessageKind::Warning);
        QCOMPARE(t->services.lastMessage(), message);
        QCOMPARE(focusName(), focus);
        QVERIFY(!QFile::exists(file()));
    }

    void aFailedCalculationStillSavesWithZeroTotals()
    {
        typeRow(1, QStringLiteral("1"), QStringLiteral("5"));
        named<QLineEdit>(s, u"txtQuant", 1)->setFocus();
        QTest::keyClicks(named<QLineEdit>(s, u"txtQuant", 1), QStringLiteral("2"));
        named<QLineEdit>(s, u"txtPrezzo", 1)->setFocus();
        QTest::keyClicks(named<QLineEdit>(s, u"txtPrezzo", 1),
                         QStringLiteral("1,2,3")); // the picture button takes no focus
        named<QLineEdit>(s, u"txtCliente")->setText(QStringLiteral("Rossi"));
        named<QLineEdit>(s, u"txtNumFatt")->setText(QStringLiteral("1"));
        named<QLineEdit>(s, u"txtData")->setText(QStringLiteral("01/01/2024"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(named<QLabel>(s, u"txtImporto", 0)->text(), QStringLiteral("5,00"));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(), QStringLiteral("0,00"));
        QCOMPARE(t->services.lastMessage(),
                 QStringLiteral("La scheda corrente è stata inserita in archivio."));
        QCOMPARE(fileBytes(file()).mid(at::TotFattura, 5), QByteArray("\x04"
                                                                      "0,00"));
    }

    void newProposesTheNextNumberWithTodaysYear()
    {
        writeInvoices(file(), 7);
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"), Qt::LeftButton);
        QCOMPARE(named<QLineEdit>(s, u"txtNumFatt")->text(), QStringLiteral("8"));
        QCOMPARE(named<QLineEdit>(s, u"txtData")->text(), QStringLiteral("09/12/2026"));
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QString());
        named<QLineEdit>(s, u"txtCliente")->setText(QStringLiteral("Verdi"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("8"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"), Qt::LeftButton);
        QCOMPARE(named<QLineEdit>(s, u"txtNumFatt")->text(), QStringLiteral("9"));

        // The suffix is today's year (2026), not the file's (2024).
        QVERIFY(writeNumberingSettings(numberingIniPath(t->dir.path()), u"100", true));
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"), Qt::LeftButton);
        QCOMPARE(named<QLineEdit>(s, u"txtNumFatt")->text(), QStringLiteral("108/2026"));
        QCOMPARE(named<QLabel>(s, u"lblInizio")->text(), QStringLiteral("100"));
    }

    void newOnAMissingFileCreatesItAndANonNumericStartFails()
    {
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"), Qt::LeftButton);
        QVERIFY(QFile::exists(file()));
        QCOMPARE(named<QLineEdit>(s, u"txtNumFatt")->text(), QStringLiteral("1"));
        QVERIFY(writeIniString(numberingIniPath(t->dir.path()), u"Numerazione Fatture", u"Inizio",
                               QStringLiteral("x")));
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"), Qt::LeftButton);
        QCOMPARE(t->services.lastKind(), MessageKind::Error);
        QCOMPARE(t->services.lastMessage(), said::archiveAccess);
    }

    void navigationFollowsThePosition()
    {
        QTest::mouseClick(named<PictureButton>(s, u"cmdPrimo"), Qt::LeftButton);
        QCOMPARE(t->services.lastKind(), MessageKind::Information);
        QCOMPARE(t->services.lastMessage(), QStringLiteral("L'archivio non contiene nessuna scheda."));
        QTest::mouseClick(named<PictureButton>(s, u"cmdAvanti"), Qt::LeftButton);
        QCOMPARE(t->services.messages.size(), 2);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QString());

        writeInvoices(file(), 3);
        t->services.messages.clear();
        QTest::mouseClick(named<PictureButton>(s, u"cmdAvanti"),
                          Qt::LeftButton); // a new invoice goes to the first stored one
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(named<QLineEdit>(s, u"txtCliente")->text(), QStringLiteral("Cliente 1"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdIndietro"),
                          Qt::LeftButton); // nothing before the first
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("1"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdUltimo"), Qt::LeftButton);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("3"));
        QCOMPARE(named<QLineEdit>(s, u"txtNumFatt")->text(), QStringLiteral("3"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdAvanti"), Qt::LeftButton); // nothing after the last
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("3"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdIndietro"), Qt::LeftButton);
        QCOMPARE(named<QLineEdit>(s, u"txtCliente")->text(), QStringLiteral("Cliente 2"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdPrimo"), Qt::LeftButton);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("1"));
        QVERIFY(t->services.messages.isEmpty());
    }

    void flagsAndTransportSurviveSaveAndReload()
    {
        // Names, not pointers: the dialog and its fields are gone once it closes.
        QString focusAtStart;
        QString focusAfterEnter;
        int packagesTyped = 0;
        t->services.modal.insert(QStringLiteral("frmDatiFattura"), [&](QDialog& d) {
            focusAtStart = focusName();
            QTest::keyClicks(named<QLineEdit>(&d, u"txtVeicolo"), QStringLiteral("Magazzino di Cesena"));
            QTest::keyClick(named<QLineEdit>(&d, u"txtVeicolo"), Qt::Key_Return);
            focusAfterEnter = focusName();
            auto* packages = named<QLineEdit>(&d, u"txtTarga");
            QTest::keyClicks(packages, QString(40, u'7'));
            packagesTyped = int(packages->text().size());
            QTest::mouseClick(named<QPushButton>(&d, u"btnApplica"), Qt::LeftButton);
            return d.result();
        });
        QTest::mouseClick(named<QPushButton>(s, u"cmdDatiComputer"), Qt::LeftButton);
        QCOMPARE(focusAtStart, QStringLiteral("txtVeicolo"));
        QCOMPARE(focusAfterEnter, QStringLiteral("txtMarca"));
        QCOMPARE(packagesTyped, 30);
        QCOMPARE(named<QLabel>(s, u"memVeicolo")->text(), QStringLiteral("Magazzino di Cesena"));
        QCOMPARE(named<QLabel>(s, u"memTarga")->text(), QString(30, u'7'));

        named<QLineEdit>(s, u"txtCliente")->setText(QStringLiteral("Rossi"));
        named<QLineEdit>(s, u"txtNumFatt")->setText(QStringLiteral("1"));
        named<QLineEdit>(s, u"txtData")->setText(QStringLiteral("01/01/2024"));
        named<QCheckBox>(s, u"chkEs", 29)->setChecked(true);
        named<QCheckBox>(s, u"chkSaldata")->setChecked(true);
        named<QComboBox>(s, u"txtProvCliente")->setEditText(QStringLiteral("RA"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"), Qt::LeftButton);
        QCOMPARE(named<QLabel>(s, u"memVeicolo")->text(), QString());
        QVERIFY(!named<QCheckBox>(s, u"chkSaldata")->isChecked());
        QTest::mouseClick(named<PictureButton>(s, u"cmdPrimo"), Qt::LeftButton);
        QVERIFY(named<QCheckBox>(s, u"chkEs", 29)->isChecked());
        QVERIFY(!named<QCheckBox>(s, u"chkEs", 28)->isChecked());
        QVERIFY(named<QCheckBox>(s, u"chkSaldata")->isChecked());
        QCOMPARE(named<QLabel>(s, u"memVeicolo")->text(), QStringLiteral("Magazzino di Cesena"));
        QCOMPARE(named<QComboBox>(s, u"txtProvCliente")->currentText(), QStringLiteral("RA"));
    }

    void companyDataIsKeptFromOneUseToTheNext()
    {
        named<QLineEdit>(s, u"txtDitta")->setText(QStringLiteral("Ditta Città"));
        named<QLineEdit>(s, u"txtPagamento")->setText(QStringLiteral("Rimessa diretta"));
        named<QLineEdit>(s, u"txtPercIva")->setText(QStringLiteral("22"));
        named<QComboBox>(s, u"txtProvDitta")->setEditText(QStringLiteral("FC"));
        QTest::mouseClick(named<PictureButton>(s, u"btnCancDitta"), Qt::LeftButton);
        QCOMPARE(named<QLineEdit>(s, u"txtDitta")->text(), QString());
        QCOMPARE(named<QComboBox>(s, u"txtProvDitta")->currentText(), QString());
        QCOMPARE(named<QLineEdit>(s, u"txtPagamento")->text(), QStringLiteral("Rimessa diretta"));
        QCOMPARE(named<QLineEdit>(s, u"txtPercIva")->text(), QStringLiteral("22"));
        named<QLineEdit>(s, u"txtDitta")->setText(QStringLiteral("Ditta Città"));

        // The company is part of the invoice on the screen: leaving asks, and the company data
        // are kept for the next use whatever happens to the invoice.
        t->services.answers.push_back(Answer::No);
        QTest::mouseClick(named<PictureButton>(s, u"cmdEsci"), Qt::LeftButton);
        QCOMPARE(t->services.lastMessage(), said::unsavedChanges);
        QVERIFY(!s->isVisible());
        QVERIFY(t->window(QStringLiteral("frmAvvio"))->isVisible());
        const IniFile ini = IniFile::load(numberingIniPath(t->dir.path()));
        QCOMPARE(ini.value(u"Ditta Emittente", u"Nome"), QStringLiteral("Ditta Città"));
        QCOMPARE(ini.value(u"Ditta Emittente", u"Aliquota Iva"), QStringLiteral("22"));
        QVERIFY(fileBytes(numberingIniPath(t->dir.path())).contains("Nome=Ditta Citt\xE0\r\n"));

        openYear(QStringLiteral("2025"));
        QCOMPARE(named<QLineEdit>(s, u"txtDitta")->text(), QStringLiteral("Ditta Città"));
        QCOMPARE(named<QLineEdit>(s, u"txtPagamento")->text(), QStringLiteral("Rimessa diretta"));
    }

    void unwritableArchiveGivesTheAccessMessageAndKeepsTheFile()
    {
        named<QLineEdit>(s, u"txtCliente")->setText(QStringLiteral("Rossi"));
        named<QLineEdit>(s, u"txtNumFatt")->setText(QStringLiteral("1"));
        named<QLineEdit>(s, u"txtData")->setText(QStringLiteral("01/01/2024"));
        {
            ReadOnlyFolder folder(t->dir.path());
            if (!folder.active())
                QSKIP("this machine cannot make a read-only folder");
            QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
            QCOMPARE(t->services.lastKind(), MessageKind::Warning);
            QCOMPARE(t->services.lastMessage(), said::archiveAccess);
            QVERIFY(!QFile::exists(file()));
            QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QString());
        }
        writeInvoices(file(), 2);
        const QByteArray before = fileBytes(file());
        ReadOnlyFolder readOnlyFile(file());
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(t->services.lastMessage(), said::archiveAccess);
        QCOMPARE(fileBytes(file()), before);
        QTest::mouseClick(named<PictureButton>(s, u"cmdUltimo"), Qt::LeftButton);
        QCOMPARE(t->services.lastKind(), MessageKind::Error);
    }

    void checkButtonsOpenTheMatchingWindow()
    {
#ifndef TARVELLO_HAS_CHECKS
        QSKIP("This build has no check windows.");
#endif
        QStringList fieldTexts;
        for (const QString& name : {QStringLiteral("frmPartitaIva"), QStringLiteral("frmCodFisc")})
            t->services.modal.insert(name, [&](QDialog& d) {
                fieldTexts << d.objectName() + u':' + d.findChild<QLineEdit*>()->text();
                return 0;
            });
        named<QLineEdit>(s, u"txtCodFiscDitta")->setText(QStringLiteral(" 01234567890 "));
        QTest::mouseClick(named<PictureButton>(s, u"btnCodFiscDitta"), Qt::LeftButton);
        named<QLineEdit>(s, u"txtCodFiscCliente")->setText(QStringLiteral("RSSMRA80A01H501U"));
        QTest::mouseClick(named<PictureButton>(s, u"btnCodFiscCliente"), Qt::LeftButton);
        named<QLineEdit>(s, u"txtIvaCliente")->setText(QStringLiteral("00488410010"));
        QTest::mouseClick(named<PictureButton>(s, u"btnIvaCliente"), Qt::LeftButton);
        QCOMPARE(fieldTexts, (QStringList{QStringLiteral("frmPartitaIva:01234567890"),
                                          QStringLiteral("frmCodFisc:RSSMRA80A01H501U"),
                                          QStringLiteral("frmPartitaIva:00488410010")}));
    }

    void pagesShowFiveRowsAtATime()
    {
        QVERIFY(named<QGroupBox>(s, u"grpPage", 0)->isVisible());
        QTest::mouseClick(named<PictureButton>(s, u"imgAvanti_A"), Qt::LeftButton);
        QVERIFY(!named<QGroupBox>(s, u"grpPage", 0)->isVisible());
        QVERIFY(named<QGroupBox>(s, u"grpPage", 1)->isVisible());
        QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(s, u"txtQuant", 5));
        QTest::mouseClick(named<PictureButton>(s, u"imgAvanti_B"), Qt::LeftButton);
        QTest::mouseClick(named<PictureButton>(s, u"imgIndietro_C"), Qt::LeftButton);
        QCOMPARE(s->currentPage(), 2);
        // Enter runs along a row to its exempt box, then on to the next row and page.
        named<QLineEdit>(s, u"txtQuant", 9)->setFocus();
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), named<QCheckBox>(s, u"chkEs", 9));
        QTest::keyClick(named<QCheckBox>(s, u"chkEs", 9), Qt::Key_Return);
        QCOMPARE(s->currentPage(), 3);
        QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(s, u"txtQuant", 10));
        named<QLineEdit>(s, u"txtNote")->setFocus();
        QTest::keyClick(named<QLineEdit>(s, u"txtNote"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(s, u"txtDitta"));
        QTest::keyClick(named<QLineEdit>(s, u"txtPercIva"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(s, u"txtNote"));
    }

    void tabRunsThroughEveryRowTurningThePages()
    {
        // Each row's stops, in their order; the page arrows are left to the mouse.
        QList<QWidget*> rows;
        for (size_t k = 0; k < 30; ++k) {
            rows << named<QLineEdit>(s, u"txtQuant", k) << named<QLineEdit>(s, u"txtCodice", k);
            if (named<PictureButton>(s, u"impMag", k)->isEnabled()) // not without the warehouse
                rows << named<PictureButton>(s, u"impMag", k);
            rows << named<QLineEdit>(s, u"txtDesc", k) << named<QLineEdit>(s, u"txtPrezzo", k)
                 << named<QLineEdit>(s, u"txtPercSconto", k) << named<QCheckBox>(s, u"chkEs", k);
        }
        const QList<QWidget*> totals{named<QLineEdit>(s, u"txtPercIva"), named<QPushButton>(s, u"cmdCalcola"),
                                     named<QLineEdit>(s, u"txtNote"), named<QCheckBox>(s, u"chkSaldata")};
        const auto pageOf = [this](const QWidget* w) {
            for (int p = 0; p < 6; ++p)
                if (named<QGroupBox>(s, u"grpPage", size_t(p))->isAncestorOf(w))
                    return p + 1;
            return 0;
        };
        // Where the focus is: that control, and the page it is on is the one shown.
        const auto at = [&](QWidget* expected) {
            QCOMPARE(focusName(), expected->objectName());
            QVERIFY2(expected->isVisible(), qPrintable(expected->objectName()));
            if (const int page = pageOf(expected))
                QCOMPARE(s->currentPage(), page);
        };

        named<QLineEdit>(s, u"txtQuant", 0)->setFocus(Qt::TabFocusReason);
        const QList<QWidget*> forward = rows + totals;
        for (qsizetype i = 1; i < forward.size(); ++i) {
            STEP(press(Qt::Key_Tab));
            STEP(at(forward[i]));
        }
        for (qsizetype i = forward.size() - 2; i >= 0; --i) {
            STEP(press(Qt::Key_Tab, Qt::ShiftModifier));
            STEP(at(forward[i]));
        }
        STEP(press(Qt::Key_Backtab, Qt::ShiftModifier)); // before the rows: the fields above them
        QVERIFY(!named<QStackedWidget>(s, u"pagesArticoli")->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(s->currentPage(), 1);

        // Ctrl+Tab leaves the rows for the totals from anywhere among them, Ctrl+Shift+Tab for
        // the fields above; the page shown stays.
        STEP(press(Qt::Key_Tab));
        while (QApplication::focusWidget() != named<QLineEdit>(s, u"txtDesc", 7) &&
               rows.contains(QApplication::focusWidget()))
            STEP(press(Qt::Key_Tab)); // to row 8's description
        STEP(at(named<QLineEdit>(s, u"txtDesc", 7)));
        STEP(press(Qt::Key_Tab, Qt::ControlModifier));
        STEP(at(named<QLineEdit>(s, u"txtPercIva")));
        QCOMPARE(s->currentPage(), 2);
        named<QLineEdit>(s, u"txtCodice", 8)->setFocus(Qt::TabFocusReason);
        STEP(press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier));
        QVERIFY(!named<QStackedWidget>(s, u"pagesArticoli")->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(s->currentPage(), 2);

        // On the way back over a page's edge no other control of that page takes the focus, not
        // even the one last used there.
        named<QLineEdit>(s, u"txtPrezzo", 2)->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(named<PictureButton>(s, u"imgAvanti_A"), Qt::LeftButton);
        STEP(at(named<QLineEdit>(s, u"txtQuant", 5)));
        QStringList taken;
        const QMetaObject::Connection watch =
            connect(qApp, &QApplication::focusChanged, this, [&taken](QWidget*, QWidget* now) {
                if (now)
                    taken << now->objectName();
            });
        STEP(press(Qt::Key_Tab, Qt::ShiftModifier));
        disconnect(watch);
        QCOMPARE(taken, QStringList{QStringLiteral("chkEs05")});
        STEP(at(named<QCheckBox>(s, u"chkEs", 4)));
    }

    void calcolaTakenByTabTidiesTheRateAndClickedLeavesIt()
    {
        typeRow(1, QStringLiteral("1"), QStringLiteral("100"));
        named<QLineEdit>(s, u"txtPercIva")->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(named<QLineEdit>(s, u"txtPercIva"), QStringLiteral("22,50"));
        QTest::mouseClick(named<QPushButton>(s, u"cmdCalcola"),
                          Qt::LeftButton); // a click leaves the focus and the text
        QCOMPARE(focusName(), QStringLiteral("txtPercIva"));
        QCOMPARE(named<QLineEdit>(s, u"txtPercIva")->text(), QStringLiteral("22,50"));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(), QStringLiteral("122,50"));
        STEP(press(Qt::Key_Tab)); // Tab leaves the rate, tidied, for "Calcola"
        QCOMPARE(focusName(), QStringLiteral("cmdCalcola"));
        QCOMPARE(named<QLineEdit>(s, u"txtPercIva")->text(), QStringLiteral("22,5"));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(),
                 QStringLiteral("122,50")); // moving on is not typing
        STEP(press(Qt::Key_Space));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(), QStringLiteral("122,50"));
    }

    void tabReadsThePanelsAsTheyAreLaidOut()
    {
        named<QLineEdit>(s, u"txtDitta")->setFocus(Qt::TabFocusReason);
        QStringList order = {focusName()};
        while (order.size() < 40 && order.last() != QStringLiteral("txtQuant01")) {
            press(Qt::Key_Tab);
            order << focusName();
        }
        QStringList expected = {QStringLiteral("txtDitta"),          QStringLiteral("btnCancDitta"),
                                QStringLiteral("btnLogo"),           QStringLiteral("txtViaDitta"),
                                QStringLiteral("txtCapDitta"),       QStringLiteral("txtCittaDitta"),
                                QStringLiteral("txtProvDitta"),      QStringLiteral("txtIvaDitta"),
                                QStringLiteral("btnIvaDitta"),       QStringLiteral("txtCodFiscDitta"),
                                QStringLiteral("btnCodFiscDitta"),   QStringLiteral("txtLibero01"),
                                QStringLiteral("txtLibero02"),       QStringLiteral("txtCliente"),
                                QStringLiteral("impCliente"),        QStringLiteral("txtViaCliente"),
                                QStringLiteral("txtCapCliente"),     QStringLiteral("txtCittaCliente"),
                                QStringLiteral("txtProvCliente"),    QStringLiteral("txtIvaCliente"),
                                QStringLiteral("btnIvaCliente"),     QStringLiteral("txtCodFiscCliente"),
                                QStringLiteral("btnCodFiscCliente"), QStringLiteral("txtRiferimenti"),
                                QStringLiteral("cmdDatiComputer"),   QStringLiteral("txtNumFatt"),
                                QStringLiteral("txtData"),           QStringLiteral("impOggi"),
                                QStringLiteral("txtPagamento"),      QStringLiteral("txtBanca"),
                                QStringLiteral("txtIban"),           QStringLiteral("txtQuant01")};
#ifndef TARVELLO_HAS_CUSTOMERS
        // Without the customer archive there is no customer to take: its button is disabled.
        expected.removeAll(QStringLiteral("impCliente"));
#endif
        QCOMPARE(order, expected);
    }

    void anInvoiceOfEightRowsMadeWithTheKeyboardAlone()
    {
        struct Row {
            const char* quantity;
            const char* code;
            const char* description;
            const char* price;
            const char* discount;
            bool exempt;
            // As the screen shows them after leaving the fields and calculating.
            const char* shownQuantity;
            const char* shownPrice;
            const char* amount;
        };
        const Row rows[] = {
            {"2", "A001", "Pneumatico 205/55", "80", "", false, "2", "80,00", "160,00"},
            {"1", "A002", "Montaggio", "25,5", "10", false, "1", "25,50", "22,95"},
            {"3", "B010", "Valvola", "2,4", "", true, "3", "2,40", "7,20"},
            {"1,50", "C100", "Olio motore", "12", "", false, "1,5", "12,00", "18,00"},
            {"4", "C200", "Filtro", "7,25", "5", false, "4", "7,25", "27,55"},
            {"1", "D001", "Equilibratura", "15", "", false, "1", "15,00", "15,00"},
            {"2", "D002", "Convergenza", "30", "50", false, "2", "30,00", "30,00"},
            {"10", "E005", "Bulloni", "0,3", "", true, "10", "0,30", "3,00"},
        };
        const auto text = [](const char* t) { return QString::fromUtf8(t); };

        // The screen opens on the customer's name.
        QCOMPARE(focusName(), QStringLiteral("txtCliente"));
        STEP(typeHere(QStringLiteral("Rossi Mario")));
        STEP(pressUntil(Qt::Key_Return, named<QLineEdit>(s, u"txtNumFatt"), 10));
        STEP(typeHere(QStringLiteral("17")));
        STEP(press(Qt::Key_Return));
        QCOMPARE(focusName(), QStringLiteral("txtData"));
        STEP(typeHere(QStringLiteral("5/3/2024")));
        STEP(pressUntil(Qt::Key_Tab, named<QLineEdit>(s, u"txtQuant", 0), 10));

        for (size_t k = 0; k < std::size(rows); ++k) {
            const Row& r = rows[k];
            QCOMPARE(focusName(), named<QLineEdit>(s, u"txtQuant", k)->objectName());
            QCOMPARE(s->currentPage(), int(k / 5) + 1);
            STEP(typeHere(text(r.quantity)));
            STEP(press(Qt::Key_Tab));
            STEP(typeHere(text(r.code)));
            STEP(press(Qt::Key_Tab));
            if (named<PictureButton>(s, u"impMag", k)
                    ->isEnabled()) { // without the warehouse there is nothing to import
                QCOMPARE(focusName(),
                         named<PictureButton>(s, u"impMag", k)->objectName()); // the import is on the way
                STEP(press(Qt::Key_Tab));
            }
            STEP(typeHere(text(r.description)));
            STEP(press(Qt::Key_Tab));
            STEP(typeHere(text(r.price)));
            STEP(press(Qt::Key_Tab));
            STEP(typeHere(text(r.discount)));
            STEP(press(Qt::Key_Tab));
            QCOMPARE(focusName(), named<QCheckBox>(s, u"chkEs", k)->objectName());
            if (r.exempt)
                STEP(press(Qt::Key_Space));
            STEP(press(Qt::Key_Tab)); // from row 5 on to row 6, turning the page
        }
        QCOMPARE(focusName(), QStringLiteral("txtQuant09"));
        STEP(press(Qt::Key_Tab, Qt::ControlModifier));
        QCOMPARE(focusName(), QStringLiteral("txtPercIva"));
        STEP(typeHere(QStringLiteral("22")));
        STEP(press(Qt::Key_Tab));
        QCOMPARE(focusName(), QStringLiteral("cmdCalcola"));
        STEP(press(Qt::Key_Return));

        QCOMPARE(named<QLabel>(s, u"txtTotImponibile")->text(), QStringLiteral("273,50"));
        QCOMPARE(named<QLabel>(s, u"txtTotImposta")->text(), QStringLiteral("60,17"));
        QCOMPARE(named<QLabel>(s, u"txtTotIva")->text(), QStringLiteral("333,67"));
        QCOMPARE(named<QLabel>(s, u"txtTotEsente")->text(), QStringLiteral("10,20"));
        QCOMPARE(named<QLabel>(s, u"txtTotFattura")->text(), QStringLiteral("343,87"));
        QVERIFY(t->services.messages.isEmpty());

        STEP(press(Qt::Key_S, Qt::ControlModifier));
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.lastMessage(), said::inserted);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("1"));

        const QByteArray bytes = fileBytes(file());
        QCOMPARE(bytes.size(), InvoiceRecord::Size);
        const Record saved(InvoiceRecord::layout(), bytes);
        QCOMPARE(saved.text(InvoiceRecord::Cliente), QStringLiteral("Rossi Mario"));
        QCOMPARE(saved.text(InvoiceRecord::NumFatt), QStringLiteral("17"));
        QCOMPARE(saved.text(InvoiceRecord::Data), QStringLiteral("5/3/2024"));
        for (int row = 1; row <= 30; ++row) {
            using C = InvoiceRecord::Column;
            const auto field = [&](C c) { return saved.text(InvoiceRecord::rowField(c, row)); };
            const QString flag = field(C::Es);
            if (row > int(std::size(rows))) {
                QCOMPARE(field(C::Quant) + field(C::Codice) + field(C::Desc) + field(C::Importo), QString());
                QCOMPARE(flag, Record::noText());
                continue;
            }
            const Row& r = rows[row - 1];
            QCOMPARE(field(C::Quant), text(r.shownQuantity));
            QCOMPARE(field(C::Codice), text(r.code));
            QCOMPARE(field(C::Desc), text(r.description));
            QCOMPARE(field(C::Prezzo), text(r.shownPrice));
            QCOMPARE(field(C::PercSconto), text(r.discount));
            QCOMPARE(field(C::Importo), text(r.amount));
            QCOMPARE(flag, r.exempt ? Record::yesText() : Record::noText());
        }
        QCOMPARE(saved.text(InvoiceRecord::PercIva), QStringLiteral("22"));
        QCOMPARE(saved.text(InvoiceRecord::TotImponibile), QStringLiteral("273,50"));
        QCOMPARE(saved.text(InvoiceRecord::TotImposta), QStringLiteral("60,17"));
        QCOMPARE(saved.text(InvoiceRecord::TotIva), QStringLiteral("333,67"));
        QCOMPARE(saved.text(InvoiceRecord::TotEsente), QStringLiteral("10,20"));
        QCOMPARE(saved.text(InvoiceRecord::TotFattura), QStringLiteral("343,87"));
        QCOMPARE(saved.text(InvoiceRecord::Saldata), Record::noText());
    }

    void numberingDialogWritesOnlyOnApply()
    {
        const QString ini = numberingIniPath(t->dir.path());
        QStringList seen;
        t->services.modal.insert(QStringLiteral("frmNumerazioneFat"), [&](QDialog& d) {
            auto* start = named<QLineEdit>(&d, u"txtInizio");
            seen << d.windowTitle() << start->text();
            start->clear();
            QTest::keyClicks(start, QStringLiteral("1a0,0"));
            seen << start->text();
            named<QCheckBox>(&d, u"chkTipo")->setChecked(true);
            QTest::mouseClick(named<QPushButton>(&d, u"btnAnnulla"), Qt::LeftButton);
            return d.result();
        });
        QTest::mouseClick(named<PictureButton>(s, u"cmdNumerazione"), Qt::LeftButton);
        QCOMPARE(seen, (QStringList{QStringLiteral(" Impostazione inizio numerazione fatture"),
                                    QStringLiteral("1"), QStringLiteral("100")}));
        QVERIFY(!QFile::exists(ini));

        QString restored;
        t->services.modal.insert(QStringLiteral("frmNumerazioneFat"), [&](QDialog& d) {
            auto* start = named<QLineEdit>(&d, u"txtInizio");
            start->clear();
            QTest::keyClick(start, Qt::Key_Return); // leaving an empty start restores 1
            restored = start->text();
            start->setText(QStringLiteral("25"));
            named<QCheckBox>(&d, u"chkTipo")->setChecked(true);
            QTest::mouseClick(named<QPushButton>(&d, u"btnApplica"), Qt::LeftButton);
            return d.result();
        });
        QTest::mouseClick(named<PictureButton>(s, u"cmdNumerazione"), Qt::LeftButton);
        QCOMPARE(restored, QStringLiteral("1"));
        QCOMPARE(fileBytes(ini),
                 QByteArray("[Numerazione Fatture]\r\nInizio=25\r\nIndicazione Anno Solare=S\xEC\r\n"));
    }

    void logoDialogStoresABitmap()
    {
        // A PNG, the format most logos come in, is offered and taken like a JPEG or a bitmap.
        const QString photo = t->path(QStringLiteral("logo.png"));
        QImage picture(640, 320, QImage::Format_RGB32);
        picture.fill(QColor(200, 30, 30));
        QVERIFY(picture.save(photo, "PNG"));
        t->services.files.push_back(photo);
        QList<QSize> sizes;
        t->services.modal.insert(QStringLiteral("frmLogo"), [&](QDialog& d) {
            auto& logo = static_cast<TfrmLogo&>(d);
            sizes << logo.picture().size(); // no Logo.bmp yet: the euro sign
            QTest::mouseClick(named<QPushButton>(&logo, u"btnSfoglia"), Qt::LeftButton);
            sizes << logo.picture().size();
            QTest::mouseClick(named<QPushButton>(&logo, u"btnApplica"), Qt::LeftButton);
            return d.result();
        });
        QTest::mouseClick(named<PictureButton>(s, u"btnLogo"), Qt::LeftButton);
        QCOMPARE(sizes, (QList<QSize>{QSize(297, 184), QSize(640, 320)}));
        QCOMPARE(t->services.fileDialogTitles.value(0),
                 QStringLiteral("Selezionare il logo della Ditta in formato Jpeg o Bitmap."));
        QVERIFY2(t->services.fileDialogFilters.value(0).contains(QStringLiteral("*.png")),
                 qPrintable(t->services.fileDialogFilters.value(0)));
        QCOMPARE(fileBytes(t->path(QStringLiteral("Logo.bmp"))).left(2), QByteArray("BM"));
        QCOMPARE(invoiceLogo(t->dir.path()).size(), QSize(640, 320));

        t->services.modal.insert(QStringLiteral("frmLogo"), [](QDialog& d) {
            QTest::mouseClick(named<PictureButton>(&d, u"btnCancLogo"), Qt::LeftButton);
            QTest::mouseClick(named<QPushButton>(&d, u"btnApplica"), Qt::LeftButton);
            return d.result();
        });
        QTest::mouseClick(named<PictureButton>(s, u"btnLogo"), Qt::LeftButton);
        QCOMPARE(invoiceLogo(t->dir.path()).size(), QSize(2, 2));
        QFile::remove(t->path(QStringLiteral("Logo.bmp")));
        QCOMPARE(invoiceLogo(t->dir.path()).size(), QSize(297, 184));

        // A damaged logo gives way to the default one, and the log says which file and why.
        QFile damaged(t->path(QStringLiteral("Logo.bmp")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("BM not a picture");
        damaged.close();
        const auto log = logOf([&] { QCOMPARE(invoiceLogo(t->dir.path()).size(), QSize(297, 184)); });
        const auto lines = linesOf(log, QStringLiteral("tarvello.invoices"));
        QCOMPARE(lines.size(), size_t(1));
        QVERIFY2(lines[0].text.contains(t->path(QStringLiteral("Logo.bmp"))), qPrintable(lines[0].text));
    }

    // A half-typed new invoice, then the first-invoice arrow and the user's answer.
    void aHalfTypedInvoiceIsAskedFor_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("invoicesAfter");
        QTest::addColumn<QString>("positionAfter");
        QTest::addColumn<QString>("customerAfter");
        QTest::newRow("si") << int(Answer::Yes) << 3 << "1"
                            << "Cliente 1";
        QTest::newRow("no") << int(Answer::No) << 2 << "1"
                            << "Cliente 1";
        QTest::newRow("annulla") << int(Answer::Cancel) << 2 << ""
                                 << "Bianchi";
    }

    void aHalfTypedInvoiceIsAskedFor()
    {
        QFETCH(int, answer);
        QFETCH(int, invoicesAfter);
        QFETCH(QString, positionAfter);
        QFETCH(QString, customerAfter);
        writeInvoices(file(), 2);
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"),
                          Qt::LeftButton); // the proposed number is the program's
        QTest::keyClicks(named<QLineEdit>(s, u"txtCliente"), QStringLiteral("Bianchi"));
        QVERIFY(t->services.messages.isEmpty());
        t->services.answers.push_back(Answer(answer));
        QTest::mouseClick(named<PictureButton>(s, u"cmdPrimo"), Qt::LeftButton);
        QCOMPARE(t->services.messages.first().text, said::unsavedChanges);
        QCOMPARE(t->services.messages.first().kind, MessageKind::ConfirmationOrCancel);
        QCOMPARE(fileBytes(file()).size(), invoicesAfter * InvoiceRecord::Size);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), positionAfter);
        QCOMPARE(named<QLineEdit>(s, u"txtCliente")->text(), customerAfter);
    }

    void anUntouchedInvoiceNeverAsks()
    {
        writeInvoices(file(), 2);
        for (PictureButton* b : {named<PictureButton>(s, u"cmdAvanti"), named<PictureButton>(s, u"cmdUltimo"),
                                 named<PictureButton>(s, u"cmdIndietro"),
                                 named<PictureButton>(s, u"cmdNuovo"), named<PictureButton>(s, u"cmdPrimo")})
            QTest::mouseClick(b, Qt::LeftButton);
        QTest::mouseClick(named<PictureButton>(s, u"cmdEsci"), Qt::LeftButton);
        QVERIFY(!s->isVisible());
        QCOMPARE(t->services.messages.size(), 0);
    }

    void aNumberTheYearHoldsIsConfirmed()
    {
        writeInvoices(file(), 2);
        const QByteArray before = fileBytes(file());
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"), Qt::LeftButton);
        QTest::keyClicks(named<QLineEdit>(s, u"txtCliente"), QStringLiteral("Bianchi"));
        named<QLineEdit>(s, u"txtNumFatt")->selectAll();
        QTest::keyClicks(named<QLineEdit>(s, u"txtNumFatt"), QStringLiteral(" 1 "));

        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"),
                          Qt::LeftButton); // unanswered: the default, No
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.lastMessage(),
                 QStringLiteral("Esiste già in archivio una fattura con il numero 1. Salvare comunque?"));
        QCOMPARE(t->services.lastKind(), MessageKind::ConfirmationDefaultNo);
        QCOMPARE(fileBytes(file()), before);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QString());

        t->services.answers.push_back(Answer::Yes);
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(t->services.lastMessage(), said::inserted);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("3"));
        QCOMPARE(fileBytes(file()).size(), 3 * InvoiceRecord::Size);

        // An invoice saved over itself holds its own number: no question.
        t->services.messages.clear();
        QTest::mouseClick(named<PictureButton>(s, u"cmdIndietro"), Qt::LeftButton);
        QCOMPARE(named<QLabel>(s, u"lblPosizione")->text(), QStringLiteral("2"));
        QTest::keyClicks(named<QLineEdit>(s, u"txtRiferimenti"), QStringLiteral("ordine 5"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdSalva"), Qt::LeftButton);
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.lastMessage(), said::changesSaved);
    }

    // What another application hands the invoice: the program's invoice is this screen, and a
    // customer lands in the customer's seven fields and nowhere else, whole.
    void aCustomerHandedOverFillsExactlyTheCustomersFields()
    {
        InvoiceTarget* target = invoiceTarget(*t->program);
        QCOMPARE(target, static_cast<InvoiceTarget*>(s));
        named<QLineEdit>(s, u"txtRiferimenti")->setText(QStringLiteral("Ordine 15"));
        named<QLineEdit>(s, u"txtQuant", 0)->setText(QStringLiteral("2"));
        const std::vector<QString> before = s->texts();
        const QString longName =
            QStringLiteral("Autofficina Rossi Sr Bartolomeo-Castiglioni Rossini Maria Eva");
        target->takeCustomer({.name = longName,
                              .street = QStringLiteral("Via Emilia 12"),
                              .postcode = QStringLiteral("47121"),
                              .town = QStringLiteral("Forlì"),
                              .province = QStringLiteral("FC"),
                              .taxCode = QStringLiteral("RSSMRA80A01D704U"),
                              .vatNumber = QStringLiteral("01234567897")});
        QCOMPARE(
            changedFields(before),
            (QStringList{QStringLiteral("Cliente=") + longName, QStringLiteral("ViaCliente=Via Emilia 12"),
                         QStringLiteral("CapCliente=47121"), QStringLiteral("CittaCliente=Forlì"),
                         QStringLiteral("ProvCliente=FC"), QStringLiteral("IvaCliente=01234567897"),
                         QStringLiteral("CodFiscCliente=RSSMRA80A01D704U")}));
    }

    // An article lands in the code, description and price of the row it is handed to; the row's
    // quantity stays the user's, and a row the invoice lacks takes nothing.
    void anArticleHandedOverFillsExactlyItsRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("changed");
        const auto rowOf = [](const char* nn) {
            const QString n = QString::fromLatin1(nn);
            return QStringList{QStringLiteral("Codice") + n + QStringLiteral("=GEMELLO"),
                               QStringLiteral("Desc") + n + QStringLiteral("=Pneumatico 205/55"),
                               QStringLiteral("Prezzo") + n + QStringLiteral("=20,00")};
        };
        QTest::newRow("first row") << 1 << rowOf("01");
        QTest::newRow("a row of the second page") << 7 << rowOf("07");
        QTest::newRow("last row") << 30 << rowOf("30");
        QTest::newRow("no row 0") << 0 << QStringList{};
        QTest::newRow("no row 31") << 31 << QStringList{};
    }
    void anArticleHandedOverFillsExactlyItsRow()
    {
        QFETCH(int, row);
        QFETCH(QStringList, changed);
        for (size_t k = 0; k < 30; ++k)
            named<QLineEdit>(s, u"txtQuant", k)->setText(QStringLiteral("1"));
        const std::vector<QString> before = s->texts();
        invoiceTarget(*t->program)
            ->takeArticle(row, {.code = QStringLiteral("GEMELLO"),
                                .description = QStringLiteral("Pneumatico 205/55"),
                                .price = QStringLiteral("20,00"),
                                .taken = QStringLiteral("2,5")});
        QCOMPARE(changedFields(before), changed);
    }

    // The units an import takes are held for the invoice on the screen: its year's file and its
    // number as typed, under a holder of its own that a new invoice replaces.
    void theImportHolderIsTheInvoiceOnTheScreen()
    {
        InvoiceTarget* target = invoiceTarget(*t->program);
        named<QLineEdit>(s, u"txtNumFatt")->setText(QStringLiteral(" 17 "));
        const ImportHolder first = target->importHolder();
        QVERIFY(!first.id.isEmpty());
        QCOMPARE(first.invoiceFile, QStringLiteral("2024.fat"));
        QCOMPARE(first.invoiceNumber, QStringLiteral("17"));
        QCOMPARE(target->importHolder().id, first.id);
        t->services.answers.push_back(Answer::No); // the number typed is not to be saved
        QTest::mouseClick(named<PictureButton>(s, u"cmdNuovo"), Qt::LeftButton);
        QVERIFY(!target->importHolder().id.isEmpty());
        QVERIFY(target->importHolder().id != first.id);
    }

private:
    // The fields whose text differs from `before`, as "Name=text now", in record order.
    QStringList changedFields(const std::vector<QString>& before) const
    {
        const std::vector<QString> now = s->texts();
        QStringList changed;
        for (size_t i = 0; i < now.size(); ++i)
            if (now[i] != before[i])
                changed << InvoiceRecord::layout().fields[i].name() + u'=' + now[i];
        return changed;
    }
};

TARVELLO_TEST_MAIN(InvoiceScreenTest)

#include "test_invoice_screen.moc"

// The electronic invoice through the invoice screen: the menu opens the year, an invoice stored
// earlier is shown, the button opens the window, "Crea" writes the file; the invoice's own files
// keep every byte.
#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "exchangechecks.h"
#include "files.h"
#include "invoices/calculation.h"
#include "invoices/fatturaelettronica.h"
#include "invoices/fatture.h"
#include "invoices/invoicecard.h"
#include "invoices/numbering.h"
#include "namedcontrols.h"
#include "pdftools.h"
#include "saidtexts.h"
#include "shell/conventions.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace tarvello;
using namespace tarvello::testing;

namespace
{

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

using Fields = QList<std::pair<QString, QString>>;

// An invoice as Save stores it: the screen's texts after Calcola.
Record storedInvoice(const Fields& fields)
{
    InvoiceCard::CardTexts texts;
    for (int k = 1; k <= InvoiceRecord::Rows; ++k)
        texts[size_t(InvoiceRecord::rowField(InvoiceRecord::Es, k))] = QStringLiteral("No");
    texts[InvoiceRecord::Saldata] = QStringLiteral("No");
    const Fields base = {
        {QStringLiteral("NumFatt"), QStringLiteral("7")},
        {QStringLiteral("Data"), QStringLiteral("05/03/2026")},
        {QStringLiteral("Ditta"), s(u"Caffè Tarvello S.r.l.")},
        {QStringLiteral("ViaDitta"), QStringLiteral("Via Roma 1")},
        {QStringLiteral("CapDitta"), QStringLiteral("47121")},
        {QStringLiteral("CittaDitta"), s(u"Forlì")},
        {QStringLiteral("ProvDitta"), QStringLiteral("FC")},
        {QStringLiteral("IvaDitta"), QStringLiteral("01234567897")},
        {QStringLiteral("Cliente"), QStringLiteral("Alfa Impianti S.r.l.")},
        {QStringLiteral("ViaCliente"), QStringLiteral("Via Verdi 2")},
        {QStringLiteral("CapCliente"), QStringLiteral("40121")},
        {QStringLiteral("CittaCliente"), QStringLiteral("Bologna")},
        {QStringLiteral("ProvCliente"), QStringLiteral("BO")},
        {QStringLiteral("IvaCliente"), QStringLiteral("12345678903")},
        {QStringLiteral("Iban"), QStringLiteral("IT60X0542811101000000123456")},
        {QStringLiteral("PercIva"), QStringLiteral("22")},
        {QStringLiteral("Quant01"), QStringLiteral("1")},
        {QStringLiteral("Desc01"), s(u"Macinacaffè")},
        {QStringLiteral("Prezzo01"), QStringLiteral("10,005")},
        {QStringLiteral("Quant02"), QStringLiteral("1")},
        {QStringLiteral("Desc02"), QStringLiteral("Diritti")},
        {QStringLiteral("Prezzo02"), QStringLiteral("90")},
        {QStringLiteral("Es02"), s(u"Sì")},
        {QStringLiteral("Quant03"), QStringLiteral("1")},
        {QStringLiteral("Desc03"), QStringLiteral("Filtro")},
        {QStringLiteral("Prezzo03"), QStringLiteral("10,005")},
    };
    for (const Fields* list : {&base, &fields})
        for (const auto& [name, value] : *list)
            texts[size_t(InvoiceRecord::layout().indexOf(name))] = value;
    InvoiceDocument invoice = documentFromTexts(texts);
    calculateInvoice(invoice);
    return recordOf(invoice);
}

// The texts of every element named `name`, in document order.
QStringList elementTexts(const QByteArray& xml, QStringView name)
{
    QStringList out;
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == name)
            out << r.readElementText();
    return out;
}

QString pointed(QString screenAmount)
{
    return screenAmount.replace(u',', u'.');
}

// An invoice whose rows are all empty.
Fields withoutRows()
{
    Fields empty;
    for (const char* column : {"Quant", "Codice", "Desc", "Prezzo", "PercSconto", "Importo"})
        for (int k = 1; k <= 3; ++k)
            empty.append({QString::fromLatin1(column) + QStringLiteral("0%1").arg(k), QString()});
    empty.append({QStringLiteral("Es02"), QStringLiteral("No")});
    return empty;
}

void writeRecords(const QString& path, const QList<Record>& records)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const Record& r : records)
        QCOMPARE(f.write(r.bytes()), qint64(r.bytes().size()));
}

} // namespace

class EInvoiceScreenTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmFatture* screen = nullptr;
    QByteArray invoicesBefore, settingsBefore;

    QString documents() const { return t->path(QStringLiteral("FattureElettroniche")); }

    // The menu opens 2026 and the arrows show the stored invoice at `position`.
    void showInvoice(int position)
    {
        auto* menu = static_cast<TfrmMenuFatture*>(t->window(QStringLiteral("frmMenuFatture")));
        menu->show();
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2026"));
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        screen = static_cast<TfrmFatture*>(t->window(QStringLiteral("frmFatture")));
        QApplication::setActiveWindow(screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
        QTest::mouseClick(named<PictureButton>(screen, u"cmdPrimo"), Qt::LeftButton);
        for (int p = 1; p < position; ++p)
            QTest::mouseClick(named<PictureButton>(screen, u"cmdAvanti"), Qt::LeftButton);
        QCOMPARE(screen->position(), QString::number(position));
    }

    // Opens the window with the button; `inside` runs while it is shown and says what it returns.
    void pressButton(const std::function<void(TfrmFatturaElettronica&)>& inside)
    {
        t->services.modal.insert(QStringLiteral("frmFatturaElettronica"), [inside](QDialog& d) {
            inside(static_cast<TfrmFatturaElettronica&>(d));
            return d.result();
        });
        QTest::mouseClick(named<PictureButton>(screen, u"cmdFatturaElettronica"), Qt::LeftButton);
        QCOMPARE(t->services.modalShown.count(QStringLiteral("frmFatturaElettronica")), 1);
    }

    void invoiceFilesUnchanged()
    {
        QCOMPARE(fileBytes(t->path(QStringLiteral("2026.fat"))), invoicesBefore);
        QVERIFY(fileBytes(t->path(QStringLiteral("Numerazione.ini"))).startsWith(settingsBefore));
    }

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<TestProgram>();
        writeRecords(t->path(QStringLiteral("2026.fat")),
                     {storedInvoice({}), storedInvoice({{QStringLiteral("IvaDitta"), QString()}}),
                      storedInvoice({{QStringLiteral("IvaCliente"), QString()},
                                     {QStringLiteral("CodFiscCliente"), QStringLiteral("RSSMRA80A01H501X")}}),
                      storedInvoice(withoutRows())});
        Record card(CustomerRecord::layout());
        card.setText(CustomerRecord::Cognome, QStringLiteral("Bianchi"));
        card.setText(CustomerRecord::Nome, QStringLiteral("Luca"));
        card.setText(CustomerRecord::Ditta, QStringLiteral("Alfa Impianti S.r.l."));
        card.setText(CustomerRecord::PartitaIva, QStringLiteral("12345678903"));
        card.setText(CustomerRecord::CodiceDest, QStringLiteral("ABC1234"));
        card.setText(CustomerRecord::Ricontatta, QStringLiteral("No"));
        writeRecords(t->path(QStringLiteral("Clienti.pro")), {card});
        const QString ini = numberingIniPath(t->dir.path());
        QVERIFY(writeNumberingSettings(ini, u"5", true));
        CompanyData company;
        company.name = s(u"Caffè Tarvello S.r.l.");
        company.vatNumber = QStringLiteral("01234567897");
        company.vatRate = QStringLiteral("22");
        QVERIFY(writeCompanyData(ini, company));
        invoicesBefore = fileBytes(t->path(QStringLiteral("2026.fat")));
        settingsBefore = fileBytes(ini);
    }
    void cleanup()
    {
        screen = nullptr;
        t.reset();
    }

    void theButtonSaysWhatItDoes()
    {
        showInvoice(1);
        QCOMPARE(named<PictureButton>(screen, u"cmdFatturaElettronica")->toolTip(),
                 s(u"Crea la fattura elettronica (XML FatturaPA) dalla fattura corrente."));
        QVERIFY(named<PictureButton>(screen, u"cmdFatturaElettronica")->isEnabled());
    }

    void aStoredInvoiceBecomesAFileAndItsOwnFilesKeepEveryByte()
    {
        showInvoice(1);
        const int messagesBefore = int(t->services.messages.size());
        pressButton([](TfrmFatturaElettronica& w) {
            // What will be sent, and the proforma's own number and date.
            QVERIFY(w.txtAnteprima->toPlainText().contains(QStringLiteral("codice destinatario ABC1234")));
            QVERIFY(w.txtAnteprima->toPlainText().contains(QStringLiteral("IT01234567897_00001.xml")));
            QCOMPARE(w.txtNumero->text(), QStringLiteral("7"));
            QCOMPARE(w.txtData->text(), QStringLiteral("05/03/2026"));
            QCOMPARE(w.cboTipoDocumento->currentData().toString(), QStringLiteral("TD01"));
            QCOMPARE(w.cboRegimeFiscale->currentData().toString(), QStringLiteral("RF01"));
            QCOMPARE(w.cboNatura->currentData().toString(), QStringLiteral("N4"));
            QCOMPARE(w.cboPagamento->currentData().toString(), QStringLiteral("MP05"));
            QVERIFY(!w.chkCassetto->isEnabled()); // the card has a recipient code
            QTest::mouseClick(w.btnCrea, Qt::LeftButton);
        });

        const QString file = QDir(documents()).filePath(QStringLiteral("IT01234567897_00001.xml"));
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(t->services.messages.size(), messagesBefore + 1);
        QCOMPARE(t->services.lastKind(), MessageKind::Confirmation);
        QCOMPARE(t->services.lastMessage(),
                 s(u"La fattura elettronica è stata creata nel file IT01234567897_00001.xml della cartella "
                   u"FattureElettroniche.\n\r\n\rAprire la cartella?"));
        QCOMPARE(t->services.opened, QList<QUrl>{QUrl::fromLocalFile(documents())});

        QProcess xmllint;
        xmllint.start(
            QStringLiteral("xmllint"),
            {QStringLiteral("--noout"), QStringLiteral("--nonet"), QStringLiteral("--schema"),
             QStringLiteral(TARVELLO_SOURCE_DIR "/assets/fatturapa/Schema_del_file_xml_FatturaPA_v1.2.2.xsd"),
             file});
        QVERIFY(xmllint.waitForFinished(120000));
        QCOMPARE(xmllint.exitCode(), 0);
        // The figures of the screen: two rows of 10,005 and an exempt 90,00, each line with the
        // amount the screen shows; they add up to the taxable 20,01, so there is no Arrotondamento.
        const QByteArray xml = fileBytes(file);
        QVERIFY(xml.contains("<ImportoTotaleDocumento>114.41</ImportoTotaleDocumento>"));
        QCOMPARE(named<QLabel>(screen, u"txtTotFattura")->text(), QStringLiteral("114,41"));
        QCOMPARE(xml.count("<PrezzoTotale>10.005</PrezzoTotale>"), 2);
        QVERIFY(!xml.contains("<Arrotondamento>"));
        QVERIFY(xml.contains("<ImponibileImporto>20.01</ImponibileImporto>"));
        QVERIFY(xml.contains("<Denominazione>Caffè Tarvello S.r.l.</Denominazione>"));

        invoiceFilesUnchanged();
        QCOMPARE(fileBytes(t->path(QStringLiteral("Numerazione.ini"))).mid(settingsBefore.size()),
                 QByteArray("\r\n[Fattura Elettronica]\r\nProgressivo=00001\r\nRegime Fiscale=RF01\r\n"
                            "Natura Esenti=N4\r\n"));
        // The stored invoice on the screen is still the stored one: leaving it asks nothing.
        QVERIFY(screen->confirmLeavingCard());
        QCOMPARE(t->services.messages.size(), messagesBefore + 1);
    }

    void theNextFileTakesTheNextNumberAndTheChoicesAreRemembered()
    {
        showInvoice(1);
        pressButton([](TfrmFatturaElettronica& w) {
            w.cboRegimeFiscale->setCurrentIndex(w.cboRegimeFiscale->findData(QStringLiteral("RF01")));
            w.cboNatura->setCurrentIndex(w.cboNatura->findData(QStringLiteral("N3.5")));
            QVERIFY(w.txtProtocollo->isEnabled());
            w.txtProtocollo->setText(QStringLiteral("21123456789012345-000001"));
            w.txtDataIntento->setText(QStringLiteral("15/01/2026"));
            w.cboPagamento->setCurrentIndex(w.cboPagamento->findData(QStringLiteral("MP08")));
            QTest::mouseClick(w.btnCrea, Qt::LeftButton);
        });
        t->services.answers.push_back(Answer::No); // the folder is not opened this time
        t->services.modal.clear();
        t->services.modalShown.clear();
        pressButton([](TfrmFatturaElettronica& w) {
            QCOMPARE(w.cboNatura->currentData().toString(), QStringLiteral("N3.5"));
            // The customer's declaration of intent is remembered for its next invoice.
            QCOMPARE(w.txtProtocollo->text(), QStringLiteral("21123456789012345-000001"));
            QCOMPARE(w.txtDataIntento->text(), QStringLiteral("15/01/2026"));
            QCOMPARE(w.cboPagamento->currentData().toString(), QStringLiteral("MP05")); // not remembered
            QVERIFY(w.txtAnteprima->toPlainText().contains(QStringLiteral("IT01234567897_00002.xml")));
            QTest::mouseClick(w.btnCrea, Qt::LeftButton);
        });
        QVERIFY(QFileInfo::exists(QDir(documents()).filePath(QStringLiteral("IT01234567897_00002.xml"))));
        QVERIFY(fileBytes(QDir(documents()).filePath(QStringLiteral("IT01234567897_00001.xml")))
                    .contains("<ModalitaPagamento>MP08</ModalitaPagamento>"));
        QVERIFY(fileBytes(QDir(documents()).filePath(QStringLiteral("IT01234567897_00002.xml")))
                    .contains("<Natura>N3.5</Natura>"));
        QCOMPARE(t->services.opened.size(), 1);
        invoiceFilesUnchanged();
    }

    void annullaWritesNothing()
    {
        showInvoice(1);
        pressButton([](TfrmFatturaElettronica& w) { QTest::mouseClick(w.btnAnnulla, Qt::LeftButton); });
        QVERIFY(!QFileInfo::exists(documents()));
        QCOMPARE(fileBytes(t->path(QStringLiteral("Numerazione.ini"))), settingsBefore);
    }

    void refusedInvoicesAreToldAndNothingIsWritten_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("message");
        QTest::newRow("no issuer VAT number")
            << 2
            << s(u"Partita IVA del cedente mancante o non valida.\n\r\n\rIndicare nel riquadro Ditta "
                 u"emittente "
                 u"della fattura la partita IVA della ditta: 11 cifre, l'ultima delle quali è di controllo.");
        QTest::newRow("customer with an invalid tax code")
            << 3
            << s(u"Codice fiscale del cessionario non valido.\n\r\n\rCorreggere il codice fiscale del "
                 u"cliente "
                 u"sulla fattura e sulla sua scheda nell'anagrafica clienti.");
        QTest::newRow("no rows")
            << 4
            << s(u"La fattura non ha righe da fatturare.\n\r\n\rCompilare almeno una riga "
                 u"con descrizione, quantità e prezzo.");
    }
    void refusedInvoicesAreToldAndNothingIsWritten()
    {
        QFETCH(int, position);
        QFETCH(QString, message);
        showInvoice(position);
        bool stillOpen = false;
        pressButton([&](TfrmFatturaElettronica& w) {
            QTest::mouseClick(w.btnCrea, Qt::LeftButton);
            stillOpen = w.isVisible();
        });
        QCOMPARE(t->services.lastKind(), MessageKind::Warning);
        QCOMPARE(t->services.lastMessage(), message);
        QVERIFY(stillOpen);
        QVERIFY(!QFileInfo::exists(documents()));
        QCOMPARE(fileBytes(t->path(QStringLiteral("Numerazione.ini"))), settingsBefore);
        QCOMPARE(fileBytes(t->path(QStringLiteral("2026.fat"))), invoicesBefore);
    }

    void aCustomerWithoutCodeOrPecChoosesTheTaxDrawer()
    {
        writeRecords(t->path(QStringLiteral("Clienti.pro")), {});
        showInvoice(1);
        pressButton([](TfrmFatturaElettronica& w) {
            QVERIFY(w.chkCassetto->isEnabled());
            QVERIFY(w.chkCassetto->isChecked());
            QTest::mouseClick(w.chkCassetto, Qt::LeftButton); // not through the tax drawer, then
            QVERIFY(w.txtAnteprima->toPlainText().startsWith(
                QStringLiteral("La fattura elettronica non può essere creata.")));
            QTest::mouseClick(w.btnCrea, Qt::LeftButton);
        });
        QCOMPARE(
            t->services.lastMessage(),
            s(u"Il cliente non ha né il codice destinatario né l'indirizzo PEC.\n\r\n\rIndicarne uno sulla "
              u"scheda del cliente nell'anagrafica clienti, oppure scegliere la consegna tramite il cassetto "
              u"fiscale del cliente (codice 0000000)."));
        QVERIFY(!QFileInfo::exists(documents()));
    }

    // Invoices with half cents, four-decimal prices and quantities, discounts and prices at the
    // fields' capacities, surcharges and exempt rows, typed on the screen and calculated: the screen,
    // the printed invoice (read back from its PDF) and the electronic invoice carry the same numbers,
    // and the electronic invoice passes the exchange system's checks. A row is "quantity|price|
    // discount|x" (x: exempt); where the figures are worked out by hand, `figures` holds the totals
    // the screen must show, the rows' amounts and then "taxable|VAT|with VAT|exempt|total".
    void theScreenThePrintAndTheElectronicInvoiceShowTheSameNumbers_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("figures");
        QTest::newRow("a half cent: 1,5 x 293,21")
            << QStringList{QStringLiteral("1,5|293,21||")} << QStringLiteral("22")
            << QStringLiteral("439,815|439,81|96,76|536,57|0,00|536,57");
        // VAT on the taxable sum, never row by row (three times 0,0264 would be 0,09).
        QTest::newRow("three rows of 0,12")
            << QStringList{QStringLiteral("1|0,12||"), QStringLiteral("1|0,12||"), QStringLiteral("1|0,12||")}
            << QStringLiteral("22") << QStringLiteral("0,12|0,12|0,12|0,36|0,08|0,44|0,00|0,44");
        QTest::newRow("half cents beside an exempt row")
            << QStringList{QStringLiteral("1|10,005||"), QStringLiteral("1|90||x"),
                           QStringLiteral("1|10,005||")}
            << QStringLiteral("22") << QStringLiteral("10,005|90,00|10,005|20,01|4,40|24,41|90,00|114,41");
        QTest::newRow("four-decimal prices and quantities")
            << QStringList{QStringLiteral("3|3,3333||"), QStringLiteral("1,2345|7,7777||"),
                           QStringLiteral("2,5|0,0625||x")}
            << QStringLiteral("22") << QString();
        QTest::newRow("fields at their capacities")
            << QStringList{QStringLiteral("999,99|0,12345678|12,345|"),
                           QStringLiteral("1|9999999,99|99,999|x")}
            << QStringLiteral("22") << QString();
        QTest::newRow("a surcharge and a discount at 10 %")
            << QStringList{QStringLiteral("2|0,125|-5|"), QStringLiteral("3|19,99|10|x")}
            << QStringLiteral("10") << QString();
        QTest::newRow("only exempt rows")
            << QStringList{QStringLiteral("1|77,475||x"), QStringLiteral("7|0,0007||x")}
            << QStringLiteral("22") << QString();
    }
    void theScreenThePrintAndTheElectronicInvoiceShowTheSameNumbers()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, rate);
        QFETCH(QString, figures);
        if (!popplerAvailable())
            QSKIP("pdfinfo and pdftotext are not installed");
        showInvoice(4); // the stored invoice without rows
        for (int k = 0; k < rows.size(); ++k) {
            const QStringList row = rows[k].split(u'|');
            named<QLineEdit>(screen, u"txtQuant", k)->setText(row[0]);
            named<QLineEdit>(screen, u"txtDesc", k)->setText(QStringLiteral("Articolo %1").arg(k + 1));
            named<QLineEdit>(screen, u"txtPrezzo", k)->setText(row[1]);
            named<QLineEdit>(screen, u"txtPercSconto", k)->setText(row[2]);
            named<QCheckBox>(screen, u"chkEs", k)->setChecked(row[3] == u"x");
        }
        named<QLineEdit>(screen, u"txtPercIva")->setText(rate);
        QTest::mouseClick(named<QPushButton>(screen, u"cmdCalcola"), Qt::LeftButton);

        // What the screen shows.
        QStringList amounts;
        for (int k = 0; k < rows.size(); ++k)
            amounts << named<QLabel>(screen, u"txtImporto", k)->text();
        QStringList totals;
        for (const char16_t* total :
             {u"txtTotImponibile", u"txtTotImposta", u"txtTotIva", u"txtTotEsente", u"txtTotFattura"})
            totals << named<QLabel>(screen, total)->text();
        if (!figures.isEmpty())
            QCOMPARE((amounts + totals).join(u'|'), figures);

        // The printed invoice shows the same texts.
        t->services.modal.insert(QStringLiteral("frmCrea_PDF_Fat"), [](QDialog& d) {
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnConferma")), Qt::LeftButton);
            return d.result();
        });
        t->services.answers.push_back(Answer::No);
        QTest::mouseClick(named<PictureButton>(screen, u"cmdPDF"), Qt::LeftButton);
        const QList<PdfWord> words = pdfWords(t->path(QStringLiteral("Fattura.pdf")));
        for (const QString& shown : amounts + totals)
            QVERIFY2(findWord(words, shown).page == 1, qPrintable(shown));

        // The electronic invoice carries them.
        pressButton([](TfrmFatturaElettronica& w) { QTest::mouseClick(w.btnCrea, Qt::LeftButton); });
        const QByteArray xml =
            fileBytes(QDir(documents()).filePath(QStringLiteral("IT01234567897_00001.xml")));
        QVERIFY2(!xml.isEmpty(), qPrintable(t->services.lastMessage()));
        QStringList pointedAmounts;
        for (const QString& a : amounts)
            pointedAmounts << pointed(a);
        QCOMPARE(elementTexts(xml, u"PrezzoTotale"), pointedAmounts);
        bool anyTaxed = false, anyExempt = false;
        for (const QString& row : rows)
            (row.endsWith(u"|x") ? anyExempt : anyTaxed) = true;
        QStringList taxable, tax;
        if (anyTaxed)
            taxable << pointed(totals[0]), tax << pointed(totals[1]);
        if (anyExempt)
            taxable << pointed(totals[3]), tax << QStringLiteral("0.00");
        QCOMPARE(elementTexts(xml, u"ImponibileImporto"), taxable);
        QCOMPARE(elementTexts(xml, u"Imposta"), tax);
        QCOMPARE(elementTexts(xml, u"ImportoTotaleDocumento"), QStringList{pointed(totals[4])});
        QCOMPARE(exchangeSystemFaults(xml, QDate(2026, 12, 31)), QStringList());
    }

    // A document for a public administration is signed with the certificate chosen, its password
    // asked (again when wrong); the signature verifies with OpenSSL, and what it signs is the very
    // XML the window writes without a certificate.
    void aDocumentForAPublicAdministrationIsSigned()
    {
        QTemporaryDir keys;
        const QString p12 = keys.filePath(QStringLiteral("firma.p12"));
        const auto openssl = [](const QStringList& arguments) {
            QProcess p;
            p.start(QStringLiteral("openssl"), arguments);
            return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        };
        QVERIFY(
            openssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                     QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                     keys.filePath(QStringLiteral("k.pem")), QStringLiteral("-out"),
                     keys.filePath(QStringLiteral("c.pem")), QStringLiteral("-days"), QStringLiteral("30"),
                     QStringLiteral("-subj"), QStringLiteral("/CN=Caffe Tarvello")}));
        QVERIFY(openssl({QStringLiteral("pkcs12"), QStringLiteral("-export"), QStringLiteral("-inkey"),
                         keys.filePath(QStringLiteral("k.pem")), QStringLiteral("-in"),
                         keys.filePath(QStringLiteral("c.pem")), QStringLiteral("-out"), p12,
                         QStringLiteral("-passout"), QStringLiteral("pass:segreta")}));
        Record card(CustomerRecord::layout());
        card.setText(CustomerRecord::Ditta, QStringLiteral("Comune di Bologna"));
        card.setText(CustomerRecord::PartitaIva, QStringLiteral("12345678903"));
        card.setText(CustomerRecord::CodiceDest, QStringLiteral("UFX8KL"));
        card.setText(CustomerRecord::Ricontatta, QStringLiteral("No"));
        writeRecords(t->path(QStringLiteral("Clienti.pro")), {card});
        showInvoice(1);

        t->services.files.push_back(p12);
        t->services.inputs = {QStringLiteral("sbagliata"), QStringLiteral("segreta")};
        pressButton([](TfrmFatturaElettronica& w) {
            QCOMPARE(w.cboEsigibilita->currentData().toString(), QStringLiteral("S")); // a public body
            QTest::mouseClick(w.btnCertificato, Qt::LeftButton);
            QTest::mouseClick(w.btnCrea, Qt::LeftButton);
        });
        QCOMPARE(t->services.secretPrompts,
                 QStringList(2, QStringLiteral("Password del certificato firma.p12:")));
        QVERIFY(t->services.messages.size() >= 2);
        QCOMPARE(t->services.messages[t->services.messages.size() - 2].text,
                 QStringLiteral("La password del certificato non è corretta."));
        QCOMPARE(
            t->services.lastMessage(),
            s(u"La fattura elettronica firmata è stata creata nel file IT01234567897_00001.xml.p7m della "
              u"cartella FattureElettroniche.\n\r\n\rAprire la cartella?"));
        const QString signedFile = QDir(documents()).filePath(QStringLiteral("IT01234567897_00001.xml.p7m"));
        const QString content = keys.filePath(QStringLiteral("contenuto.xml"));
        QVERIFY(openssl({QStringLiteral("cms"), QStringLiteral("-verify"), QStringLiteral("-inform"),
                         QStringLiteral("DER"), QStringLiteral("-noverify"), QStringLiteral("-in"),
                         signedFile, QStringLiteral("-out"), content}));
        // The certificate is remembered, its password nowhere.
        const QByteArray settings = fileBytes(t->path(QStringLiteral("Numerazione.ini")));
        QVERIFY(settings.contains(QByteArray(QByteArray("Certificato=") + QFile::encodeName(p12))));
        QVERIFY(!settings.contains("segreta"));

        // The same invoice written without a certificate, under the same number.
        QVERIFY(QFile::remove(signedFile));
        QVERIFY(writeFile(t->path(QStringLiteral("Numerazione.ini")), settingsBefore));
        t->services.modal.clear();
        t->services.modalShown.clear();
        pressButton([](TfrmFatturaElettronica& w) {
            w.txtCertificato->clear();
            QTest::mouseClick(w.btnCrea, Qt::LeftButton);
        });
        QVERIFY(t->services.lastMessage().contains(s(u"va firmata digitalmente")));
        const QByteArray plain =
            fileBytes(QDir(documents()).filePath(QStringLiteral("IT01234567897_00001.xml")));
        QVERIFY(!plain.isEmpty());
        QCOMPARE(fileBytes(content), plain);
    }

    void helpOpensWithF1()
    {
        showInvoice(1);
        QString title;
        t->services.modal.insert(QStringLiteral("frmGuida"), [&](QDialog& d) {
            title = d.findChild<QLabel*>(QStringLiteral("lblTitolo"))->text();
            return 0;
        });
        pressButton([](TfrmFatturaElettronica& w) { QTest::keyClick(w.txtNumero, Qt::Key_F1); });
        QCOMPARE(title, QStringLiteral("Fattura elettronica."));
    }
};

TARVELLO_TEST_MAIN(EInvoiceScreenTest)
#include "test_einvoice_screen.moc"

#include "invoices/fatture.h"
#include "invoices/invoiceoutput.h"
#include "namedcontrols.h"
#include "pdftools.h"
#include "readonlyfolder.h"
#include "shell/conventions.h"
#include "shell/services.h"
#include "testprogram.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>

using namespace tarvello;
using namespace tarvello::testing;

class InvoicePrintTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmFatture* s = nullptr;

    QString pdf() const { return t->path(QStringLiteral("Fattura.pdf")); }

    // Presses the output window's confirm button; the window's result is recorded.
    void pressConfirmIn(const QString& window)
    {
        t->services.modal.insert(window, [](QDialog& d) {
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnConferma")), Qt::LeftButton);
            return d.result();
        });
    }

    void fillInvoice()
    {
        named<QLineEdit>(s, u"txtNumFatt")->setText(QStringLiteral("12/2026"));
        named<QLineEdit>(s, u"txtData")->setText(QStringLiteral("09/12/2026"));
        named<QLineEdit>(s, u"txtDitta")->setText(QStringLiteral("Officina Rossi"));
        named<QLineEdit>(s, u"txtCliente")->setText(QStringLiteral("Bianchi Laura"));
        named<QLineEdit>(s, u"txtCodFiscCliente")->setText(QStringLiteral("BNCLRA80A41A944K"));
        named<QLineEdit>(s, u"txtQuant", 0)->setText(QStringLiteral("2"));
        named<QLineEdit>(s, u"txtDesc", 0)->setText(QStringLiteral("Pneumatico"));
        named<QLineEdit>(s, u"txtPrezzo", 0)->setText(QStringLiteral("10,00"));
        named<QLineEdit>(s, u"txtDesc", 1)
            ->setText(QStringLiteral("Descrizione lunghissima che non entra nella colonna: WWWWWWWWWWWW"));
        named<QLineEdit>(s, u"txtQuant", 29)->setText(QStringLiteral("7"));
        named<QLineEdit>(s, u"txtPrezzo", 29)->setText(QStringLiteral("1,00"));
        named<QLineEdit>(s, u"txtPercIva")->setText(QStringLiteral("22"));
        s->cmdCalcolaClick();
    }

private Q_SLOTS:
    void init()
    {
        if (!popplerAvailable())
            QSKIP("pdfinfo and pdftotext are not installed");
        t = std::make_unique<TestProgram>();
        s = static_cast<TfrmFatture*>(t->window(QStringLiteral("frmFatture")));
        named<QLabel>(s, u"lblFile")->setText(t->path(QStringLiteral("2026.fat")));
        s->show();
    }
    void cleanup() { t.reset(); }

    void pdfShowsTheInvoiceWhereTheLayoutPutsIt()
    {
        fillInvoice();
        pressConfirmIn(QStringLiteral("frmCrea_PDF_Fat"));
        t->services.answers.push_back(Answer::Yes);
        QTest::mouseClick(named<PictureButton>(s, u"cmdPDF"), Qt::LeftButton);
        QCOMPARE(t->services.lastKind(), MessageKind::Confirmation);
        QCOMPARE(t->services.lastMessage(),
                 QStringLiteral("L'esportazione della scheda in PDF è terminata con "
                                "successo.\r\n\r\nSi vuole aprire il file?"));
        QCOMPARE(t->services.opened.value(0), QUrl::fromLocalFile(pdf()));

        const PdfSummary info = pdfSummary(pdf());
        QVERIFY(info.ok);
        QCOMPARE(info.pages, 1);
        QCOMPARE(info.title, QStringLiteral("Fattura"));
        QVERIFY(qAbs(info.widthPt - pt(210)) < 1 && qAbs(info.heightPt - pt(297)) < 1);

        const QList<PdfWord> words = pdfWords(pdf());
        const PdfWord number = findWord(words, QStringLiteral("Fattura"));
        QVERIFY(number.page == 1);
        QVERIFY2(qAbs(number.xMin - pt(87 + 10)) < 1.0, qPrintable(QString::number(number.xMin)));
        QVERIFY(findWord(words, QStringLiteral("12/2026")).page == 1);
        const PdfWord row30 = findWord(words, QStringLiteral("7"));
        QVERIFY(row30.page == 1);
        QVERIFY2(row30.yMin >= pt(233 + 10) - 0.5 && row30.yMax <= pt(233 + 10 + 4.5) + 0.5,
                 qPrintable(QString::number(row30.yMin)));
        QVERIFY(findWord(words, QStringLiteral("DOCUMENTO")).page == 1);
        QVERIFY(findWord(words, QStringLiteral("32,94")).page == 1); // 20 + 7, plus 22 % VAT
    }

    void emptyCustomerLinesVanishAndTheIssuerLineKeepsItsParts()
    {
        named<QLineEdit>(s, u"txtCliente")->setText(QStringLiteral("Verdi"));
        pressConfirmIn(QStringLiteral("frmCrea_PDF_Fat"));
        t->services.answers.push_back(Answer::No);
        QTest::mouseClick(named<PictureButton>(s, u"cmdPDF"), Qt::LeftButton);
        const QList<PdfWord> words = pdfWords(pdf());
        QCOMPARE(findWord(words, QStringLiteral("C.F.")).page, 1); // the issuer's line only
        int vatWords = 0, taxWords = 0;
        for (const PdfWord& w : words) {
            vatWords += w.text == QStringLiteral("P.IVA:");
            taxWords += w.text == QStringLiteral("C.F.");
        }
        QCOMPARE(vatWords, 1);
        QCOMPARE(taxWords, 1);
        const PdfWord vat = findWord(words, QStringLiteral("P.IVA:"));
        const PdfWord tax = findWord(words, QStringLiteral("C.F."));
        QVERIFY(qAbs(vat.yMin - tax.yMin) < 0.5);
        QVERIFY(vat.xMin < pt(3 + 10) + 1);
        QVERIFY(tax.xMin > vat.xMax && tax.xMin - vat.xMax < pt(4)); // nothing between, only blanks
    }

    void longDescriptionIsCutAtItsColumn()
    {
        fillInvoice();
        pressConfirmIn(QStringLiteral("frmCrea_PDF_Fat"));
        t->services.answers.push_back(Answer::No);
        QTest::mouseClick(named<PictureButton>(s, u"cmdPDF"), Qt::LeftButton);
        const QList<PdfWord> words = pdfWords(pdf());
        double rightmost = 0;
        for (const PdfWord& w : words)
            if (w.yMin > pt(88 + 5 + 10) - 1 && w.yMax < pt(88 + 5 + 4.5 + 10) + 1 &&
                w.xMin < pt(60 + 75 + 10))
                rightmost = qMax(rightmost, w.xMax);
        QVERIFY2(rightmost <= pt(60 + 75 + 10) + 0.5, qPrintable(QString::number(rightmost)));
        QCOMPARE(findWord(words, QStringLiteral("WWWWWWWWWWWW")).page, 0);
    }

    void answeringNoKeepsTheWindowAndASecondPdfReplacesTheFirst()
    {
        QStringList results;
        t->services.modal.insert(QStringLiteral("frmCrea_PDF_Fat"), [&](QDialog& d) {
            auto* create = d.findChild<QPushButton*>(QStringLiteral("btnConferma"));
            QTest::mouseClick(create, Qt::LeftButton);
            results << (d.isVisible() ? QStringLiteral("open") : QStringLiteral("closed"));
            named<QLineEdit>(s, u"txtNumFatt")->setText(QStringLiteral("99"));
            QTest::mouseClick(create, Qt::LeftButton);
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnAnnulla")), Qt::LeftButton);
            results << (d.isVisible() ? QStringLiteral("open") : QStringLiteral("closed"));
            return d.result();
        });
        t->services.answers = {Answer::No, Answer::No};
        QTest::mouseClick(named<PictureButton>(s, u"cmdPDF"), Qt::LeftButton);
        QCOMPARE(results, (QStringList{QStringLiteral("open"), QStringLiteral("closed")}));
        QCOMPARE(findWord(pdfWords(pdf()), QStringLiteral("99")).page, 1);
        QVERIFY(t->services.opened.isEmpty());
    }

    void aPdfThatCannotBeWrittenIsReportedAndTheOldOneKept()
    {
        QFile old(pdf());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        ReadOnlyFolder readOnly(pdf());
        if (!readOnly.active())
            QSKIP("this machine cannot make a read-only file");
        pressConfirmIn(QStringLiteral("frmCrea_PDF_Fat"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdPDF"), Qt::LeftButton);
        QCOMPARE(t->services.lastKind(), MessageKind::Warning);
        QVERIFY(t->services.lastMessage().startsWith(
            QStringLiteral("Attenzione: non è stato possibile creare il file Fattura.pdf.")));
        QFile check(pdf());
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), QByteArray("old"));
    }

    void printingWithoutAPrinterSaysSo()
    {
        // Decided before acting, so a missing warning can never pass for a printer.
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this machine has a printer");
        t->services.printToPdf.clear(); // the dialog hands back the default printer, which is none here
        pressConfirmIn(QStringLiteral("frmStampaFat"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdStampa"), Qt::LeftButton);
        QCOMPARE(t->services.printDialogs, 1);
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.lastKind(), MessageKind::Warning);
        QVERIFY(t->services.lastMessage().startsWith(QStringLiteral(
            "Attenzione: non è disponibile nessuna stampante, quindi la fattura proforma non è "
            "stata stampata.")));
    }

    void printAndPreviewGoThroughTheirDialogs()
    {
        fillInvoice();
        t->services.printToPdf = t->path(QStringLiteral("stampa.pdf"));
        pressConfirmIn(QStringLiteral("frmStampaFat"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdStampa"), Qt::LeftButton);
        QCOMPARE(t->services.printDialogs, 1);
        QCOMPARE(pdfSummary(t->services.printToPdf).pages, 1);
        QCOMPARE(findWord(pdfWords(t->services.printToPdf), QStringLiteral("Pneumatico")).page, 1);

        t->services.printToPdf = t->path(QStringLiteral("anteprima.pdf"));
        pressConfirmIn(QStringLiteral("frmAnteprimaFat"));
        QTest::mouseClick(named<PictureButton>(s, u"cmdAnteprima"), Qt::LeftButton);
        QCOMPARE(t->services.previews, 1);
        QCOMPARE(findWord(pdfWords(t->services.printToPdf), QStringLiteral("Bianchi")).page, 1);
        QVERIFY(t->services.messages.isEmpty());
    }
};

TARVELLO_TEST_MAIN(InvoicePrintTest)

#include "test_invoice_print.moc"

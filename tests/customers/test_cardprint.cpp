#include "cardtesting.h"
#include "customers/customerreport.h"
#include "namedcontrols.h"
#include "pdftools.h"
#include "readonlyfolder.h"
#include "saidtexts.h"
#include "shell/conventions.h"

#include <QCheckBox>
#include <QPrinterInfo>

using namespace tarvello;
using namespace tarvello::testing;
using namespace cardtesting;

class CardPrintTest : public QObject
{
    Q_OBJECT

    static void fillCard(TfrmClienti* card)
    {
        type(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Rossi"));
        type(named<QLineEdit>(card, u"txtNome"), QStringLiteral("Mario"));
        type(named<QComboBox>(card, u"txtProvNasc"), QStringLiteral("rm"));
        type(named<QLineEdit>(card, u"txtComuneNasc"), QStringLiteral("Roma"));
        type(named<QLineEdit>(card, u"txtCapRes"), QStringLiteral("47521"));
        type(named<QLineEdit>(card, u"txtCodFisc"), QStringLiteral("RSSMRA80A01H501U"));
        type(named<QLineEdit>(card, u"txtNote"), QStringLiteral("Preferisce essere chiamato al mattino"));
    }

    // The top of row k of the printed card, in points from the paper's top edge.
    static double rowTop(int k) { return pt(10 + 24 + 10 * (k - 1)); }

    static bool inRow(const PdfWord& w, int k)
    {
        return w.page == 1 && w.yMin >= rowTop(k) - 1 && w.yMax <= rowTop(k) + pt(6) + 1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!popplerAvailable())
            QSKIP("pdfinfo and pdftotext are not installed");
    }

    void pdfHoldsTheCardRowByRow()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        fillCard(card); // never saved: the card prints what it shows
        t.services.answers.push_back(Answer::Yes);
        click(named<PictureButton>(card, u"cmdPDF"));
        const QString pdf = t.path(QStringLiteral("Cliente.pdf"));
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastKind(), MessageKind::Confirmation);
        QCOMPARE(t.services.lastMessage(), said::cardPdfDone);
        QCOMPARE(t.services.opened, QList<QUrl>{QUrl::fromLocalFile(pdf)});

        const PdfSummary info = pdfSummary(pdf);
        QVERIFY(info.ok);
        QCOMPARE(info.pages, 1);
        QCOMPARE(info.title, QStringLiteral("Scheda informativa"));
        QVERIFY(qAbs(info.widthPt - 595.3) < 1 && qAbs(info.heightPt - 841.9) < 1);
        QVERIFY(pdfXmp(pdf).contains(QStringLiteral("Scheda informativa")));

        const QList<PdfWord> words = pdfWords(pdf);
        const PdfWord title = findWord(words, QStringLiteral("ANAGRAFICA"));
        QVERIFY(title.page == 1);
        QVERIFY(title.yMin >= pt(13) - 1 && title.yMax <= pt(22) + 1);
        QVERIFY(title.xMin > pt(33) && title.xMax < pt(198));

        const std::tuple<const char*, int, double> expected[] = {
            {"Cognome", 1, 10 + 3},
            {"Rossi", 1, 10 + 60},
            {"Mario", 1, 10 + 60},
            {"Roma", 3, 10 + 60},
            {"RM", 3, 10 + 60},
            {"fiscale:", 14, 10 + 3},
            {"RSSMRA80A01H501U", 14, 10 + 60},
            {"Carta", 16, 10 + 3},
            {"N.", 16, 10 + 60},
            {"Preferisce", 24, 10 + 60},
        };
        for (const auto& [text, row, left] : expected) {
            const PdfWord w = findWord(words, QString::fromUtf8(text));
            QVERIFY2(inRow(w, row), text);
            QVERIFY2(w.xMin >= pt(left) - 1, text);
        }
        const PdfWord date = findWord(words, QStringLiteral("09/12/2026"));
        QVERIFY(date.page == 1 && date.yMin >= pt(10 + 269) - 1 && date.yMax <= pt(10 + 275) + 1);
        QVERIFY(findWord(words, QStringLiteral("10:30:00")).page == 1);
        QVERIFY2(findWord(words, QStringLiteral("47521")).page == 0, "the postcode is not printed");
    }

    void pdfAgainReplacesTheFileAndNoLeavesItClosed()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        fillCard(card);
        t.services.answers.push_back(Answer::No);
        click(named<PictureButton>(card, u"cmdPDF"));
        QVERIFY(t.services.opened.isEmpty());
        named<QLineEdit>(card, u"txtCognome")->setText(QStringLiteral("Bianchi"));
        t.services.answers.push_back(Answer::No);
        click(named<PictureButton>(card, u"cmdPDF"));
        QCOMPARE(t.services.messages.size(), 2); // M9 each time, and no question about replacing
        QVERIFY(
            inRow(findWord(pdfWords(t.path(QStringLiteral("Cliente.pdf"))), QStringLiteral("Bianchi")), 1));
    }

    void lockedPdfIsReportedAndKept()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        fillCard(card);
        const QString pdf = t.path(QStringLiteral("Cliente.pdf"));
        QVERIFY(writeFile(pdf, "old document"));
        ReadOnlyFolder locked(pdf);
        if (!locked.active())
            QSKIP("this machine cannot make a read-only file");
        click(named<PictureButton>(card, u"cmdPDF"));
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);
        QVERIFY(t.services.lastMessage().startsWith(
            QStringLiteral("Attenzione: non è stato possibile creare il file PDF della scheda.")));
        QVERIFY(t.services.opened.isEmpty());
        QCOMPARE(fileBytes(pdf), QByteArray("old document"));
    }

    void printGoesThroughThePrintDialog()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        fillCard(card);
        t.services.printToPdf = t.path(QStringLiteral("stampa.pdf"));
        t.services.acceptPrint = false;
        click(named<PictureButton>(card, u"cmdStampa"));
        QCOMPARE(t.services.printDialogs, 1);
        QVERIFY(!QFile::exists(t.services.printToPdf));
        QVERIFY(t.services.messages.isEmpty());

        t.services.acceptPrint = true;
        click(named<PictureButton>(card, u"cmdStampa"));
        QCOMPARE(t.services.printDialogs, 2);
        QVERIFY(t.services.messages.isEmpty());
        const QList<PdfWord> words = pdfWords(t.services.printToPdf);
        QVERIFY(inRow(findWord(words, QStringLiteral("Rossi")), 1));
        QVERIFY(findWord(words, QStringLiteral("SCHEDA")).page == 1);
        QVERIFY(!QFile::exists(t.path(QStringLiteral("Cliente.pdf"))));
    }

    void printWithoutAPrinterSaysSo()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this machine has a printer");
        TestProgram t;
        TfrmClienti* card = openCard(t);
        click(named<PictureButton>(card, u"cmdStampa"));
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);
        QVERIFY2(t.services.lastMessage().contains(QStringLiteral("nessuna stampante")),
                 qPrintable(t.services.lastMessage()));
    }

    void previewShowsTheSamePage()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        fillCard(card);
        t.services.printToPdf = t.path(QStringLiteral("anteprima.pdf"));
        click(named<PictureButton>(card, u"cmdAnteprima"));
        QCOMPARE(t.services.previews, 1);
        const QList<PdfWord> words = pdfWords(t.services.printToPdf);
        QVERIFY(inRow(findWord(words, QStringLiteral("RSSMRA80A01H501U")), 14));
        QCOMPARE(pdfSummary(t.services.printToPdf).pages, 1);
    }

    void layoutObjectsAreNamedAndPlaced()
    {
        const ReportLayout layout = CustomerCard::reportLayout();
        QCOMPARE(layout.documentName(), QStringLiteral("Scheda informativa"));
        QCOMPARE(layout.marginsMm(), QMarginsF(10, 10, 10, 10));
        QVERIFY(layout.orientation() == Orientation::Portrait);
        const ReportObject* titolo = layout.findObject(QStringLiteral("txtTitolo"));
        QVERIFY(titolo);
        QCOMPARE(titolo->rectMm, QRectF(23, 3, 165, 9));
        QCOMPARE(titolo->designText, QStringLiteral("SCHEDA ANAGRAFICA CLIENTE"));
        QCOMPARE(titolo->text.background, QColor(0xFF, 0x8C, 0x00));
        for (int k = 1; k <= 24; ++k) {
            const ReportObject* value = layout.findObject(CustomerCard::valueObject(k));
            const ReportObject* caption = layout.findObject(CustomerCard::titleObject(k));
            QVERIFY(value && caption);
            QCOMPARE(value->rectMm, QRectF(60, 24 + 10 * (k - 1), 128, 6));
            QCOMPARE(caption->rectMm.top(), 24.0 + 10 * (k - 1));
            QVERIFY(value->text.flow == TextFlow::SingleLine);
        }
        QCOMPARE(layout.findObject(QStringLiteral("titCampo24"))->designText, QStringLiteral("Note:"));
        QCOMPARE(layout.findObject(QStringLiteral("txtCalce"))->rectMm, QRectF(3, 269, 185, 6));
        const ReportObject* emblem = layout.findObject(QStringLiteral("imgEmblema"));
        QVERIFY(emblem && !emblem->designPicture.isNull());
    }
};

int runCardPrintTests(int argc, char** argv)
{
    CardPrintTest tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_cardprint.moc"

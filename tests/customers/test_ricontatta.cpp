// The list of customers to recontact, opened from the customer card: who is listed, how the lines
// read, the line chosen, find and print.

#include "cardtesting.h"
#include "customers/ricontatta.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "pdftools.h"
#include "shell/conventions.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace tarvello;
using namespace cardtesting;
namespace CR = tarvello::CustomerRecord;

namespace
{

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

QStringList names(const ResultList* list)
{
    QStringList out;
    for (const QString& line : list->lines())
        out.append(line.left(30).trimmed());
    return out;
}

// A record whose flag holds raw bytes that the card would never write.
QByteArray withFlagBytes(const QString& surname, const QByteArray& flag)
{
    QByteArray r = customer(surname, u(u"X"));
    r.replace(CR::layout().fields[CR::Ricontatta].offset, flag.size(), flag);
    return r;
}

} // namespace

class RecontactTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmClienti* card = nullptr;

    QString archive() const { return t->path(CR::fileName()); }

    void onList(std::function<void(TfrmRicontatta&)> body)
    {
        t->services.modal.insert(QStringLiteral("frmRicontatta"), [body](QDialog& d) {
            if (auto* w = qobject_cast<TfrmRicontatta*>(&d))
                body(*w);
            else
                QTest::qFail("the list is not a TfrmRicontatta", __FILE__, __LINE__);
            return d.result();
        });
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

    void onlyCustomersMarkedSiAreListedWithTheirIssues()
    {
        QVERIFY(writeArchive(archive(),
                             {customer(u(u"Verdi"), u(u"Anna"), u(u"Sì"),
                                       {{CR::Questioni, u(u"Attende il preventivo")},
                                        {CR::Note, u(u"nota che non compare")},
                                        {CR::Recapito, u(u"0547 1")},
                                        {CR::CodFisc, u(u"VRDNNA80A41D704X")},
                                        {CR::ComuneRes, u(u"Cesena")}}),
                              customer(u(u"Bianchi"), u(u"Luca"), u(u"No"), {{CR::Questioni, u(u"risolta")}}),
                              withFlagBytes(u(u"Vuoto"), QByteArray("\x00", 1)),
                              withFlagBytes(u(u"Senzaccento"), QByteArray("\x02Si", 3)),
                              withFlagBytes(u(u"Maiuscolo"), QByteArray("\x02S\xCC", 3)),
                              customer(u(u"Amato"), u(u"Ugo"), u(u"Sì"))}));
        onList([&](TfrmRicontatta& w) {
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords")),
                     (QStringList{u(u"Amato Ugo"), u(u"Verdi Anna")}));
            const QString verdi = named<ResultList>(&w, u"lstRecords")->lineText(1);
            QCOMPARE(verdi, u(u"Verdi Anna") + QString(20, u' ') + u(u"  Tel. 0547 1") + QString(10, u' ') +
                                u(u"  C.F. VRDNNA80A41D704X  Città: Cesena") + QString(22, u' ') +
                                u(u"  Attende il preventivo"));
            // Without pending issues the line ends with the town piece and two blanks.
            QVERIFY(named<ResultList>(&w, u"lstRecords")
                        ->lineText(0)
                        .endsWith(u(u"Città: ") + QString(28, u' ') + u(u"  ")));
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->itemWidth(), 1600);
            QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(&w, u"txtTrova"));
            QVERIFY(!w.findChild<QLabel*>(QStringLiteral("lblTrovate"))); // this list has no count
        });
        click(named<PictureButton>(card, u"cmdRicontatta"));
        CHECK_BODY();
        QCOMPARE(t->services.modalShown, QStringList{QStringLiteral("frmRicontatta")});
        QVERIFY(t->services.messages.isEmpty());
    }

    void tickingTheBoxAndSavingPutsTheCustomerOnTheList()
    {
        QVERIFY(
            writeArchive(archive(), {customer(u(u"Rossi"), u(u"Mario")), customer(u(u"Neri"), u(u"Ugo"))}));
        click(named<PictureButton>(card, u"cmdPrimo"));
        QVERIFY(!named<QCheckBox>(card, u"chkRicontatta")->isChecked());
        QTest::mouseClick(named<QCheckBox>(card, u"chkRicontatta"), Qt::LeftButton);
        QVERIFY(named<QCheckBox>(card, u"chkRicontatta")->isChecked());
        click(named<PictureButton>(card, u"cmdSalva"));
        click(
            named<PictureButton>(card, u"cmdNuovo")); // the card shows nobody when the list loads its choice

        bool chose = false;
        onList([&](TfrmRicontatta& w) {
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords")), QStringList{u(u"Rossi Mario")});
            QTest::mouseDClick(named<ResultList>(&w, u"lstRecords")->viewport(), Qt::LeftButton, {},
                               named<ResultList>(&w, u"lstRecords")
                                   ->visualRect(named<ResultList>(&w, u"lstRecords")->model()->index(0, 0))
                                   .center());
            chose = !w.isVisible();
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 0); // closing empties the list
        });
        click(named<PictureButton>(card, u"cmdRicontatta"));
        CHECK_BODY();
        QVERIFY(chose);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), u(u"1"));
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), u(u"Rossi"));
        QVERIFY(named<QCheckBox>(card, u"chkRicontatta")->isChecked());

        // Cleared and saved again: the next time the list opens, he is gone.
        QTest::mouseClick(named<QCheckBox>(card, u"chkRicontatta"), Qt::LeftButton);
        click(named<PictureButton>(card, u"cmdSalva"));
        onList([&](TfrmRicontatta& w) { QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 0); });
        click(named<PictureButton>(card, u"cmdRicontatta"));
    }

    void aDoubleClickOnNoLineClosesTheList()
    {
        QVERIFY(writeArchive(archive(), {customer(u(u"Rossi"), u(u"Mario"), u(u"Sì"))}));
        for (bool empty : {false, true}) {
            if (empty)
                QVERIFY(writeArchive(archive(), {customer(u(u"Neri"), u(u"Ugo"))}));
            bool closed = false;
            onList([&](TfrmRicontatta& w) {
                QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), empty ? 0 : 1);
                QTest::mouseDClick(
                    named<ResultList>(&w, u"lstRecords")->viewport(), Qt::LeftButton, {},
                    QPoint(20, named<ResultList>(&w, u"lstRecords")->viewport()->height() - 5));
                closed = !w.isVisible();
            });
            click(named<PictureButton>(card, u"cmdRicontatta"));
            CHECK_BODY();
            QVERIFY2(closed, empty ? "empty list" : "below the last line");
            QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
            QVERIFY(t->services.messages.isEmpty());
        }
    }

    void findPrintAndTheEmptyList()
    {
        QVERIFY(writeArchive(
            archive(), {customer(u(u"Rossi"), u(u"Mario"), u(u"Sì"), {{CR::Questioni, u(u"fattura errata")}}),
                        customer(u(u"Bianchi"), u(u"Anna"), u(u"Sì"), {{CR::Questioni, u(u"reso")}}),
                        customer(u(u"Neri"), u(u"Ugo"), u(u"Sì"), {{CR::Questioni, u(u"Fattura doppia")}})}));
        t->services.printToPdf = t->path(QStringLiteral("ricontattare.pdf"));
        onList([&](TfrmRicontatta& w) {
            type(named<QLineEdit>(&w, u"txtTrova"), u(u"FATTURA"));
            QTest::keyClick(named<QLineEdit>(&w, u"txtTrova"), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), named<QPushButton>(&w, u"btnTrova"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords"))
                         .value(named<ResultList>(&w, u"lstRecords")->currentRow()),
                     u(u"Neri Ugo"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
            QCOMPARE(names(named<ResultList>(&w, u"lstRecords"))
                         .value(named<ResultList>(&w, u"lstRecords")->currentRow()),
                     u(u"Rossi Mario"));
            QTest::mouseClick(named<QPushButton>(&w, u"btnStampa"), Qt::LeftButton);
            QTest::mouseClick(named<QPushButton>(&w, u"btnChiudi"), Qt::LeftButton);
            QVERIFY(!w.isVisible());
        });
        click(named<PictureButton>(card, u"cmdRicontatta"));
        CHECK_BODY();
        QCOMPARE(t->services.printDialogs, 1);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString()); // closing loads nothing
        if (testing::popplerAvailable()) {
            const QList<testing::PdfWord> words = testing::pdfWords(t->services.printToPdf);
            QVERIFY(testing::findWord(words, u(u"ricontattare")).page == 1);
            QVERIFY(testing::findWord(words, u(u"doppia")).page == 1);
        }

        // An archive where nobody is to be recontacted: an empty list, and Trova says so.
        QVERIFY(writeArchive(archive(), {customer(u(u"Rossi"), u(u"Mario"), u(u"No"))}));
        onList([&](TfrmRicontatta& w) {
            QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 0);
            QCOMPARE(named<QLineEdit>(&w, u"txtTrova")->text(), QString()); // each opening starts afresh
            QTest::mouseClick(named<QPushButton>(&w, u"btnTrova"), Qt::LeftButton);
        });
        click(named<PictureButton>(card, u"cmdRicontatta"));
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.messages[0].kind, MessageKind::Plain);
        QCOMPARE(t->services.messages[0].text,
                 u(u"Ricerca non applicabile: la lista non contiene nessuna voce."));
    }

    void anUnreadableArchiveShowsAnEmptyListWithoutAWord()
    {
        QVERIFY(QDir(t->dir.path()).mkdir(CR::fileName()));
        onList([&](TfrmRicontatta& w) { QCOMPARE(named<ResultList>(&w, u"lstRecords")->count(), 0); });
        click(named<PictureButton>(card, u"cmdRicontatta"));
        CHECK_BODY();
        QVERIFY(t->services.messages.isEmpty());
    }
};

int runRecontactTests(int argc, char** argv)
{
    RecontactTest tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_ricontatta.moc"

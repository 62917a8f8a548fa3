#include "archive/productrecord.h"
#include "archive/stockjournal.h"
#include "files.h"
#include "invoices/fatture.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "saidtexts.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/handoffs.h"
#include "shell/shellwindows.h"
#include "testprogram.h"
#include "warehouse/giacenza.h"
#include "warehouse/magazzino.h"
#include "warehouse/productcard.h"
#include "warehouse/productwindows.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QUrlQuery>

using namespace tarvello;
using namespace tarvello::ProductRecord;

namespace
{

// Offsets of the fields in a 4874-byte product record.
namespace at
{
constexpr int Codice = 0, Marca = 282, Costo = 1639, Valore = 1655, Prezzo = 2173, PercIva = 2189,
              Prezzo_con_Iva = 2192, Giacenza = 2459, Sottoscorta = 2475, Consumo = 2491, Onde = 2584,
              File01 = 2866, Desc01 = 3619, Cartella = 4372, CartellaDesc = 4623;
} // namespace at

QByteArray product(std::initializer_list<std::pair<Field, QString>> fields)
{
    ProductCard::CardTexts t = ProductCard::newCard();
    for (const auto& [f, v] : fields)
        t[size_t(f)] = v;
    return ProductCard::toRecord(t).bytes();
}

QByteArray field(const char* text)
{
    return char(qstrlen(text)) + QByteArray(text);
}

void click(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

// Types into a field and leaves it with Tab, as a user does.
void typeAndLeave(QLineEdit* e, const QString& text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Tab);
}

} // namespace

class WarehouseTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmMagazzino* card = nullptr;

    QString archive() const { return t->path(ProductRecord::fileName()); }

    void openCard()
    {
        card = qobject_cast<TfrmMagazzino*>(t->window(QStringLiteral("frmMagazzino")));
        QVERIFY(card);
        AppContext::showScreen(card);
        QApplication::setActiveWindow(card);
        QVERIFY(QTest::qWaitForWindowActive(card));
    }

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<TestProgram>();
        openCard();
    }
    void cleanup()
    {
        card = nullptr;
        t.reset();
    }

    void launcherOpensTheCardAndClosingReturns()
    {
        card->close();
        auto* launcher = static_cast<TfrmAvvio*>(t->window(QStringLiteral("frmAvvio")));
        QVERIFY(launcher->isVisible());
        QVERIFY(named<PictureButton>(launcher, u"btnMagazzino")->isEnabled());
        click(named<PictureButton>(launcher, u"btnMagazzino"));
        QVERIFY(card->isVisible());
        QVERIFY(!launcher->isVisible());
        QCOMPARE(card->windowTitle(), QStringLiteral(" Tarvello - Magazzino Prodotti"));
        QCOMPARE(named<QLineEdit>(card, u"txtGiacenza")->text(), QStringLiteral("0"));
        QCOMPARE(named<QLineEdit>(card, u"txtCosto")->text(), QStringLiteral("0,00"));
        QCOMPARE(named<QLineEdit>(card, u"txtCodice")->maxLength(), 30);
        QCOMPARE(named<QLineEdit>(card, u"txtPercIva")->maxLength(), 2);
        for (QWidget* b : std::initializer_list<QWidget*>{
                 named<PictureButton>(card, u"cmdTrova"), named<PictureButton>(card, u"cmdSottoscorta"),
                 named<PictureButton>(card, u"cmdEsporta"), named<PictureButton>(card, u"cmdFile"),
                 named<QPushButton>(card, u"btnAggiungi"), named<QPushButton>(card, u"btnPneumatici")})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    }

    void saveStoresTheRecordByteForByte()
    {
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t->services.lastMessage(), said::codeMissing);
        QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(card, u"txtCodice"));
        QVERIFY(!QFile::exists(archive()) || fileBytes(archive()).isEmpty());

        QTest::keyClicks(named<QLineEdit>(card, u"txtCodice"), QStringLiteral("  ART-1 "));
        typeAndLeave(named<QLineEdit>(card, u"txtMarca"), QStringLiteral("Acme"));
        typeAndLeave(named<QLineEdit>(card, u"txtGiacenza"), QStringLiteral("7"));
        typeAndLeave(named<QLineEdit>(card, u"txtCosto"), QStringLiteral("2,5"));
        typeAndLeave(named<QLineEdit>(card, u"txtPrezzo"), QStringLiteral("10"));
        typeAndLeave(named<QLineEdit>(card, u"txtPercIva"), QStringLiteral("22"));
        named<QLineEdit>(card, u"txtSottoscorta")->clear(); // an empty number field is stored as its zero
        named<QLabel>(card, u"memConsumo")->setText(QStringLiteral("12 cm"));
        named<QLabel>(card, u"lblFile01")->setText(QStringLiteral("foto.jpg"));
        named<QLabel>(card, u"lblDesc01")->setText(QStringLiteral("Foto"));
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t->services.lastMessage(),
                 QStringLiteral("La scheda corrente è stata inserita in archivio."));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("1"));
        // Save ran "Calcola" and "Calcola valore" itself.
        QCOMPARE(named<QLineEdit>(card, u"txtValore")->text(), QStringLiteral("17,50"));
        QCOMPARE(named<QLineEdit>(card, u"txtPrezzo_con_Iva")->text(), QStringLiteral("12,20"));

        const QByteArray b = fileBytes(archive());
        QCOMPARE(b.size(), ProductRecord::Size);
        QCOMPARE(b.mid(at::Codice, 31), field("ART-1") + QByteArray(25, '\0'));
        QCOMPARE(b.mid(at::Marca, 5), field("Acme"));
        QCOMPARE(b.mid(at::Costo, 5), field("2,50"));
        QCOMPARE(b.mid(at::Valore, 6), field("17,50"));
        QCOMPARE(b.mid(at::Prezzo, 6), field("10,00"));
        QCOMPARE(b.mid(at::PercIva, 3), field("22"));
        QCOMPARE(b.mid(at::Prezzo_con_Iva, 6), field("12,20"));
        QCOMPARE(b.mid(at::Giacenza, 2), field("7"));
        QCOMPARE(b.mid(at::Sottoscorta, 2), field("0"));
        QCOMPARE(b.mid(at::Consumo, 6), field("12 cm"));
        QCOMPARE(b.mid(at::Onde, 1), QByteArray(1, '\0'));
        QCOMPARE(b.mid(at::File01, 9), field("foto.jpg"));
        QCOMPARE(b.mid(at::Desc01, 5), field("Foto"));
        QCOMPARE(b.mid(at::CartellaDesc, 251), QByteArray(251, '\0'));

        // Saving again overwrites the same record.
        typeAndLeave(named<QLineEdit>(card, u"txtGiacenza"), QStringLiteral("8"));
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t->services.lastMessage(), said::changesSaved);
        const QByteArray again = fileBytes(archive());
        QCOMPARE(again.size(), ProductRecord::Size);
        QCOMPARE(again.mid(at::Valore, 6), field("20,00"));
    }

    void leavingANumberFieldTidiesIt_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cost 12") << "txtCosto"
                                 << "12"
                                 << "12,00";
        QTest::newRow("cost 12,5") << "txtCosto"
                                   << "12,5"
                                   << "12,50";
        QTest::newRow("cost 12,34567") << "txtCosto"
                                       << "12,34567"
                                       << "12,3457";
        QTest::newRow("cost empty") << "txtCosto"
                                    << ""
                                    << "0,00";
        QTest::newRow("cost two commas") << "txtCosto"
                                         << "1,2,3"
                                         << "0,00";
        QTest::newRow("cost refuses letters") << "txtCosto"
                                              << "1a2"
                                              << "12,00";
        QTest::newRow("stock 007") << "txtGiacenza"
                                   << "007"
                                   << "7";
        QTest::newRow("stock empty") << "txtGiacenza"
                                     << ""
                                     << "0";
        QTest::newRow("stock refuses comma") << "txtGiacenza"
                                             << "2,5"
                                             << "25";
    }
    void leavingANumberFieldTidiesIt()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto* e = card->findChild<QLineEdit*>(control);
        typeAndLeave(e, typed);
        QCOMPARE(e->text(), shown);
    }

    void priceButtonsAndTheirWarnings()
    {
        typeAndLeave(named<QLineEdit>(card, u"txtPrezzo"), QStringLiteral("0,1"));
        typeAndLeave(named<QLineEdit>(card, u"txtPercIva"), QStringLiteral("22"));
        click(named<QPushButton>(card, u"btnCalcola"));
        QCOMPARE(named<QLineEdit>(card, u"txtPrezzo_con_Iva")->text(), QStringLiteral("0,12"));
        typeAndLeave(named<QLineEdit>(card, u"txtPrezzo_con_Iva"), QStringLiteral("12,20"));
        click(named<QPushButton>(card, u"btnScorpora"));
        QCOMPARE(named<QLineEdit>(card, u"txtPrezzo")->text(), QStringLiteral("10,00"));
        named<QLineEdit>(card, u"txtPrezzo_con_Iva")
            ->setText(QStringLiteral("1,,2")); // as a damaged record may bring it
        click(named<QPushButton>(card, u"btnScorpora"));
        QCOMPARE(t->services.lastMessage(), said::removeVatInvalid);
        QCOMPARE(named<QLineEdit>(card, u"txtPrezzo")->text() +
                     named<QLineEdit>(card, u"txtPercIva")->text() +
                     named<QLineEdit>(card, u"txtPrezzo_con_Iva")->text(),
                 QStringLiteral("0,0000,00"));
        typeAndLeave(named<QLineEdit>(card, u"txtCosto"), QStringLiteral("0,333"));
        typeAndLeave(named<QLineEdit>(card, u"txtGiacenza"), QStringLiteral("3"));
        click(named<QPushButton>(card, u"btnValore"));
        QCOMPARE(named<QLineEdit>(card, u"txtValore")->text(), QStringLiteral("1,00"));
    }

    void stockWindowSubtractsAndSaveKeepsTheNegativeStock()
    {
        typeAndLeave(named<QLineEdit>(card, u"txtGiacenza"), QStringLiteral("3"));
        QString caption;
        t->services.modal.insert(QStringLiteral("frmGiacenza"), [&caption](QDialog& d) {
            auto& w = static_cast<TfrmGiacenza&>(d);
            caption = named<QLabel>(&w, u"lblAggiunta")->text();
            if (named<QLineEdit>(&w, u"txtGiacenza")->text() != QStringLiteral("3"))
                return 0;
            auto* quantity = named<QLineEdit>(&w, u"txtAggiunta");
            quantity->setFocus();
            quantity->selectAll();
            QTest::keyClicks(quantity, QStringLiteral("5"));
            click(named<QPushButton>(&w, u"btnAggiorna"));
            return 1;
        });
        click(named<QPushButton>(card, u"btnSottrai"));
        QCOMPARE(caption, QStringLiteral("Quantità da sottrarre:"));
        QCOMPARE(named<QLineEdit>(card, u"txtGiacenza")->text(), QStringLiteral("-2"));

        // "Annulla" leaves the card as it was.
        t->services.modal.insert(QStringLiteral("frmGiacenza"), [](QDialog& d) {
            auto& w = static_cast<TfrmGiacenza&>(d);
            named<QLineEdit>(&w, u"txtAggiunta")->setText(QStringLiteral("9"));
            click(named<QPushButton>(&w, u"btnTotale"));
            click(named<QPushButton>(&w, u"btnChiudi"));
            return 0;
        });
        click(named<QPushButton>(card, u"btnAggiungi"));
        QCOMPARE(named<QLineEdit>(card, u"txtGiacenza")->text(), QStringLiteral("-2"));

        named<QLineEdit>(card, u"txtCodice")->setText(QStringLiteral("NEG"));
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(fileBytes(archive()).mid(at::Giacenza, 3), field("-2"));
    }

    void navigationAndDuplicate()
    {
        QVERIFY(writeArchive(archive(), {product({{Codice, QStringLiteral("P1")}}),
                                         product({{Codice, QStringLiteral("P2")},
                                                  {Consumo, QStringLiteral("alto")},
                                                  {File01, QStringLiteral("a.pdf")},
                                                  {Cartella, QStringLiteral("c")}}),
                                         product({{Codice, QStringLiteral("P3")}})}));
        click(named<PictureButton>(card, u"cmdDuplica"));
        QCOMPARE(t->services.lastMessage(), said::duplicateNeedsSave);
        click(named<PictureButton>(card, u"cmdIndietro")); // a new card goes to the first
        QCOMPARE(named<QLineEdit>(card, u"txtCodice")->text(), QStringLiteral("P1"));
        click(named<PictureButton>(card, u"cmdUltimo"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("3"));
        const qsizetype messages = t->services.messages.size();
        click(named<PictureButton>(card, u"cmdAvanti")); // the last card stays
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("3"));
        QCOMPARE(t->services.messages.size(), messages);
        click(named<PictureButton>(card, u"cmdIndietro"));
        QCOMPARE(named<QLineEdit>(card, u"txtCodice")->text(), QStringLiteral("P2"));
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QStringLiteral("a.pdf"));
        click(named<PictureButton>(card, u"cmdDuplica"));
        QCOMPARE(t->services.lastMessage(), said::duplicated);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QString());
        QCOMPARE(named<QLabel>(card, u"lblCartella")->text(), QString());
        QCOMPARE(named<QLabel>(card, u"memConsumo")->text(), QStringLiteral("alto"));
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("4"));
        const QByteArray copy = fileBytes(archive()).mid(3 * ProductRecord::Size);
        QCOMPARE(copy.mid(at::Codice, 3), field("P2"));
        QCOMPARE(copy.mid(at::Consumo, 5), field("alto"));
        QCOMPARE(copy.mid(at::File01, 1), QByteArray(1, '\0'));
        QCOMPARE(copy.mid(at::Cartella, 1), QByteArray(1, '\0'));
    }

    void extraDataAttachmentsWebAndPdf()
    {
        named<QLineEdit>(card, u"txtCodice")->setText(QStringLiteral("X"));
        t->services.modal.insert(QStringLiteral("frmDatiPneumatici"), [](QDialog& d) {
            auto& w = static_cast<TfrmDatiPneumatici&>(d);
            named<QLineEdit>(&w, u"txtOnde")->setText(QStringLiteral(" 12/2027 "));
            click(named<QPushButton>(&w, u"btnApplica"));
            return 1;
        });
        click(named<QPushButton>(card, u"btnPneumatici"));
        QCOMPARE(named<QLabel>(card, u"memOnde")->text(), QStringLiteral("12/2027"));

        t->services.modal.insert(QStringLiteral("frmAllegaCartella"), [](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("txtDesc02"))->setText(QStringLiteral("Manuale"));
            click(d.findChild<QPushButton*>(QStringLiteral("btnApplica")));
            return 1;
        });
        click(named<PictureButton>(card, u"cmdFile"));
        QCOMPARE(named<QLabel>(card, u"lblDesc02")->text(), QStringLiteral("Manuale"));

        click(named<PictureButton>(card, u"cmdWeb"));
        QCOMPARE(t->services.lastMessage(), said::brandMissing);
        QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(card, u"txtMarca"));
        named<QLineEdit>(card, u"txtMarca")->setText(QStringLiteral("R&S"));
        named<QLineEdit>(card, u"txtModello")->setText(QStringLiteral("X 10#a"));
        click(named<PictureButton>(card, u"cmdWeb"));
        QCOMPARE(t->services.opened.size(), 1);
        QCOMPARE(QUrlQuery(t->services.opened.last()).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded),
                 QStringLiteral("R&S X 10#a"));

        t->services.answers.push_back(Answer::No);
        click(named<PictureButton>(card, u"cmdPDF"));
        QCOMPARE(t->services.lastMessage(), said::cardPdfDone);
        QVERIFY(fileBytes(t->path(QStringLiteral("Articolo.pdf"))).startsWith("%PDF"));
        QCOMPARE(t->services.opened.size(), 1);
    }

    void searchOpensTheChosenOfTwoIdenticalLines()
    {
        const auto twin = [](const char* note) {
            return product({{Codice, QStringLiteral("GEMELLO")},
                            {Marca, QStringLiteral("Fiat")},
                            {Descrizione, QString::fromUtf8(note)}});
        };
        QVERIFY(writeArchive(archive(),
                             {twin("primo"), product({{Codice, QStringLiteral("ALTRO")}}), twin("secondo")}));
        QString found;
        t->services.modal.insert(QStringLiteral("frmTrovaMagazzino"), [&found](QDialog& d) {
            auto& w = static_cast<TfrmTrovaMagazzino&>(d);
            QTest::keyClicks(named<QLineEdit>(&w, u"txtMarca"), QStringLiteral("FIAT"));
            click(named<QPushButton>(&w, u"btnCerca"));
            found = named<QLabel>(&w, u"lblTrovate")->text();
            if (named<ResultList>(&w, u"lstRecords")->count() != 2 ||
                named<ResultList>(&w, u"lstRecords")->lineText(0) !=
                    named<ResultList>(&w, u"lstRecords")->lineText(1))
                return 0;
            const int row =
                named<ResultList>(&w, u"lstRecords")->recordAt(0) == 0 ? 0 : 1; // the first record's line
            named<ResultList>(&w, u"lstRecords")->setCurrentRow(row);
            const QRect rect = named<ResultList>(&w, u"lstRecords")
                                   ->visualRect(named<ResultList>(&w, u"lstRecords")->model()->index(row, 0));
            QTest::mouseDClick(named<ResultList>(&w, u"lstRecords")->viewport(), Qt::LeftButton, {},
                               rect.center());
            return 1;
        });
        click(named<PictureButton>(card, u"cmdTrova"));
        QCOMPARE(found, QStringLiteral("Il presente elenco contiene 2 schede."));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(named<QLineEdit>(card, u"txtDescrizione")->text(), QStringLiteral("primo"));
    }

    // The import leaves decimals in a stock (7,5 m of cable). Saving the card untouched, or after
    // passing through the stock field, or after adding to it with the stock window ("+"), keeps them
    // and values the stock on them; a stock the user types is a whole number.
    void aStockTheUserDidNotTypeIsSavedAsItIs_data()
    {
        QTest::addColumn<QString>("typed"); // null: the field is only passed through; "+1": the window
        QTest::addColumn<QByteArray>("stock");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("untouched") << QString() << field("7,5") << field("15,00");
        QTest::newRow("typed 9") << QStringLiteral("9") << field("9") << field("18,00");
        QTest::newRow("plus 1 with the stock window")
            << QStringLiteral("+1") << field("8,5") << field("17,00");
    }
    void aStockTheUserDidNotTypeIsSavedAsItIs()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, stock);
        QFETCH(QByteArray, value);
        QVERIFY(writeArchive(archive(), {product({{Codice, QStringLiteral("CAVO")},
                                                  {Giacenza, QStringLiteral("7,5")},
                                                  {Costo, QStringLiteral("2,00")},
                                                  {Valore, QStringLiteral("15,00")}})}));
        click(named<PictureButton>(card, u"cmdPrimo"));
        QLineEdit* stockField = named<QLineEdit>(card, u"txtGiacenza");
        QCOMPARE(stockField->text(), QStringLiteral("7,5"));
        if (typed == u"+1") {
            t->services.modal.insert(QStringLiteral("frmGiacenza"), [](QDialog& d) {
                auto* quantity = named<QLineEdit>(&d, u"txtAggiunta");
                quantity->setFocus();
                quantity->selectAll();
                QTest::keyClicks(quantity, QStringLiteral("1"));
                click(named<QPushButton>(&d, u"btnAggiorna"));
                return 1;
            });
            click(named<QPushButton>(card, u"btnAggiungi"));
            QCOMPARE(stockField->text(), QStringLiteral("8,5"));
            typed = QString();
        }
        stockField->setFocus(Qt::TabFocusReason);
        if (!typed.isNull()) {
            stockField->selectAll();
            QTest::keyClick(stockField, Qt::Key_Backspace);
            QTest::keyClicks(stockField, typed);
        }
        QTest::keyClick(stockField, Qt::Key_Tab);
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t->services.lastMessage(), said::changesSaved);
        const QByteArray b = fileBytes(archive());
        QCOMPARE(b.mid(at::Giacenza, stock.size()), stock);
        QCOMPARE(b.mid(at::Valore, value.size()), value);
    }

    void theStatusStripIsSlateBlue()
    {
        auto* strip = card->findChild<QWidget*>(QStringLiteral("panInfo"));
        QVERIFY(strip);
        const QImage picture = strip->grab().toImage();
        QCOMPARE(QColor(picture.pixel(2, picture.height() / 2)).name(), QStringLiteral("#6a5acd"));
    }

    void lowStockListSkipsWhatIsNotANumber()
    {
        const auto stock = [](const char* code, const char* s, const char* reorder) {
            return product({{Codice, QString::fromUtf8(code)},
                            {Giacenza, QString::fromUtf8(s)},
                            {Sottoscorta, QString::fromUtf8(reorder)}});
        };
        QVERIFY(writeArchive(archive(), {stock("B", "6", "5"), stock("C", "molti", "5"), stock("D", "5", "5"),
                                         stock("A", "0", "0")}));
        QStringList lines;
        QString left;
        t->services.modal.insert(QStringLiteral("frmSottoscorta"), [&lines, &left](QDialog& d) {
            auto& w = static_cast<TfrmSottoscorta&>(d);
            lines = named<ResultList>(&w, u"lstRecords")->lines();
            auto* escluse = w.findChild<QLabel*>(QStringLiteral("lblEscluse"));
            left = escluse && escluse->isVisible() ? escluse->text() : QString();
            named<ResultList>(&w, u"lstRecords")->setCurrentRow(1);
            QTest::keyClick(named<ResultList>(&w, u"lstRecords"), Qt::Key_Return);
            return 1;
        });
        click(named<PictureButton>(card, u"cmdSottoscorta"));
        QCOMPARE(lines.size(), 2);
        // The card whose stock reads "molti" is not in the list, and the user is told so.
        QCOMPARE(left, QStringLiteral("1 scheda esclusa: giacenza o sottoscorta non numeriche."));
        QVERIFY(lines[0].startsWith(u'A'));
        QVERIFY(lines[1].startsWith(u'D'));
        QCOMPARE(named<QLineEdit>(card, u"txtCodice")->text(), QStringLiteral("D"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("3"));
    }

    void exportWritesMagazzinoXls()
    {
        QVERIFY(writeArchive(archive(), {product({{Codice, QStringLiteral("007")},
                                                  {Marca, QStringLiteral("Caffè & <Tè>")},
                                                  {Costo, QStringLiteral("12,50")},
                                                  {Accessori, QStringLiteral("cavo")}})}));
        const QByteArray before = fileBytes(archive());
        t->services.modal.insert(QStringLiteral("frmExpMagazzino"), [](QDialog& d) {
            auto& w = static_cast<TfrmExpMagazzino&>(d);
            w.gridModel()->setCell(0, 5, QStringLiteral("cavo lungo"));
            click(named<PictureButton>(&w, u"cmdEsporta"));
            return 1;
        });
        t->services.answers = {Answer::Yes, Answer::No};
        click(named<PictureButton>(card, u"cmdEsporta"));
        QCOMPARE(fileBytes(archive()), before);

        const QList<QByteArray> headers = {"Codice articolo",
                                           "Tipologia",
                                           "Marca",
                                           "Modello",
                                           "Descrizione",
                                           "Accessori",
                                           "Fornitore",
                                           "Recapito preferenziale",
                                           "Data acquisto",
                                           "Estremi documento acquisto",
                                           "Modalit\xE0 ordine merce",
                                           "Giacenza",
                                           "Costo",
                                           "Valore",
                                           "Prezzo senza IVA",
                                           "Perc. IVA",
                                           "Prezzo con IVA",
                                           "Collocazione in magazzino",
                                           "Altezza",
                                           "Larghezza",
                                           "Lunghezza",
                                           "Scadenza",
                                           "Note"};
        const int widths[] = {250, 250, 250, 250, 400, 400, 250, 250, 200, 350, 350, 200,
                              200, 200, 200, 150, 200, 350, 200, 200, 200, 200, 400};
        const QList<QByteArray> cells = {"007",   "",     "Caff\xE8 &amp; &lt;T\xE8&gt;",
                                         "",      "",     "cavo lungo",
                                         "",      "",     "",
                                         "",      "",     "0",
                                         "12,50", "0,00", "0,00",
                                         "0",     "0,00", "",
                                         "",      "",     "",
                                         "",      ""};
        QByteArray expected =
            "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
            "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
            "xmlns=\"http://www.w3.org/TR/REC-html40\"><head>"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"><!--[if gte mso "
            "9]><xml>"
            "<x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet><x:Name>Magazzino</"
            "x:Name><x:WorksheetOptions>"
            "<x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number><x:ActiveRow>3</x:ActiveRow></x:Pane></"
            "x:Panes>"
            "<x:ProtectContents>False</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects>"
            "<x:ProtectScenarios>False</x:ProtectScenarios></x:WorksheetOptions></x:ExcelWorksheet>"
            "</x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]--></head><body><table x:str><tr>";
        for (int i = 0; i < headers.size(); ++i)
            expected +=
                "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(widths[i]) +
                ">" + headers[i] + "</td>";
        expected += "</tr><tr>";
        // Code, phone and purchase document are identifiers: the text number format keeps their digits.
        const QByteArray textCell =
            "<td sdnum=\"1040;0;@\" style=\"text-align: left; mso-number-format:&quot;\\@&quot;;\">";
        for (int i = 0; i < cells.size(); ++i)
            expected +=
                (i == 0 || i == 7 || i == 9 ? textCell : QByteArray("<td style=\"text-align: left;\">")) +
                cells[i] + "</td>";
        expected += "</tr></table></body></html>";
        QCOMPARE(fileBytes(t->path(QStringLiteral("Magazzino.xls"))), expected);
    }

    // Every field of the product holds a text of its own, so a column filled from another field
    // (the model from the description, say) shows in the document.
    void exportCellsComeFromTheirOwnFields()
    {
        Record rec(ProductRecord::layout());
        for (int i = 0; i < int(ProductRecord::layout().fields.size()); ++i)
            rec.setText(i, QString::number(10 + i)); // two digits: even the VAT rate's field holds them
        QVERIFY(writeArchive(archive(), {rec.bytes()}));
        t->services.modal.insert(QStringLiteral("frmExpMagazzino"), [](QDialog& d) {
            click(d.findChild<QAbstractButton*>(QStringLiteral("cmdEsporta")));
            return 1;
        });
        t->services.answers = {Answer::Yes, Answer::No};
        click(named<PictureButton>(card, u"cmdEsporta"));

        // The document's columns in order, named by the field each is filled from.
        const char* columns[] = {"Codice",    "Tipologia",      "Marca",        "Modello", "Descrizione",
                                 "Accessori", "Fornitore",      "Recapiti",     "Data",    "Documento",
                                 "Ordine",    "Giacenza",       "Costo",        "Valore",  "Prezzo",
                                 "PercIva",   "Prezzo_con_Iva", "Collocazione", "Consumo", "Aderenza",
                                 "Rumore",    "Onde",           "Note"};
        const QByteArray doc = fileBytes(t->path(QStringLiteral("Magazzino.xls")));
        const QByteArray row = doc.mid(doc.indexOf("</tr><tr>") + 9);
        QStringList cells;
        static const QRegularExpression cell(QStringLiteral("<td[^>]*>([^<]*)</td>"));
        for (auto it = cell.globalMatch(QString::fromLatin1(row.left(row.indexOf("</tr>")))); it.hasNext();)
            cells.append(it.next().captured(1));
        QStringList expected;
        for (const char* name : columns)
            expected.append(QString::number(10 + ProductRecord::layout().indexOf(QString::fromLatin1(name))));
        QCOMPARE(cells, expected);
    }

    // A product's brand changed, then an arrow, Nuovo or Esci, and the user's answer.
    void unsavedChangesAreAskedFor_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("positionAfter"); // "-" for a card that is no longer shown
        const std::pair<const char*, const char*> actions[] = {{"avanti", "2"}, {"nuovo", ""}, {"esci", "-"}};
        for (const auto& [action, after] : actions) {
            QTest::addRow("%s-si", action) << action << int(Answer::Yes) << after;
            QTest::addRow("%s-no", action) << action << int(Answer::No) << after;
            QTest::addRow("%s-annulla", action) << action << int(Answer::Cancel) << "1";
        }
    }

    void unsavedChangesAreAskedFor()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(QString, positionAfter);
        const QByteArray p1 = product({{Codice, QStringLiteral("P1")}});
        QVERIFY(writeArchive(archive(), {p1, product({{Codice, QStringLiteral("P2")}})}));
        click(named<PictureButton>(card, u"cmdPrimo"));
        QCOMPARE(fileBytes(archive()).left(ProductRecord::Size), p1);
        typeAndLeave(named<QLineEdit>(card, u"txtMarca"), QStringLiteral("Pirelli"));
        QVERIFY(t->services.messages.isEmpty());
        t->services.answers.push_back(Answer(answer));
        click(action == u"avanti"  ? named<PictureButton>(card, u"cmdAvanti")
              : action == u"nuovo" ? named<PictureButton>(card, u"cmdNuovo")
                                   : named<PictureButton>(card, u"cmdEsci"));
        QCOMPARE(t->services.messages.first().text, said::unsavedChanges);
        const QByteArray stored = fileBytes(archive()).left(ProductRecord::Size);
        if (Answer(answer) == Answer::Yes)
            QCOMPARE(Record(ProductRecord::layout(), stored).text(Marca), QStringLiteral("Pirelli"));
        else
            QCOMPARE(stored, p1);
        if (positionAfter == u"-") {
            QVERIFY(!card->isVisible());
        } else {
            QVERIFY(card->isVisible());
            QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), positionAfter);
        }
    }

    void anUntouchedCardNeverAsks()
    {
        QVERIFY(writeArchive(archive(),
                             {product({{Codice, QStringLiteral("P1")}, {Consumo, QStringLiteral("alto")}}),
                              product({{Codice, QStringLiteral("P2")}})}));
        for (QAbstractButton* b :
             {named<PictureButton>(card, u"cmdAvanti"), named<PictureButton>(card, u"cmdAvanti"),
              named<PictureButton>(card, u"cmdIndietro"), named<PictureButton>(card, u"cmdUltimo"),
              named<PictureButton>(card, u"cmdNuovo"), named<PictureButton>(card, u"cmdPrimo"),
              named<PictureButton>(card, u"cmdEsci")})
            click(b);
        QVERIFY(!card->isVisible());
        QCOMPARE(t->services.messages.size(), 0);
    }

    // The import fills the row of the invoice it was opened for, and writes the units it takes
    // down for that invoice's holder; the row's quantity and code arrive in its fields first.
    void theImportHandsTheArticleToTheInvoiceItServes_data()
    {
        QTest::addColumn<bool>("updateStock");
        QTest::addColumn<QString>("handed");
        QTest::addColumn<QByteArray>("stock");
        QTest::addColumn<int>("held");
        QTest::newRow("taking the units")
            << true << "row 7: A1 | Pneumatico 205/55 | 20,00 | 2,5" << field("7,5") << 1;
        QTest::newRow("leaving the stock")
            << false << "row 7: A1 | Pneumatico 205/55 | 20,00 | " << field("10") << 0;
    }
    void theImportHandsTheArticleToTheInvoiceItServes()
    {
        QFETCH(bool, updateStock);
        QFETCH(QString, handed);
        QFETCH(QByteArray, stock);
        QFETCH(int, held);
        QVERIFY(writeArchive(archive(),
                             {product({{Codice, QStringLiteral("B2")}, {Giacenza, QStringLiteral("4")}}),
                              product({{Codice, QStringLiteral("A1")},
                                       {Descrizione, QStringLiteral("Pneumatico 205/55")},
                                       {Giacenza, QStringLiteral("10")},
                                       {Prezzo, QStringLiteral("20,00")}})}));
        // An invoice that writes down what it is handed.
        struct RecordingInvoice final : InvoiceTarget {
            QStringList handed;
            void takeCustomer(const InvoiceCustomer& customer) override { handed << customer.name; }
            void takeArticle(int row, const InvoiceArticle& a) override
            {
                handed << QStringLiteral("row %1: %2 | %3 | %4 | %5")
                              .arg(row)
                              .arg(a.code, a.description, a.price, a.taken);
            }
            ImportHolder importHolder() const override
            {
                return {.id = QStringLiteral("fattura-prova"),
                        .invoiceFile = QStringLiteral("2026.fat"),
                        .invoiceNumber = QStringLiteral("17")};
            }
        } invoice;
        QString quantity, criterion;
        int listed = 0;
        t->services.modal.insert(QStringLiteral("frmImportaMagazzino"), [&](QDialog& d) {
            auto& w = static_cast<TfrmImportaMagazzino&>(d);
            quantity = named<QLineEdit>(&w, u"txtQuant")->text();
            criterion = named<QLineEdit>(&w, u"txtCodice")->text();
            click(named<QPushButton>(&w, u"btnCerca"));
            listed = named<ResultList>(&w, u"lstRecords")->count();
            named<ResultList>(&w, u"lstRecords")->setCurrentRow(0);
            click(updateStock ? named<QPushButton>(&w, u"btnAggiorna")
                              : named<QPushButton>(&w, u"btnNonAggiornare"));
            return d.result();
        });
        openArticleImportFor(*t->program, card, invoice,
                             {.row = 7, .quantity = QStringLiteral("2,5"), .code = QStringLiteral("A1")});
        QCOMPARE(quantity, QStringLiteral("2,5"));
        QCOMPARE(criterion, QStringLiteral("A1"));
        QCOMPARE(listed, 1);
        QCOMPARE(invoice.handed, QStringList{handed});
        QCOMPARE(fileBytes(archive()).mid(ProductRecord::Size + at::Giacenza, stock.size()), stock);
        const std::vector<StockJournal::Entry> entries = StockJournal::held(
            StockJournal::sessionOn(t->program->folder()), QStringLiteral("fattura-prova"));
        QCOMPARE(int(entries.size()), held);
        for (const StockJournal::Entry& e : entries) {
            QCOMPARE(e.invoiceFile, QStringLiteral("2026.fat"));
            QCOMPARE(e.invoiceNumber, QStringLiteral("17"));
            QCOMPARE(e.code, QStringLiteral("A1"));
            QCOMPARE(e.quantity, 2.5);
        }
    }
};

// The article import, through the invoice screen, against real files.
class ArticleImportTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmFatture* s = nullptr;

    QString archive() const { return t->path(ProductRecord::fileName()); }

    // Clicks the row's import button; the window searches everything, selects the line of
    // `record`, types the quantity and presses `button`.
    void importRow(int row, qint64 record, const QString& quantity, bool updateStock)
    {
        t->services.modal.insert(QStringLiteral("frmImportaMagazzino"), [=](QDialog& d) {
            auto& w = static_cast<TfrmImportaMagazzino&>(d);
            click(named<QPushButton>(&w, u"btnCerca"));
            for (int r = 0; r < named<ResultList>(&w, u"lstRecords")->count(); ++r)
                if (named<ResultList>(&w, u"lstRecords")->recordAt(r) == record) {
                    const QRect rect =
                        named<ResultList>(&w, u"lstRecords")
                            ->visualRect(named<ResultList>(&w, u"lstRecords")->model()->index(r, 0));
                    QTest::mouseClick(named<ResultList>(&w, u"lstRecords")->viewport(), Qt::LeftButton, {},
                                      rect.center());
                }
            if (!quantity.isNull())
                typeAndLeave(named<QLineEdit>(&w, u"txtQuant"), quantity);
            click(updateStock ? named<QPushButton>(&w, u"btnAggiorna")
                              : named<QPushButton>(&w, u"btnNonAggiornare"));
            return w.isVisible() ? 0 : 1;
        });
        click(named<PictureButton>(s, u"impMag", size_t(row - 1)));
    }

private Q_SLOTS:
    void init()
    {
#ifndef TARVELLO_HAS_INVOICES
        QSKIP("This build has no invoice screen to import into.");
#endif
        t = std::make_unique<TestProgram>();
        const auto twin = [](const char* cost, const char* price) {
            return product({{Codice, QStringLiteral("GEMELLO")},
                            {Descrizione, QStringLiteral("Pneumatico 205/55")},
                            {Giacenza, QStringLiteral("10")},
                            {Costo, QString::fromUtf8(cost)},
                            {Prezzo, QString::fromUtf8(price)}});
        };
        QVERIFY(writeArchive(archive(), {twin("3,10", "20,00"), twin("4,00", "20,00")}));
        auto* menu = static_cast<TfrmMenuFatture*>(t->window(QStringLiteral("frmMenuFatture")));
        menu->show();
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2024"));
        click(named<QPushButton>(menu, u"btnApriFatture"));
        s = static_cast<TfrmFatture*>(t->window(QStringLiteral("frmFatture")));
        QApplication::setActiveWindow(s);
        QVERIFY(QTest::qWaitForWindowActive(s));
        QVERIFY(named<PictureButton>(s, u"impMag", 0)->isEnabled());
        QVERIFY(named<PictureButton>(s, u"impMag", 29)->isEnabled());
    }
    void cleanup()
    {
        s = nullptr;
        t.reset();
    }

    // Units imported into an invoice belong to it until it is saved: left unsaved, it gives them
    // back, and the question before leaving says so; saved, they stay taken.
    void unitsImportedGoBackWhenTheInvoiceIsLeftUnsaved()
    {
        importRow(1, 0, QStringLiteral("2,5"), true);
        QCOMPARE(fileBytes(archive()).mid(at::Giacenza, 4), field("7,5"));
        t->services.messages.clear();
        t->services.answers.push_back(Answer::No);
        click(named<PictureButton>(s, u"cmdNuovo"));
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.messages.first().text,
                 QStringLiteral(
                     "La scheda corrente contiene modifiche non salvate. Salvarle prima di continuare?\n\n"
                     "Se le modifiche non vengono salvate, gli articoli prelevati dal magazzino per "
                     "questa fattura tornano in giacenza (GEMELLO: 2,5)."));
        QCOMPARE(fileBytes(archive()).mid(at::Giacenza, 3), field("10"));
        QCOMPARE(fileBytes(archive()).mid(at::Valore, 6), field("31,00"));
        QCOMPARE(named<QLineEdit>(s, u"txtCodice", 0)->text(), QString());
    }
    void unitsImportedStayTakenOnceTheInvoiceIsSaved()
    {
        importRow(1, 0, QStringLiteral("2,5"), true);
        named<QLineEdit>(s, u"txtCliente")->setText(QStringLiteral("Rossi Mario"));
        named<QLineEdit>(s, u"txtNumFatt")->setText(QStringLiteral("1/2024"));
        named<QLineEdit>(s, u"txtData")->setText(QStringLiteral("10/12/2024"));
        click(named<PictureButton>(s, u"cmdSalva"));
        QCOMPARE(t->services.lastMessage(), said::inserted);
        t->services.messages.clear();
        click(named<PictureButton>(s, u"cmdNuovo"));
        QCOMPARE(t->services.messages.size(), 0);
        QCOMPARE(fileBytes(archive()).mid(at::Giacenza, 4), field("7,5"));
        // Closed like any other window, with nothing held: no units go back.
        QVERIFY(s->close());
        QCOMPARE(fileBytes(archive()).mid(at::Giacenza, 4), field("7,5"));
    }

    void takesTheQuantityOffTheChosenProduct_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QByteArray>("stock");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("2,5 of 10") << "2,5" << field("7,5") << field("30,00");
        QTest::newRow("all of it") << "10" << field("0") << field("0,00");
    }
    void takesTheQuantityOffTheChosenProduct()
    {
        QFETCH(QString, quantity);
        QFETCH(QByteArray, stock);
        QFETCH(QByteArray, value);
        const QByteArray before = fileBytes(archive());
        named<QLineEdit>(s, u"txtQuant", 2)->setText(QStringLiteral("1"));
        importRow(3, 1, quantity, true);
        const QByteArray after = fileBytes(archive());
        QCOMPARE(after.left(ProductRecord::Size), before.left(ProductRecord::Size)); // the other twin
        const QByteArray chosen = after.mid(ProductRecord::Size);
        QCOMPARE(chosen.mid(at::Giacenza, stock.size()), stock);
        QCOMPARE(chosen.mid(at::Valore, value.size()), value);
        QCOMPARE(chosen.mid(at::Costo, 5), field("4,00"));
        QCOMPARE(named<QLineEdit>(s, u"txtCodice", 2)->text(), QStringLiteral("GEMELLO"));
        QCOMPARE(named<QLineEdit>(s, u"txtDesc", 2)->text(), QStringLiteral("Pneumatico 205/55"));
        QCOMPARE(named<QLineEdit>(s, u"txtPrezzo", 2)->text(), QStringLiteral("20,00"));
        QCOMPARE(named<QLineEdit>(s, u"txtQuant", 2)->text(),
                 QStringLiteral("1")); // the row's own quantity stays
    }

    // The stock value the import writes is cost × new stock rounded to the cent as it stands.
    void theImportValuesTheNewStockAtItsCost_data()
    {
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("0,115 x 3") << "0,115" << field("0,35");
        QTest::newRow("0,335 x 3") << "0,335" << field("1,01");
    }
    void theImportValuesTheNewStockAtItsCost()
    {
        QFETCH(QString, cost);
        QFETCH(QByteArray, value);
        QVERIFY(writeArchive(archive(), {product({{Codice, QStringLiteral("VITE")},
                                                  {Giacenza, QStringLiteral("4")},
                                                  {Costo, cost},
                                                  {Prezzo, QStringLiteral("0,50")}})}));
        importRow(1, 0, QStringLiteral("1"), true);
        const QByteArray after = fileBytes(archive());
        QCOMPARE(after.mid(at::Giacenza, 2), field("3"));
        QCOMPARE(after.mid(at::Valore, value.size()), value);
        QCOMPARE(named<QLineEdit>(s, u"txtCodice", 0)->text(), QStringLiteral("VITE"));
    }

    // The code typed in the row starts the search, and a line reached with the arrow keys shows
    // its article as a click does.
    void theRowsCodeStartsTheSearchAndKeysShowTheArticle()
    {
        QVERIFY(writeArchive(archive(),
                             {product({{Codice, QStringLiteral("A1")}, {Giacenza, QStringLiteral("5")}}),
                              product({{Codice, QStringLiteral("A2")}, {Giacenza, QStringLiteral("7")}}),
                              product({{Codice, QStringLiteral("B9")}, {Giacenza, QStringLiteral("9")}})}));
        named<QLineEdit>(s, u"txtCodice", 3)->setText(QStringLiteral("a"));
        QString criterion, shownFirst, shownAfterDown, stockAfterDown;
        int listed = 0;
        t->services.modal.insert(QStringLiteral("frmImportaMagazzino"), [&](QDialog& d) {
            auto& w = static_cast<TfrmImportaMagazzino&>(d);
            criterion = w.findChild<QLineEdit*>(QStringLiteral("txtCodice"))->text();
            click(named<QPushButton>(&w, u"btnCerca"));
            listed = named<ResultList>(&w, u"lstRecords")->count();
            named<ResultList>(&w, u"lstRecords")->setFocus();
            named<ResultList>(&w, u"lstRecords")->setCurrentRow(0);
            shownFirst = named<QLabel>(&w, u"lblCodice")->text();
            QTest::keyClick(named<ResultList>(&w, u"lstRecords"), Qt::Key_Down);
            shownAfterDown = named<QLabel>(&w, u"lblCodice")->text();
            stockAfterDown = named<QLabel>(&w, u"lblGiacenza")->text();
            return 0;
        });
        click(named<PictureButton>(s, u"impMag", 3));
        QCOMPARE(criterion, QStringLiteral("a"));
        QCOMPARE(listed, 2); // B9 holds no "a"
        QCOMPARE(shownFirst, QStringLiteral("A1"));
        QCOMPARE(shownAfterDown, QStringLiteral("A2"));
        QCOMPARE(stockAfterDown, QStringLiteral("7"));
    }

    // A double click below the lines of the import is no choice: the import stays open for the
    // article still to be picked, where a search window would close.
    void aDoubleClickBelowTheLinesLeavesTheImportOpen()
    {
        QVERIFY(writeArchive(archive(),
                             {product({{Codice, QStringLiteral("A1")}, {Giacenza, QStringLiteral("5")}})}));
        bool openAfter = false;
        t->services.modal.insert(QStringLiteral("frmImportaMagazzino"), [&](QDialog& d) {
            click(named<QPushButton>(&d, u"btnCerca"));
            auto* list = named<ResultList>(&d, u"lstRecords");
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               QPoint(20, list->viewport()->height() - 5));
            openAfter = d.isVisible();
            return 0;
        });
        click(named<PictureButton>(s, u"impMag", 2));
        QVERIFY(openAfter);
    }

    void aQuantityAboveTheStockChangesNothing()
    {
        const QByteArray before = fileBytes(archive());
        importRow(1, 1, QStringLiteral("10,5"), true);
        QCOMPARE(t->services.lastMessage(), said::aboveStock);
        QCOMPARE(t->services.lastKind(), MessageKind::Warning);
        QCOMPARE(fileBytes(archive()), before);
        QCOMPARE(named<QLineEdit>(s, u"txtCodice", 0)->text(), QString());
        QCOMPARE(named<QLineEdit>(s, u"txtPrezzo", 0)->text(), QString());
    }

    void withoutStockUpdateOnlyTheRowIsFilled()
    {
        const QByteArray before = fileBytes(archive());
        importRow(30, 0, QString(), false);
        QCOMPARE(fileBytes(archive()), before);
        QCOMPARE(named<QLineEdit>(s, u"txtCodice", 29)->text(), QStringLiteral("GEMELLO"));
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvello::Program::prepareApplication();
    int failures = 0;
    {
        WarehouseTest tc;
        failures += QTest::qExec(&tc, argc, argv);
    }
    {
        ArticleImportTest tc;
        failures += QTest::qExec(&tc, argc, argv);
    }
    return failures;
}

#include "test_magazzino.moc"

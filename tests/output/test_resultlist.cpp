// The result list widget, driven by key and mouse events: the line chosen gives its own record
// after sorting, "Trova" moves the selection, "Stampa" prints the lines as shown.

#include "output/outputtexts.h"
#include "output/resultlist.h"
#include "pdftools.h"
#include "testprogram.h"

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>

using namespace tarvello;

namespace
{

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// Lines as a search finds them, in file order: the record is the line's position in the file.
std::vector<ResultEntry> fileOrder(std::initializer_list<const char16_t*> texts)
{
    std::vector<ResultEntry> out;
    for (const char16_t* t : texts)
        out.push_back({QString::fromUtf16(t), qint64(out.size())});
    return out;
}

} // namespace

class ResultListTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    std::unique_ptr<QWidget> screen;
    ResultList* list = nullptr;

    // A small screen holding the list, shown and active, so clicks and keys reach it.
    void showList(ResultList::Order order, std::vector<ResultEntry> lines)
    {
        screen = std::make_unique<QWidget>();
        screen->resize(700, 360);
        list = new ResultList(*t->program, screen.get());
        list->setOrder(order);
        auto* layout = new QVBoxLayout(screen.get());
        layout->addWidget(list);
        list->setLines(std::move(lines));
        screen->show();
        QApplication::setActiveWindow(screen.get());
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        list->setFocus();
    }

    int rowOf(const QString& text) const
    {
        for (int r = 0; r < list->count(); ++r)
            if (list->lineText(r) == text)
                return r;
        return -1;
    }

    QPoint centreOf(int row) const { return list->visualRect(list->model()->index(row, 0)).center(); }

private Q_SLOTS:
    void init() { t = std::make_unique<TestProgram>(); }
    void cleanup()
    {
        screen.reset();
        t.reset();
    }

    void looksLikeAResultList()
    {
        showList(ResultList::Order::AsAdded, fileOrder({u"Fatt. n. 1/2026 del 05/03/2026"}));
        QCOMPARE(list->objectName(), QStringLiteral("lstRecords"));
        QVERIFY(list->uniformItemSizes());
        QCOMPARE(QFontInfo(list->font()).family(), QFontInfo(QFont(QStringLiteral("Courier New"))).family());
        QVERIFY(QFontInfo(list->font()).fixedPitch());
        QCOMPARE(list->font().pointSize(), 12);
        QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        // Items 1600 wide: the list scrolls sideways that far.
        QCOMPARE(list->visualRect(list->model()->index(0, 0)).width(), 1600);
        QCOMPARE(list->horizontalScrollBar()->maximum(), 1600 - list->viewport()->width());
        list->setItemWidth(1400);
        QCOMPARE(list->visualRect(list->model()->index(0, 0)).width(), 1400);
    }

    // Black lines on white, even in a window whose own colours say otherwise.
    void linesAreBlackOnWhiteWhateverTheWindow()
    {
        screen = std::make_unique<QWidget>();
        QPalette around = screen->palette();
        around.setColor(QPalette::Base, QColor(0xFF, 0xF0, 0xC0));
        around.setColor(QPalette::Text, QColor(0x80, 0x00, 0x00));
        screen->setPalette(around);
        screen->resize(700, 360);
        list = new ResultList(*t->program, screen.get());
        auto* layout = new QVBoxLayout(screen.get());
        layout->addWidget(list);
        list->setLines(fileOrder({u"Rossi Mario"}));
        screen->show();
        QCOMPARE(list->palette().color(QPalette::Text).name(), QStringLiteral("#000000"));
        const QImage picture = list->viewport()->grab().toImage();
        // Below the one line: the list's empty background.
        QCOMPARE(QColor(picture.pixel(picture.width() / 2, picture.height() - 4)).name(),
                 QStringLiteral("#ffffff"));
    }

    void sortedListIsInListOrderAndUnsortedKeepsFileOrder()
    {
        const auto lines = fileOrder({u"verdi", u"Bianchi", u"ROSSI", u"rossi anna", u"Àlfa", u"bianchi"});
        showList(ResultList::Order::Sorted, lines);
        QCOMPARE(list->lines(), (QStringList{u(u"Bianchi"), u(u"bianchi"), u(u"ROSSI"), u(u"rossi anna"),
                                             u(u"verdi"), u(u"Àlfa")}));
        QCOMPARE(list->recordAt(0), qint64(1));
        QCOMPARE(list->recordAt(1), qint64(5));

        showList(ResultList::Order::AsAdded, lines);
        QCOMPARE(list->lines().first(), QStringLiteral("verdi"));
        QCOMPARE(list->recordAt(5), qint64(5));
    }

    void doubleClickGivesTheRecordOfTheLineAfterSorting()
    {
        // Two records give the same line: each line still stands for its own record.
        showList(ResultList::Order::Sorted,
                 fileOrder({u"Verdi Anna", u"Rossi Mario", u"Bianchi Luca", u"Rossi Mario", u"Neri Ugo"}));
        QSignalSpy chosen(list, &ResultList::recordChosen);
        QSignalSpy clicked(list, &ResultList::recordClicked);

        const int bianchi = rowOf(QStringLiteral("Bianchi Luca"));
        QCOMPARE(bianchi, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(bianchi));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.last().at(0).toLongLong(), qint64(2));
        QCOMPARE(list->currentRow(), bianchi);

        // Sorted: Bianchi, Neri, Rossi (record 1), Rossi (record 3), Verdi.
        QCOMPARE(list->lineText(2), QStringLiteral("Rossi Mario"));
        QCOMPARE(list->lineText(3), QStringLiteral("Rossi Mario"));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centreOf(3));
        QCOMPARE(chosen.size(), 1);
        // The second of the two equal lines is the later record, not the first one that reads the same.
        QCOMPARE(chosen.last().at(0).toLongLong(), qint64(3));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centreOf(2));
        QCOMPARE(chosen.last().at(0).toLongLong(), qint64(1));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centreOf(4));
        QCOMPARE(chosen.last().at(0).toLongLong(), qint64(0));
        QVERIFY(list->selectedRecord().has_value());
        QCOMPARE(*list->selectedRecord(), qint64(0));

        // Below the last line nothing is chosen, and the screen is told so.
        QSignalSpy nothing(list, &ResultList::nothingChosen);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 5));
        QCOMPARE(chosen.size(), 3);
        QCOMPARE(nothing.size(), 1);
        showList(ResultList::Order::Sorted, {}); // a new, empty list
        QSignalSpy nothingOnEmpty(list, &ResultList::nothingChosen);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(nothingOnEmpty.size(), 1);
    }

    void keysMoveTheSelectionAndEnterChoosesTheLine()
    {
        showList(ResultList::Order::Sorted, fileOrder({u"c", u"a", u"b"}));
        QSignalSpy chosen(list, &ResultList::recordChosen);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(chosen.size(), 0); // nothing selected yet
        list->selectFirst();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->lineText(list->currentRow()), QStringLiteral("c"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.last().at(0).toLongLong(), qint64(0));
    }

    void findMovesThroughMatchesAndScrollsToThem()
    {
        std::vector<ResultEntry> lines;
        for (int i = 0; i < 400; ++i)
            lines.push_back({QStringLiteral("Cliente %1").arg(i, 3, 10, QLatin1Char('0')), i});
        lines[17].text += QStringLiteral(" Forlì");
        lines[350].text += QStringLiteral(" FORLÌ forlì");
        showList(ResultList::Order::AsAdded, std::move(lines));

        QCOMPARE(list->find(QStringLiteral("Forlì")), ListFinder::Outcome::Found);
        QCOMPARE(list->currentRow(), 17);
        QCOMPARE(list->find(QStringLiteral("FORLì")), ListFinder::Outcome::Found);
        QCOMPARE(list->currentRow(), 350);
        QVERIFY(list->viewport()->rect().intersects(list->visualRect(list->model()->index(350, 0))));
        QCOMPARE(list->find(QStringLiteral("forlì")), ListFinder::Outcome::Found);
        QCOMPARE(list->currentRow(), 17);
        QCOMPARE(list->find(QStringLiteral("Bologna")), ListFinder::Outcome::NotFound);
        QCOMPARE(list->currentRow(), 17);
        // No message when nothing is found.
        QVERIFY(t->services.messages.isEmpty());
    }

    void findOnAnEmptyListSaysSoInThePlainOrInformationBox()
    {
        showList(ResultList::Order::Sorted, {});
        QCOMPARE(list->find(QStringLiteral("rossi")), ListFinder::Outcome::EmptyList);
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(t->services.lastKind(), MessageKind::Plain);
        QCOMPARE(t->services.lastMessage(),
                 QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));

        list->setEmptyListMessageKind(MessageKind::Information); // the period summaries
        list->find(QStringLiteral("rossi"));
        QCOMPARE(t->services.lastKind(), MessageKind::Information);
    }

    void printsTheLinesAsShown()
    {
        if (!tarvello::testing::popplerAvailable())
            QSKIP("pdftotext not installed");
        showList(ResultList::Order::Sorted, fileOrder({u"Zeta003", u"Alfa001", u"Beta002"}));
        t->services.printToPdf = t->path(QStringLiteral("lista.pdf"));
        QVERIFY(list->print(QStringLiteral("Riepilogo clienti")));
        QCOMPARE(list->lines().first(), QStringLiteral("Alfa001")); // printing changes nothing
        const QStringList lines = {QStringLiteral("Alfa001"), QStringLiteral("Beta002"),
                                   QStringLiteral("Zeta003")};
        QStringList printed;
        for (const auto& w : tarvello::testing::pdfWords(t->services.printToPdf))
            if (lines.contains(w.text))
                printed.append(w.text);
        QCOMPARE(printed, lines);
        QVERIFY(tarvello::testing::findWord(tarvello::testing::pdfWords(t->services.printToPdf),
                                            QStringLiteral("clienti"))
                    .page == 1);
    }

    void clearEmptiesTheList()
    {
        showList(ResultList::Order::Sorted, fileOrder({u"a", u"b"}));
        list->selectFirst();
        list->clear();
        QCOMPARE(list->count(), 0);
        QCOMPARE(list->currentRow(), -1);
        QVERIFY(!list->selectedRecord().has_value());
    }
};

TARVELLO_TEST_MAIN(ResultListTest)
#include "test_resultlist.moc"

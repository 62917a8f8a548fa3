#pragma once

#include "output/resultlines.h"
#include "shell/services.h"

#include <QAbstractListModel>
#include <QListView>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <optional>
#include <vector>

namespace tarvello
{

class AppContext;

// The lines of a result list for a view: one text line per row, each remembering its record.
class ResultListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ResultListModel(QObject* parent = nullptr);

    // Replaces every line at once (one reset, however many lines).
    void setEntries(std::vector<ResultEntry> entries);
    void clear();
    const std::vector<ResultEntry>& entries() const { return m_entries; }

    // The size every item reports: the list's item width and the height of one line. The view
    // asks only once (uniform item sizes), which keeps 100,000 lines instant.
    void setItemSize(const QSize& size);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<ResultEntry> m_entries;
    QSize m_itemSize;
};

// The result list `lstRecords` that the search and summary screens show: fixed-width text lines
// in Courier New 12 pt, black, a line wider than the window (1600 units, 1400 in the period
// summaries) with both scroll bars shown, one line selected at a time.
//
// A screen fills it once per search:
//
//     std::vector<ResultEntry> found;
//     file.forEach([&](qint64 index, const char* record) {
//         if (matches(record)) found.push_back({lineOf(record), index});
//         return true;
//     });
//     lstRecords->setLines(std::move(found));   // sorted once here when the list is sorted
//
// and reacts to recordChosen (double click on a line, or Enter on the selected one) with the
// record of that line, and to nothingChosen (a double click on no line) by closing. Its "Trova" button calls
// find(txtTrova->text()), its "Stampa" button print(title); each time the screen is shown it calls
// forgetFind() and selectFirst().
class ResultList : public QListView
{
    Q_OBJECT
public:
    enum class Order {
        AsAdded, // the order the lines were given in (invoice lists, summaries)
        Sorted,  // list order (customer and product lists)
    };

    explicit ResultList(AppContext& ctx, QWidget* parent = nullptr);

    void setOrder(Order order) { m_order = order; }
    Order order() const { return m_order; }
    // Item width in screen units; the horizontal scroll bar reaches that far.
    void setItemWidth(int width);
    int itemWidth() const { return m_itemWidth; }
    // Lines whose end is what the user opened the list for (an invoice's total, after
    // "  Tot. € ") keep that end in sight: where a line runs past the right edge, its end is drawn
    // against the edge over the text it hides, until a scroll brings it where it really is. The
    // lines' texts stay as they are, for finding and printing.
    void keepEndInView(const QString& marker);
    const QString& endMarker() const { return m_endMarker; }
    // Where the end of line `row` is drawn, in the viewport's coordinates: null for a line without
    // the marker, or when no end is kept in view.
    QRect endRect(int row) const;
    // Where the end of `text` goes for an item painted in `itemRect` (viewport coordinates).
    QRect endPlacement(const QRect& itemRect, const QString& text) const;
    // Where the end kept in view starts in `text`; -1 when it has none.
    qsizetype endStart(const QString& text) const;
    // The width the list needs to show `characters` of its fixed-width text without scrolling.
    int widthForCharacters(int characters) const;

    // The box kind of "Ricerca non applicabile..." (plain; information in the period summaries).
    void setEmptyListMessageKind(MessageKind kind) { m_emptyKind = kind; }

    // Replaces the lines; a sorted list sorts them once. The selection is cleared.
    // `inOrder`: the lines are already in the list's order (sorted while the search ran).
    void setLines(std::vector<ResultEntry> lines, bool inOrder = false);
    void clear();

    int count() const;
    QString lineText(int row) const;
    qint64 recordAt(int row) const; // -1 outside the list
    QStringList lines() const;      // in list order, as shown

    int currentRow() const; // -1 when no line is selected
    void setCurrentRow(int row);
    void selectFirst(); // the first line, when there is one
    std::optional<qint64> selectedRecord() const;

    // "Trova": selects the next line that contains `typed` (see ListFinder). On an empty list it
    // shows "Ricerca non applicabile: la lista non contiene nessuna voce." and changes nothing.
    ListFinder::Outcome find(const QString& typed);
    void forgetFind() { m_finder.forget(); }

    // "Stampa": the printed list report of the lines as shown, under `title`, with the trailer
    // lines after them (the period summaries' totals). False when nothing was printed.
    bool print(const QString& title, const QStringList& trailer = {});

    ResultListModel* listModel() const { return m_model; }

Q_SIGNALS:
    // A line was double-clicked, or Enter was pressed on the selected line.
    void recordChosen(qint64 record);
    // A double click where there is no line (below the last one, or on an empty list): the
    // screens close then, as for any opening that cannot be done.
    void nothingChosen();
    // A line was clicked.
    void recordClicked(qint64 record);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateItemSize();

    AppContext& m_ctx;
    ResultListModel* m_model;
    Order m_order = Order::AsAdded;
    int m_itemWidth = 1600;
    MessageKind m_emptyKind = MessageKind::Plain;
    ListFinder m_finder;
    QString m_endMarker;
};

} // namespace tarvello

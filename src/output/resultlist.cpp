#include "output/resultlist.h"

#include "output/listreport.h"
#include "output/outputtexts.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/fonts.h"

#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

namespace tarvello
{

// ---------------------------------------------------------------- model

ResultListModel::ResultListModel(QObject* parent) : QAbstractListModel(parent) {}

void ResultListModel::setEntries(std::vector<ResultEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void ResultListModel::clear()
{
    setEntries({});
}

void ResultListModel::setItemSize(const QSize& size)
{
    if (size == m_itemSize)
        return;
    // The view measures its items again on a layout change; rows and selection stay.
    Q_EMIT layoutAboutToBeChanged();
    m_itemSize = size;
    Q_EMIT layoutChanged();
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_entries[size_t(index.row())].text;
    case Qt::SizeHintRole:
        return m_itemSize.isValid() ? QVariant(m_itemSize) : QVariant();
    default:
        return {};
    }
}

// ---------------------------------------------------------------- the end kept in view

namespace
{

// Paints a line as the list always does, except that a line whose end would lie past the right
// edge has that end drawn against the edge, on the line's own background, with a thin rule where
// it covers the text.
class EndInViewDelegate : public QStyledItemDelegate
{
public:
    explicit EndInViewDelegate(ResultList* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString text = index.data().toString();
        const QRect end = m_list->endPlacement(option.rect, text);
        if (end.isNull() || end.right() < m_list->viewport()->width() - 1 - endPadding()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->save();
        painter->setClipRect(QRect(option.rect.left(), option.rect.top(), end.left() - option.rect.left(),
                                   option.rect.height()));
        QStyledItemDelegate::paint(painter, option, index);
        painter->restore();

        const bool selected = option.state & QStyle::State_Selected;
        const QRect back(end.left() - endPadding(), option.rect.top(), end.width() + 2 * endPadding(),
                         option.rect.height());
        painter->save();
        painter->fillRect(back, selected ? option.palette.highlight() : option.palette.base());
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(back.topLeft(), back.bottomLeft());
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(end, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          text.mid(m_list->endStart(text)));
        painter->restore();
    }

    static int endPadding() { return 6; }

private:
    ResultList* m_list;
};

} // namespace

// ---------------------------------------------------------------- view

ResultList::ResultList(AppContext& ctx, QWidget* parent)
    : QListView(parent), m_ctx(ctx), m_model(new ResultListModel(this))
{
    setObjectName(QStringLiteral("lstRecords"));
    setModel(m_model);
    // Every line has the same size: the view measures one item instead of all of them.
    setUniformItemSizes(true);
    setLayoutMode(QListView::SinglePass);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // The list's own font, whatever the style says, so the columns of the lines line up.
    setFont(Fonts::resultList());
    updateItemSize();

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            Q_EMIT recordClicked(recordAt(index.row()));
    });
}

void ResultList::keepEndInView(const QString& marker)
{
    m_endMarker = marker;
    if (!dynamic_cast<EndInViewDelegate*>(itemDelegate()))
        setItemDelegate(new EndInViewDelegate(this));
    viewport()->update();
}

QRect ResultList::endPlacement(const QRect& itemRect, const QString& text) const
{
    if (m_endMarker.isEmpty())
        return {};
    const qsizetype from = endStart(text);
    if (from < 0)
        return {};
    const QFontMetrics metrics(font(), viewport());
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int width = metrics.horizontalAdvance(text.mid(from));
    const int natural = itemRect.left() + margin + metrics.horizontalAdvance(text.left(from));
    const int edge = viewport()->width() - EndInViewDelegate::endPadding() - width;
    return QRect(std::min(natural, std::max(edge, itemRect.left() + margin)), itemRect.top(), width,
                 itemRect.height());
}

qsizetype ResultList::endStart(const QString& text) const
{
    const qsizetype at = m_endMarker.isEmpty() ? -1 : text.lastIndexOf(m_endMarker);
    if (at < 0)
        return -1;
    // The end shown is the total itself, "Tot. € 44,29", without the blanks that lead to it.
    qsizetype blanks = 0;
    while (blanks < m_endMarker.size() && m_endMarker[blanks] == u' ')
        ++blanks;
    return at + blanks;
}

QRect ResultList::endRect(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return endPlacement(visualRect(m_model->index(row)), lineText(row));
}

int ResultList::widthForCharacters(int characters) const
{
    const QFontMetrics metrics(font(), viewport());
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return metrics.horizontalAdvance(QString(characters, u'0')) + 2 * margin + 2 * frameWidth() +
           verticalScrollBar()->sizeHint().width();
}

void ResultList::setItemWidth(int width)
{
    m_itemWidth = width;
    updateItemSize();
}

void ResultList::updateItemSize()
{
    const QFontMetrics metrics(font());
    m_model->setItemSize(QSize(m_itemWidth, metrics.height() + 2));
}

void ResultList::setLines(std::vector<ResultEntry> lines, bool inOrder)
{
    if (m_order == Order::Sorted && !inOrder)
        sortInListOrder(lines);
    m_model->setEntries(std::move(lines));
}

void ResultList::clear()
{
    m_model->clear();
}

int ResultList::count() const
{
    return m_model->rowCount();
}

QString ResultList::lineText(int row) const
{
    return row >= 0 && row < count() ? m_model->entries()[size_t(row)].text : QString();
}

qint64 ResultList::recordAt(int row) const
{
    return row >= 0 && row < count() ? m_model->entries()[size_t(row)].record : -1;
}

QStringList ResultList::lines() const
{
    QStringList out;
    out.reserve(count());
    for (const ResultEntry& e : m_model->entries())
        out.append(e.text);
    return out;
}

int ResultList::currentRow() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ResultList::setCurrentRow(int row)
{
    if (row < 0 || row >= count()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void ResultList::selectFirst()
{
    if (count() > 0)
        setCurrentRow(0);
}

std::optional<qint64> ResultList::selectedRecord() const
{
    const int row = currentRow();
    if (row < 0)
        return std::nullopt;
    return recordAt(row);
}

ListFinder::Outcome ResultList::find(const QString& typed)
{
    const auto& entries = m_model->entries();
    const ListFinder::Result result = m_finder.find(entries, currentRow(), typed);
    if (result.outcome == ListFinder::Outcome::EmptyList) {
        m_ctx.services().message(window(), m_emptyKind, OutputTexts::emptyListMessage());
        return result.outcome;
    }
    if (result.selection != currentRow())
        setCurrentRow(result.selection);
    else
        scrollTo(m_model->index(result.selection));
    return result.outcome;
}

bool ResultList::print(const QString& title, const QStringList& trailer)
{
    return printListReport(m_ctx.services(), window(), title, lines(), trailer);
}

void ResultList::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (const auto record = selectedRecord())
            Q_EMIT recordChosen(*record);
        return;
    }
    QListView::keyPressEvent(event);
}

void ResultList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        Q_EMIT nothingChosen(); // below the last line, or an empty list
        return;
    }
    // The view has selected the line by now; act on that line's record, whatever its text.
    Q_EMIT recordChosen(recordAt(index.row()));
}

} // namespace tarvello

#include "sectionflow.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace tarvello
{

void keepFocusInSight(QScrollArea* area)
{
    QObject::connect(qApp, &QApplication::focusChanged, area, [area](QWidget*, QWidget* now) {
        if (!now || !area->widget() || !area->widget()->isAncestorOf(now))
            return;
        // The whole control, not only its text cursor (which is all ensureWidgetVisible() asks
        // for a line edit): a field half in sight is half a field.
        const QPoint centre = now->mapTo(area->widget(), now->rect().center());
        area->ensureVisible(centre.x(), centre.y(), now->width() / 2 + 12, now->height() / 2 + 12);
    });
}

SectionFlow::SectionFlow(QScrollArea* scroll, QWidget* panel, Rows rows)
    : QObject(scroll), m_scroll(scroll), m_grid(new QGridLayout(panel)), m_rows(std::move(rows))
{
    m_grid->setContentsMargins(0, 0, 6, 0);
    m_grid->setSpacing(12);
    m_grid->setColumnStretch(0, 1);
    m_grid->setColumnStretch(1, 1);
    place(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->viewport()->installEventFilter(this);
    keepFocusInSight(scroll);
}

int SectionFlow::sideBySideWidth() const
{
    // Side by side, the sections stand in the grid's two columns, each as wide as its widest.
    int single = 0;
    int columns[2] = {0, 0};
    for (const std::vector<QWidget*>& row : m_rows) {
        if (row.size() == 1) {
            single = std::max(single, row.front()->minimumSizeHint().width());
            continue;
        }
        for (size_t c = 0; c < 2; ++c)
            columns[c] = std::max(columns[c], row[c]->minimumSizeHint().width());
    }
    const QMargins margins = m_grid->contentsMargins();
    return std::max(single, columns[0] + m_grid->horizontalSpacing() + columns[1]) + margins.left() +
           margins.right();
}

void SectionFlow::place(bool sideBySide)
{
    m_sideBySide = sideBySide;
    for (const std::vector<QWidget*>& row : m_rows)
        for (QWidget* section : row)
            m_grid->removeWidget(section);
    for (int r = 0; r < m_grid->rowCount(); ++r) // the stretch below the last arrangement
        m_grid->setRowStretch(r, 0);
    int r = 0;
    for (const std::vector<QWidget*>& row : m_rows) {
        if (sideBySide) {
            const int columns = row.size() == 1 ? 2 : 1;
            for (int c = 0; c < int(row.size()); ++c)
                m_grid->addWidget(row[size_t(c)], r, c, 1, columns);
            ++r;
        } else {
            for (QWidget* section : row)
                m_grid->addWidget(section, r++, 0, 1, 2);
        }
    }
    m_grid->setRowStretch(r, 1); // spare height below the sections, never between them
}

bool SectionFlow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) {
        // The room is measured as if the vertical scroll bar showed, whether it does or not, so
        // that its coming and going never flips the arrangement back and forth.
        const int room = m_scroll->contentsRect().width() - m_scroll->verticalScrollBar()->sizeHint().width();
        const bool wanted = room >= sideBySideWidth();
        if (wanted != m_sideBySide)
            place(wanted);
    }
    return false;
}

} // namespace tarvello

#pragma once

#include <QObject>

#include <vector>

class QGridLayout;
class QScrollArea;
class QWidget;

namespace tarvello
{

// Scrolls `area` so that a control inside it that takes the focus, by Tab, Enter or the program,
// is in sight.
void keepFocusInSight(QScrollArea* area);

// Lays a card's sections out on the scrolling panel: the rows as given (one section across, or
// two side by side) while the panel is wide enough for each row's sections next to each other,
// one section under the other when it is not. So on a narrow window no section hides behind
// the command column; what is still too wide gets a scroll bar.
class SectionFlow : public QObject
{
public:
    using Rows = std::vector<std::vector<QWidget*>>;
    // `panel` is the scroll area's widget; the flow gives it its layout.
    SectionFlow(QScrollArea* scroll, QWidget* panel, Rows rows);

    bool sideBySide() const { return m_sideBySide; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(bool sideBySide);
    int sideBySideWidth() const;

    QScrollArea* m_scroll;
    QGridLayout* m_grid;
    Rows m_rows;
    bool m_sideBySide = true;
};

} // namespace tarvello

#pragma once

// The window under every search window: a criteria page (criteria box, "Attendere..." notice,
// Cerca and Chiudi) and a result page in a stack, Cerca running the search as long work and
// showing what it found. A search window gives its criteria, its result page, its search and what
// a chosen line does; the rest is here.

#include "output/listwindow.h"
#include "output/searchcriteria.h"
#include "output/searchpanels.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <span>
#include <vector>

class QLabel;
class QLineEdit;
class QStackedWidget;

namespace tarvello
{

class SearchWindow : public ListWindow
{
    Q_OBJECT
public:
    struct Setup {
        Frame frame;
        // The criteria page: its name, criteria and how it is drawn (the instructions and the
        // notice are those of every search).
        SearchPanels::CriteriaOptions criteria;
        QString resultPageName;
        QString (*foundText)(qsizetype) = nullptr; // lblTrovate after a search
        QString printTitle;
        bool callerMode = false; // a hidden lblMemory where the caller writes what a choice does
    };

    void done(int result) override;

protected:
    SearchWindow(AppContext& ctx, QWidget* owner, const Setup& setup);

    // The result page, empty until the window fills it; then finishPages puts both pages into
    // the window with `list` as its list and `found` (lblTrovate) counting its lines.
    QWidget* resultPage() const { return m_resultPage; }
    void finishPages(const ListControls& list, QLabel* found);

    // The search the criteria typed ask for (one text per criterion, in order), made before it
    // runs: it is then run as long work and may be stopped. Nullopt from it: the archive could not
    // be read.
    using Search = std::function<std::optional<std::vector<ResultEntry>>(Progress&)>;
    virtual Search search(std::span<const QString> typed) = 0;

    // A criterion field, by its place in the criteria.
    QLineEdit* criterion(qsizetype index) const { return m_criteria.value(index); }
    // What the caller wrote into lblMemory, trimmed.
    QString callerMode() const;

    void shown() override;

private:
    void btnCercaClick();

    QString (*m_foundText)(qsizetype);
    QString m_printTitle;
    QStackedWidget* m_pages;
    QWidget* m_criteriaPage;
    QWidget* m_resultPage;
    QList<QLineEdit*> m_criteria;
    QLabel* m_lblAttendere;
    QLabel* m_lblTrovate = nullptr;
    QLabel* m_lblMemory = nullptr;
};

} // namespace tarvello

#include "searchwindow.h"

#include "archive/archivefile.h"
#include "core/text.h"
#include "resultlist.h"
#include "shell/appcontext.h"
#include "shell/longwork.h"
#include "shell/services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace tarvello
{

SearchWindow::SearchWindow(AppContext& ctx, QWidget* owner, const Setup& setup)
    : ListWindow(ctx, owner, setup.frame), m_foundText(setup.foundText), m_printTitle(setup.printTitle)
{
    if (setup.callerMode)
        m_lblMemory = SearchPanels::hiddenLabel(QStringLiteral("lblMemory"), this);

    m_pages = new QStackedWidget(this);
    const SearchPanels::CriteriaPage c =
        SearchPanels::buildCriteriaPage(this, *setup.frame.look, setup.criteria);
    m_criteriaPage = c.page;
    m_criteria = c.fields;
    m_lblAttendere = c.lblAttendere;
    connect(c.btnCerca, &QPushButton::clicked, this, &SearchWindow::btnCercaClick);

    m_resultPage = new QWidget(this);
    m_resultPage->setObjectName(setup.resultPageName);
}

void SearchWindow::finishPages(const ListControls& list, QLabel* found)
{
    m_lblTrovate = found;
    m_pages->addWidget(m_criteriaPage);
    m_pages->addWidget(m_resultPage);
    finish(m_pages, list, m_printTitle);
}

QString SearchWindow::callerMode() const
{
    return m_lblMemory ? trimmed(m_lblMemory->text()) : QString();
}

void SearchWindow::shown()
{
    list()->selectFirst();
    m_criteria.first()->setFocus();
}

void SearchWindow::btnCercaClick()
{
    std::vector<QString> typed;
    for (const QLineEdit* field : m_criteria)
        typed.push_back(field->text());
    const Search find = search(typed);
    list()->clear();

    // Sorted with the search, where a long wait can be seen and stopped.
    std::optional<std::vector<ResultEntry>> found;
    const bool sorted = list()->order() == ResultList::Order::Sorted;
    const bool finished = runLong(SearchPanels::progressPanelOf(this), QString(), [&](Progress& progress) {
        found = find(progress);
        if (found && sorted && !progress.stopped())
            sortInListOrder(*found);
    });
    m_lblAttendere->hide();
    // A search the user stopped shows nothing and leaves the criteria as they were.
    if (!finished)
        return;
    // An archive that could not be read is said so, and the criteria stay.
    if (!found) {
        ctx().services().message(this, MessageKind::Plain, archiveAccessMessage());
        return;
    }
    const qsizetype lines = qsizetype(found->size());
    list()->setLines(std::move(*found), sorted);
    list()->setItemWidth(1600);
    m_lblTrovate->setText(m_foundText(lines));
    m_pages->setCurrentWidget(m_resultPage);
    findField()->clear();
    findField()->setFocus();
}

void SearchWindow::done(int result)
{
    m_lblAttendere->hide();
    ListWindow::done(result);
}

} // namespace tarvello

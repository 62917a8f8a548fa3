#include "listwindow.h"

#include "resultlist.h"

#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace tarvello
{

void tabToListFirst(const ListControls& list)
{
    QWidget::setTabOrder(list.txtTrova, list.lstRecords);
    QWidget::setTabOrder(list.lstRecords, list.btnStampa);
    QWidget::setTabOrder(list.btnStampa, list.btnTrova);
    QWidget::setTabOrder(list.btnTrova, list.btnChiudi);
}

ListWindow::ListWindow(AppContext& ctx, QWidget* owner, const Frame& frame)
    : QDialog(owner), m_ctx(ctx), m_frame(frame)
{
    SearchPanels::startDialog(this, *frame.look, frame.objectName, frame.caption);
}

void ListWindow::finish(QWidget* body, const ListControls& list, const QString& printTitle)
{
    SearchPanels::finishDialog(this, *m_frame.look, m_frame.iconPath, m_frame.title, body, m_frame.size);
    wire(list, printTitle);
}

void ListWindow::finish(QLayout* body, const ListControls& list, const QString& printTitle)
{
    SearchPanels::finishDialog(this, *m_frame.look, m_frame.iconPath, m_frame.title, body, m_frame.size);
    wire(list, printTitle);
}

void ListWindow::wire(const ListControls& list, const QString& printTitle)
{
    m_list = list;
    m_printTitle = printTitle;
    connect(list.btnTrova, &QPushButton::clicked, this,
            [this] { m_list.lstRecords->find(m_list.txtTrova->text()); });
    connect(list.btnStampa, &QPushButton::clicked, this, [this] { m_list.lstRecords->print(m_printTitle); });
    connect(list.btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(list.lstRecords, &ResultList::recordChosen, this, &ListWindow::lineChosen);
    connect(list.lstRecords, &ResultList::nothingChosen, this, &ListWindow::nothingChosen);
}

void ListWindow::nothingChosen()
{
    close();
}

void ListWindow::showLines(std::vector<ResultEntry> lines)
{
    m_list.lstRecords->setLines(std::move(lines));
    m_list.lstRecords->setItemWidth(1600);
}

void ListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_list.lstRecords->forgetFind();
    m_list.txtTrova->clear();
    shown();
}

void ListWindow::done(int result)
{
    m_list.lstRecords->clear();
    QDialog::done(result);
}

} // namespace tarvello

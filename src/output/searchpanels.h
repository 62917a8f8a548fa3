#pragma once

// What the search windows and the list windows build alike: the dialog around them, the criteria
// page (criteria box, "Attendere..." notice, Cerca and Chiudi), the wiring of the result list and
// its buttons, and the showing of what a search found. Each family of windows (customers and
// warehouse, invoices) draws its parts its own way and says how in a Look.

#include "archive/archivefile.h"
#include "output/resultlist.h"
#include "shell/longwork.h"
#include "shell/services.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QStackedWidget>
#include <QString>

#include <initializer_list>
#include <optional>
#include <vector>

class QLayout;
class QSize;
class QWidget;

namespace tarvello
{

namespace SearchPanels
{

// How a family of windows draws its parts.
struct Look {
    void (*styleDialog)(QWidget* dialog);
    QWidget* (*titleBand)(const QString& iconPath, const QString& title, QWidget* parent);
    QWidget* (*instructionBox)(const QString& text, QWidget* parent);
    QPushButton* (*button)(const QString& objectName, const QString& caption, const QString& iconPath,
                           QWidget* parent);
};

// Names, frames and styles the dialog; the body comes next.
void startDialog(QDialog* dialog, const Look& look, const QString& objectName, const QString& caption);
// Puts the title band above the body (the page stack, or the list's own layout) and fixes the size.
void finishDialog(QDialog* dialog, const Look& look, const QString& iconPath, const QString& title,
                  QWidget* body, const QSize& size);
void finishDialog(QDialog* dialog, const Look& look, const QString& iconPath, const QString& title,
                  QLayout* body, const QSize& size);

// A label that is never shown: where a caller writes its mode (lblMemory), or a count (lblConta).
QLabel* hiddenLabel(const QString& objectName, QWidget* parent);

// lblTrovate, the bold "Il presente elenco contiene N schede." left of the result page's buttons.
QLabel* foundLabel(const QString& text, QWidget* parent);

struct Criterion {
    QString control; // the field's object name
    QString label;
};
template <class List> QList<Criterion> criteriaOf(const List& list)
{
    QList<Criterion> out;
    for (const auto& c : list)
        out.append({c.control.toString(), c.label.toString()});
    return out;
}

struct CriteriaOptions {
    QString pageName;
    QList<Criterion> criteria;
    QString instructions;
    QString waitText;
    int fieldPoints = 0;            // 12: the fields in the large bold typeface; 0: the dialog's font
    bool compact = false;           // tighter rows, and the box takes the spare height
    bool highlightFields = true;    // the field with the focus is highlighted
    bool closeBeforeSearch = false; // Tab goes from the last field to Chiudi, then Cerca
    int footerSpacing = 8;          // -1: that of the page
};

struct CriteriaPage {
    QWidget* page = nullptr;
    QList<QLineEdit*> fields; // in the order of the criteria
    QPushButton* btnCerca = nullptr;
    QPushButton* btnAnnulla = nullptr;
    QLabel* lblAttendere = nullptr;
    ProgressPanel* progress = nullptr; // beside "Attendere...", while a long search runs
};

// The panel where the window's long work shows its progress; null when it has none.
ProgressPanel* progressPanelOf(QWidget* window);

// Hands the criteria fields, in order, to the window's members named after them.
void nameFields(const QList<QLineEdit*>& fields, std::initializer_list<QLineEdit**> members);

// The criteria page of `dialog`: Enter goes round the fields and never starts the search, Tab
// goes through them and on to the buttons, "Attendere..." shows as soon as Cerca goes down and
// Chiudi rejects the dialog. The caller starts its search on btnCerca's click.
CriteriaPage buildCriteriaPage(QDialog* dialog, const Look& look, const CriteriaOptions& options);

// The wiring every window with a result list has, for a window whose members carry the list's
// usual names: Trova finds (btnTrovaClick), Stampa prints (btnStampaClick), Chiudi rejects.
template <class Window> void connectListButtons(Window* window)
{
    QObject::connect(window->btnTrova, &QPushButton::clicked, window, &Window::btnTrovaClick);
    QObject::connect(window->btnStampa, &QPushButton::clicked, window, &Window::btnStampaClick);
    QObject::connect(window->btnChiudi, &QPushButton::clicked, window, &QDialog::reject);
}
// A chosen line goes to lstRecordsDblClick; a double click on no line closes the window.
template <class Window> void connectListChoice(Window* window)
{
    QObject::connect(window->lstRecords, &ResultList::recordChosen, window, &Window::lstRecordsDblClick);
    QObject::connect(window->lstRecords, &ResultList::nothingChosen, window, &QWidget::close);
}

// Shows what a search found. The "Attendere..." notice goes; an archive that could not be read is
// said so and the criteria stay; otherwise the lines fill the list, lblTrovate counts them with
// `foundText` and the result page comes up with the find field empty and ready.
// The search itself, `find`, runs as long work (longwork.h) in the window's progress panel: a
// search the user stops shows nothing and leaves the criteria as they were.
template <class Window, class Find>
void showFound(Window* window, Services& services, QStackedWidget* pages, QWidget* resultPage, Find&& find,
               QString (*foundText)(qsizetype))
{
    std::optional<std::vector<ResultEntry>> found;
    // Sorted with the search, where a long wait can be seen and stopped.
    const bool sorted = window->lstRecords->order() == ResultList::Order::Sorted;
    const bool finished = runLong(progressPanelOf(window), QString(), [&](Progress& progress) {
        found = find(progress);
        if (found && sorted && !progress.stopped())
            sortInListOrder(*found);
    });
    window->lblAttendere->hide();
    if (!finished)
        return;
    if (!found) {
        services.message(window, MessageKind::Plain, archiveAccessMessage());
        return;
    }
    const qsizetype lines = qsizetype(found->size());
    window->lstRecords->setLines(std::move(*found), sorted);
    window->lstRecords->setItemWidth(1600);
    window->lblTrovate->setText(foundText(lines));
    pages->setCurrentWidget(resultPage);
    window->txtTrova->clear();
    window->txtTrova->setFocus();
}

} // namespace SearchPanels
} // namespace tarvello

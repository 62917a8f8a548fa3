#pragma once

// The parts the search windows and the list windows are built of: the dialog around them and the
// criteria page (criteria box, "Attendere..." notice, Cerca and Chiudi). Each family of windows
// (customers and warehouse, invoices) draws its parts its own way and says how in a Look; the
// windows themselves stand on ListWindow and SearchWindow (output/listwindow.h, searchwindow.h).

#include "output/resultlist.h"
#include "shell/longwork.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QString>

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

// The criteria page of `dialog`, with the instructions and the notice every search shows: Enter goes round
// the fields and never starts the search, Tab goes through them and on to the buttons, "Attendere..." shows
// as soon as Cerca goes down and Chiudi rejects the dialog. The caller starts its search on btnCerca's click.
CriteriaPage buildCriteriaPage(QDialog* dialog, const Look& look, const CriteriaOptions& options);

} // namespace SearchPanels
} // namespace tarvello

#pragma once

// The window under every search and list window: a dialog around a result list with its find
// field, Trova, Stampa and Chiudi. What a window does with a chosen line and when it fills its
// list are its own; the wiring, the emptying on leaving and the start of each showing are here.

#include "output/searchpanels.h"

#include <QDialog>
#include <QSize>
#include <QString>

#include <vector>

class QLayout;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace tarvello
{

class AppContext;
class ResultList;

// The controls of a list, whatever the look that made them.
struct ListControls {
    QLineEdit* txtTrova = nullptr;
    QPushButton* btnTrova = nullptr;
    ResultList* lstRecords = nullptr;
    QPushButton* btnStampa = nullptr;
    QPushButton* btnChiudi = nullptr;
};

// Tab goes from the find field to the list, Stampa, Trova and Chiudi: for the lists that are
// filled as the window opens, where the user goes to the lines first.
void tabToListFirst(const ListControls& list);

class ListWindow : public QDialog
{
    Q_OBJECT
public:
    // The window's dialog frame and title band.
    struct Frame {
        const SearchPanels::Look* look = nullptr;
        QString objectName;
        QString caption;
        QString iconPath; // the title band's picture
        QString title;    // and its words
        QSize size;
    };

    // Leaving the window empties its list: a window made once shows no lines of its last use.
    void done(int result) override;

protected:
    // Names, frames and styles the dialog; the window builds its body and calls finish.
    ListWindow(AppContext& ctx, QWidget* owner, const Frame& frame);

    // Puts the title band above `body` and fixes the size. The list is `list`, printed under
    // `printTitle`: Trova finds in it, Stampa prints it, Chiudi rejects, a chosen line goes to
    // lineChosen and a double click on no line to nothingChosen.
    void finish(QWidget* body, const ListControls& list, const QString& printTitle);
    void finish(QLayout* body, const ListControls& list, const QString& printTitle);

    // A line was chosen (double click, or Enter on the selected line): `record` is its record.
    virtual void lineChosen(qint64 record) = 0;
    // A double click below the lines closes the window.
    virtual void nothingChosen();
    // Each time the program shows the window, once the find is forgotten and its field emptied.
    virtual void shown() = 0;

    // Hands lines read for the list to it, in the order they have.
    void showLines(std::vector<ResultEntry> lines);

    AppContext& ctx() const { return m_ctx; }
    ResultList* list() const { return m_list.lstRecords; }
    QLineEdit* findField() const { return m_list.txtTrova; }

    void showEvent(QShowEvent* event) override;

private:
    void wire(const ListControls& list, const QString& printTitle);

    AppContext& m_ctx;
    Frame m_frame;
    ListControls m_list;
    QString m_printTitle;
};

} // namespace tarvello

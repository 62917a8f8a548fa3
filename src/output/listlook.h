#pragma once

// What the search and list windows of every application share on screen: the look of the
// dialogs (title band, instruction box, buttons), the "Trova" row and the result panel with its
// list and buttons. The applications' own windows build on it; none has a copy of its own.

#include "output/listwindow.h"
#include "output/resultlist.h"
#include "output/searchpanels.h"

#include <QString>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace tarvello
{

class AppContext;

namespace ListLook
{

// The dialog's background, group boxes, fields and buttons (from the style sheet).
void styleDialog(QWidget* dialog);

// The white band along the top: a picture and the window's title in words.
QWidget* titleBand(const QString& iconPath, const QString& title, QWidget* parent);

// A pale box holding instruction lines, one per line of `text`.
QWidget* instructionBox(const QString& text, QWidget* parent);

// A push button with a small picture.
QPushButton* button(const QString& objectName, const QString& caption, const QString& iconPath,
                    QWidget* parent);

// The parts above, for the search windows' shared builders.
inline constexpr SearchPanels::Look look{&styleDialog, &titleBand, &instructionBox, &button};

// "Trova nell'elenco:", the field and its button, in a row.
QHBoxLayout* findRow(QLineEdit* field, QPushButton* findButton, QWidget* parent);

// The five controls of a list (object names txtTrova, btnTrova, lstRecords, btnStampa,
// btnChiudi), its lines 1600 units wide in `order`. Enter in txtTrova moves to btnTrova, and Tab
// goes through them in that order.
ListControls buildListControls(AppContext& ctx, QWidget* parent, ResultList::Order order);

// The controls every sorted list window has, and where they stand.
struct ListPanel : ListControls {
    QVBoxLayout* layout = nullptr; // the instructions, the Trova row and the list, in order
    QWidget* footer = nullptr;     // a row with the buttons on the right; the caller may add on the left
};
// The list is sorted, its lines 1600 units wide; Enter in txtTrova moves to btnTrova.
ListPanel buildListPanel(AppContext& ctx, QWidget* parent);
// Lays out a list page into `layout`: the instructions above the panel's find row and list,
// `spacing` apart, then `below` when given (a hint, the chosen line) and the footer.
void layOutList(QVBoxLayout* layout, const ListPanel& p, const QString& instructions, int spacing,
                QWidget* parent, QWidget* below = nullptr);
// The bold count of what was found, left of the panel's buttons.
QLabel* addFoundLabel(const ListPanel& p, const QString& text, QWidget* parent);

} // namespace ListLook
} // namespace tarvello

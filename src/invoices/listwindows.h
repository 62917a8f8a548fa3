#pragma once

// What the invoice search, the unpaid list and the period summaries share on screen: the look of
// the dialogs, the find row above a list, the year's file of the invoice screen that opened them
// and the loading of a chosen invoice onto that screen.

#include "output/listlook.h"

#include <QSize>
#include <QString>

#include <optional>

class QDialog;
class QLabel;
class QWidget;

namespace tarvello
{

class AppContext;
class ResultList;
class TfrmFatture;

namespace InvoiceListWindows
{

// The list look every application's list windows share.
using ListLook::button;
using ListLook::findRow;
using ListLook::instructionBox;
using ListLook::look;
using ListLook::styleDialog;
using ListLook::titleBand;

// Every line of the invoice lists ends with the invoice's total, the figure the user opened the
// list for: the window takes the screen's width to show whole lines where it can (never less than
// `design`, never beyond the screen's work area, or `available` when given), and the list keeps
// each total in sight where it cannot.
void keepTotalsInView(QDialog* dialog, ResultList* list, const QSize& design, const QSize& available = {});

// The list page of the invoice lists on `page`: the instructions, the find row, the list in file
// order, the line about the double click, and Stampa and Chiudi with lblTrovate reading
// `foundText` left of them when it is given. Tab goes through them in that order.
struct ListPage : ListControls {
    QLabel* lblTrovate = nullptr;
};
ListPage buildListPage(AppContext& ctx, QWidget* page,
                       const std::optional<QString>& foundText = std::nullopt);

// The invoice screen a list window works for: the one that owns it, or the program's own.
TfrmFatture* invoiceScreen(AppContext& ctx, QWidget* owner);
// The year's file open on that screen (its hidden lblFile).
QString invoiceFile(AppContext& ctx, QWidget* owner);
// Reads record `index` (from 0) of the year's file and shows it on the invoice screen as its
// arrows would, position included, so that a later Save overwrites it in place, once the screen
// has settled any unsaved changes (the user may keep it as it is). False when the record cannot
// be read; the screen then keeps what it showed.
bool openOnInvoiceScreen(AppContext& ctx, QWidget* owner, qint64 index);

} // namespace InvoiceListWindows
} // namespace tarvello

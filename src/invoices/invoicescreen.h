#pragma once

// The parts the invoice screen (TfrmFatture) is built from, each in its own file: the tool bar
// (invoicetoolbar.cpp), the company, customer, document and totals panels (invoicepanels.cpp) and
// the six pages of article rows (invoicerows.cpp). Only the screen includes this: its controls are
// its own, and other applications hand it what they have through InvoiceTarget (shell/handoffs.h).

#include "shell/commands.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QWidget;

namespace tarvello
{

class PictureButton;
struct InvoiceDocument;

// The invoice screen's controls, each named as the screen describes it.
struct InvoiceControls {
    // Tool bar
    PictureButton *cmdNuovo, *cmdSalva, *cmdPrimo, *cmdIndietro, *cmdAvanti, *cmdUltimo, *cmdTrova,
        *cmdSospese, *cmdStampa, *cmdAnteprima, *cmdPDF, *cmdFatturaElettronica, *cmdEsporta, *cmdRiepMensile,
        *cmdRiepTrimestrale, *cmdRiepAnnuale, *cmdNumerazione, *cmdGuida, *cmdEsci;
    // Its buttons in their order, for fitting them to the window's width.
    std::vector<PictureButton*> toolBar;

    // Company
    QGroupBox* panDitta;
    QLineEdit *txtDitta, *txtViaDitta, *txtCapDitta, *txtCittaDitta, *txtIvaDitta, *txtCodFiscDitta,
        *txtLibero01, *txtLibero02;
    QComboBox* txtProvDitta;
    PictureButton *btnIvaDitta, *btnCodFiscDitta, *btnCancDitta, *btnLogo;

    // Customer
    QGroupBox* panCliente;
    QLineEdit *txtCliente, *txtViaCliente, *txtCapCliente, *txtCittaCliente, *txtIvaCliente,
        *txtCodFiscCliente, *txtRiferimenti;
    QComboBox* txtProvCliente;
    PictureButton *impCliente, *btnIvaCliente, *btnCodFiscCliente;
    QPushButton* cmdDatiComputer;

    // Document
    QGroupBox* panNumFattura;
    QLineEdit *txtNumFatt, *txtData, *txtPagamento, *txtBanca, *txtIban;
    PictureButton* impOggi;

    // Article rows, index 0 is row 1
    QStackedWidget* pages;
    std::array<QGroupBox*, 6> grpPage{};
    std::array<QLineEdit*, 30> txtQuant{}, txtCodice{}, txtDesc{}, txtPrezzo{}, txtPercSconto{};
    std::array<QLabel*, 30> txtImporto{};
    std::array<QCheckBox*, 30> chkEs{};
    std::array<PictureButton*, 30> impMag{};
    std::array<PictureButton*, 6> imgAvanti{}, imgIndietro{}; // [0..4] and [1..5] are used

    // Totals
    QLabel *txtTotImponibile, *txtTotImposta, *txtTotIva, *txtTotEsente, *txtTotFattura;
    QLineEdit *txtPercIva, *txtNote;
    QPushButton* cmdCalcola;
    QCheckBox* chkSaldata;

    // Hidden state
    QLabel *lblFile, *lblAnno, *lblInizio, *lblSolare;
    QLabel *memVeicolo, *memMarca, *memColore, *memImmatricolazione, *memAlimentazione, *memTarga;

    // The five totals, which any change to a figure empties.
    std::array<QLabel*, 5> totals() const
    {
        return {txtTotImponibile, txtTotImposta, txtTotIva, txtTotEsente, txtTotFattura};
    }
};

namespace InvoiceScreen
{

// Two digits: 1 -> "01".
QString two(int n);
// A line edit named `name` that takes `maxLength` characters when typed into.
QLineEdit* edit(QWidget* parent, const QString& name, int maxLength);
// A caption beside or above a field.
QLabel* caption(const QString& text, QWidget* parent);
// An amount or total: a right-aligned label that looks like a read-only field.
QLabel* amountLabel(QWidget* parent, const QString& name, bool strong = false);
PictureButton* smallButton(QWidget* parent, const QString& name, const QString& icon, const QString& caption);

// The tool bar of pictures along the top, the position label between the arrows. `position`
// makes that label.
void buildToolBar(QWidget* screen, InvoiceControls& ui, QBoxLayout* strip,
                  const std::function<QLabel*()>& position);
// The tool bar's buttons show their names while `width` (the window's) is enough for all of
// them, and only their pictures (names in the hints) when it is not, so no name is ever cut.
// `others` is what the strip and the window's margins take beside the buttons.
void fitToolBar(const InvoiceControls& ui, int others, int width);

QGroupBox* buildCompanyPanel(QWidget* screen, InvoiceControls& ui);
QGroupBox* buildCustomerPanel(QWidget* screen, InvoiceControls& ui);
QGroupBox* buildDocumentPanel(QWidget* screen, InvoiceControls& ui);
QGroupBox* buildTotals(QWidget* screen, InvoiceControls& ui);

// The six pages of five article rows.
QWidget* buildArticlePages(QWidget* screen, InvoiceControls& ui);
// Tab turns the pages of rows by itself, so their arrows are for the mouse. Done before the rows'
// own key rules, which thus see a Tab before the page turns with it.
void letTabTurnPages(InvoiceControls& ui);
// The rows' key rules: Enter along a row and on to the next (turning the page with `showPage`),
// number keys only, any key in a figure empties the row's amount and the totals, tidying on
// leaving. The rows' fields join `highlighted`.
void setUpRowKeys(InvoiceControls& ui, const std::function<void(int page)>& showPage,
                  QList<QWidget*>& highlighted);
// The rows' commands: the import buttons (each calling `importRow` with its row), the exempt
// boxes and the page arrows.
ScreenCommands rowCommands(InvoiceControls& ui, const std::function<void(int page)>& showPage,
                           const std::function<void(int row)>& importRow);
// Empties every row.
void clearRows(InvoiceControls& ui);
// Shows the figures of the document the calculation worked on: the rows' quantities, prices,
// discounts and amounts, the VAT rate and the five totals.
void showFigures(InvoiceControls& ui, const InvoiceDocument& invoice);

} // namespace InvoiceScreen
} // namespace tarvello

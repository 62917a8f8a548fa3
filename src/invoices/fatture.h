#pragma once

#include "invoicecard.h"
#include "shell/commands.h"

#include <QHash>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tarvello
{

class AppContext;
class PictureButton;
class StatusLine;
struct InvoiceFigures;
enum class MessageKind;

// The invoice screen: one proforma invoice of the year's file at a time.
class TfrmFatture : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmFatture(AppContext& ctx);

    // Command strip
    PictureButton *cmdNuovo, *cmdSalva, *cmdPrimo, *cmdIndietro, *cmdAvanti, *cmdUltimo, *cmdTrova,
        *cmdSospese, *cmdStampa, *cmdAnteprima, *cmdPDF, *cmdFatturaElettronica, *cmdEsporta, *cmdRiepMensile,
        *cmdRiepTrimestrale, *cmdRiepAnnuale, *cmdNumerazione, *cmdGuida, *cmdEsci;
    QLabel* lblPosizione;

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

    StatusLine* panInfo;

    // Hidden state
    QLabel *lblFile, *lblAnno, *lblInizio, *lblSolare;
    QLabel *memVeicolo, *memMarca, *memColore, *memImmatricolazione, *memAlimentazione, *memTarga;

    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdPrimoClick() { move(CardArchive::Arrow::First); }
    void cmdIndietroClick() { move(CardArchive::Arrow::Previous); }
    void cmdAvantiClick() { move(CardArchive::Arrow::Next); }
    void cmdUltimoClick() { move(CardArchive::Arrow::Last); }
    void cmdCalcolaClick();
    void cmdFatturaElettronicaClick();
    void btnCancDittaClick();
    void showPage(int page); // 1..6
    int currentPage() const;

    // What the screen shows, by the invoice's field names, each text trimmed (for printing).
    QHash<QString, QString> printTexts() const;

    // The record on the screen, and the screen from a record.
    void fillRecord(Record& invoice) const;
    void showRecord(const Record& invoice);
    // Before anything replaces the invoice or leaves it: asks what to do with changes the user
    // has not saved (none: no question). False when the invoice is to stay as it is.
    bool confirmLeavingCard();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildCommandStrip(QBoxLayout* strip);
    QGroupBox* buildCompanyPanel();
    QGroupBox* buildCustomerPanel();
    QGroupBox* buildDocumentPanel();
    QWidget* buildArticlePages();
    QWidget* buildTotals();
    void setUpKeys();
    void connectCommands();
    void updateAvailableCommands();

    void loadCompanyDefaults();
    void clearInvoice();
    InvoiceFigures figures() const;
    void setFigures(const InvoiceFigures& f);
    // The texts of the controls that show the record's fields, and back.
    InvoiceCard::CardTexts cardTexts() const;
    void showTexts(const InvoiceCard::CardTexts& texts);
    // An arrow: shows the invoice it goes to, or says why it cannot.
    void move(CardArchive::Arrow arrow);
    void accessFailure(MessageKind kind);
    // Save: true once the invoice is on the disk.
    bool saveCard();
    // What the screen shows now is what the invoice was loaded, created or saved with.
    void markUnchanged();

    AppContext& m_ctx;
    CardArchive::Changes m_changes;
    // The control showing each field of the invoice record, in the record's order.
    std::vector<QWidget*> m_fieldControls;
    ScreenCommands m_commands;
    // The tool bar's buttons show their names while the window is wide enough for all of them,
    // and only their pictures (names in the hints) when it is not, so no name is ever cut.
    std::vector<PictureButton*> m_stripButtons;
    QBoxLayout* m_strip = nullptr;
    void fitCommandStrip();
};

} // namespace tarvello

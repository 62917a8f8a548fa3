#pragma once

#include "productcard.h"
#include "shell/commands.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class PictureButton;
class ReportDocument;
class StatusLine;

// The product card: one product of Magazzino.pro at a time. Its state is the text of its
// controls: the 20 fields, the position label (empty for a card not yet saved) and the hidden
// holders of the extra data, the attachments and the folder entry.
class TfrmMagazzino : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmMagazzino(AppContext& ctx);

    QLineEdit *txtCodice, *txtTipologia, *txtMarca, *txtModello, *txtDescrizione, *txtAccessori;
    QLineEdit *txtFornitore, *txtRecapiti, *txtData, *txtDocumento, *txtOrdine;
    QLineEdit *txtGiacenza, *txtSottoscorta, *txtCosto, *txtValore, *txtPrezzo, *txtPercIva,
        *txtPrezzo_con_Iva;
    QLineEdit *txtCollocazione, *txtNote;

    PictureButton *cmdNuovo, *cmdDuplica, *cmdFile, *cmdSalva, *cmdTrova, *cmdAnteprima, *cmdStampa, *cmdPDF,
        *cmdWeb, *cmdSottoscorta, *cmdEsporta, *cmdGuida, *cmdEsci;
    PictureButton *cmdPrimo, *cmdIndietro, *cmdAvanti, *cmdUltimo;
    QPushButton *btnAggiungi, *btnSottrai, *btnValore, *btnCalcola, *btnScorpora, *btnPneumatici;

    QLabel* lblPosizione;
    QLabel *memConsumo, *memAderenza, *memRumore, *memOnde;
    QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03;
    QLabel *lblCartella, *lblCartellaDesc;
    StatusLine* panInfo;

    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdDuplicaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdFileClick();
    void cmdTrovaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdWebClick();
    void cmdSottoscortaClick();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void btnAggiungiClick();
    void btnSottraiClick();
    void btnValoreClick();
    void btnCalcolaClick();
    void btnScorporaClick();
    void btnPneumaticiClick();

    // The texts of the card, one per record field, hidden holders included.
    ProductCard::CardTexts cardTexts() const;
    // Puts a record onto the card as the arrows do, its position (one-based) included. The
    // search and the low-stock list load their choice through this.
    void loadRecord(const Record& record, qint64 position);
    // Before anything replaces the card or leaves it: asks what to do with changes the user has
    // not saved (none: no question). False when the card is to stay as it is.
    bool confirmLeavingCard();

    // The printed card, filled from the screen as it is now.
    ReportDocument cardReport() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildScreen();
    void applyFieldRules();
    void connectCommands();
    void enableOtherWindows();
    void setTexts(const ProductCard::CardTexts& texts);
    void move(CardArchive::Arrow arrow);
    void openStockWindow(bool add);
    void archiveFailed();
    // An empty card, as Nuovo leaves it.
    void newCard();
    // Save: true once the card is on the disk.
    bool saveCard();
    // What the card shows now is what it was loaded, created or saved with.
    void markUnchanged();
    // "Calcola" and "Calcola valore", with their messages; Save runs them too.
    void calculate();
    void calculateValue();

    AppContext& m_ctx;
    CardArchive::Changes m_changes;
    std::array<QWidget*, ProductRecord::FieldCount> m_controls{};
    ScreenCommands m_commands;
};

} // namespace tarvello

#pragma once

#include "customercard.h"
#include "shell/commands.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace tarvello
{

class AppContext;
class PictureButton;
class ReportDocument;
class StatusLine;

// The customer card: one customer of Clienti.pro at a time. Its state is the text of its
// controls: the fields, the check box, the position label (empty for a card not yet saved)
// and six hidden labels that hold the attachments.
class TfrmClienti : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmClienti(AppContext& ctx);

    // Section 1: personal data and residence
    QLineEdit *txtCognome, *txtNome, *txtDitta, *txtSesso, *txtRecapito, *txtIndirizzoRes;
    QComboBox* txtProvRes;
    QLineEdit *txtComuneRes, *txtCapRes, *txtDataNasc, *txtComuneNasc;
    QComboBox* txtProvNasc;
    // Section 2: telephones and mail
    QLineEdit *txtTelCasa, *txtTelUff, *txtTelCel, *txtPec, *txtEmail;
    // Section 3: tax and bank data
    QLineEdit *txtCodFisc, *txtCarta, *txtScadeCarta, *txtPartitaIva, *txtIban;
    // Section 4: identity document and interests
    QLineEdit *txtTipoPat, *txtNumPat, *txtEnteRil, *txtDataRil, *txtDataSca, *txtConducente;
    // Section 5: pending issues and notes
    QLineEdit *txtQuestioni, *txtNote, *txtCodiceDest;
    QCheckBox* chkRicontatta;

    // Commands
    PictureButton *cmdNuovo, *cmdDuplica, *cmdFile, *cmdSalva, *cmdTrova, *cmdAnteprima, *cmdStampa, *cmdPDF,
        *cmdRicontatta, *cmdEsporta, *cmdGuida, *cmdEsci;
    PictureButton *cmdPrimo, *cmdIndietro, *cmdAvanti, *cmdUltimo;
    PictureButton *btnEmail, *btnCodFisc, *btnCarta, *btnPartitaIva, *btnIban;

    QLabel* lblPosizione;
    QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03;
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
    void cmdRicontattaClick();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void btnEmailClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();
    void btnCartaClick();
    void btnIbanClick();

    // The texts of the card, one per record field; Ricontatta from the check box.
    CustomerCard::CardTexts cardTexts() const;
    // Puts a record onto the card as the arrows do: every field, the check box (only for "Sì"
    // or "No"), the attachments, and the position label set to `position` (one-based). The
    // customer search and the list of customers to recontact load their choice through this.
    void loadRecord(const Record& record, qint64 position);
    // Before anything replaces the card or leaves it: asks what to do with changes the user has
    // not saved (none: no question). False when the card is to stay as it is.
    bool confirmLeavingCard();

    // The printed card, filled from the screen as it is now (an unsaved card prints as shown).
    ReportDocument cardReport() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildScreen();
    void applyFieldRules();
    void connectCommands();
    void enableOtherWindows();
    void clearCard();
    void setFieldText(CustomerRecord::Field field, const QString& text);
    QString fieldText(CustomerRecord::Field field) const;
    void move(CardArchive::Arrow arrow);
    void archiveFailed();
    // Save: true once the card is on the disk.
    bool saveCard();
    // What the card shows now is what it was loaded, created or saved with.
    void markUnchanged();

    AppContext& m_ctx;
    CardArchive::Changes m_changes;
    // The control of each record field (null for Ricontatta and the attachments).
    std::array<QWidget*, CustomerRecord::FieldCount> m_controls{};
    ScreenCommands m_commands;
};

} // namespace tarvello

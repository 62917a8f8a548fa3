#pragma once

#include "customercard.h"
#include "shell/cardscreen.h"

namespace tarvello
{

// The customer card: one customer of Clienti.pro at a time. Its state is the text of its
// controls: the fields, the check box, the position label (empty for a card not yet saved)
// and six hidden labels that hold the attachments.
class TfrmClienti : public CardScreen
{
    Q_OBJECT
public:
    explicit TfrmClienti(AppContext& ctx);

    // The texts of the card, one per record field; Ricontatta from the check box.
    CustomerCard::CardTexts cardTexts() const;
    // The printed card, filled from the screen as it is now (an unsaved card prints as shown).
    ReportDocument cardReport() const override;

protected:
    void emptyCard() override;
    bool readyToSave() override;

private:
    void buildScreen();
    void applyFieldRules();
    void connectCommands();
    // The check buttons hand the trimmed text over; a tax code of digits only opens the VAT
    // number check.
    void btnEmailClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();
    void btnCartaClick();
    void btnIbanClick();
};

} // namespace tarvello

#pragma once

#include "pricetools.h"
#include "productcard.h"
#include "shell/cardscreen.h"

namespace tarvello
{

// The product card: one product of Magazzino.pro at a time. Its state is the text of its
// controls: the 20 fields, the position label (empty for a card not yet saved) and the hidden
// holders of the extra data, the attachments and the folder entry.
class TfrmMagazzino : public CardScreen
{
    Q_OBJECT
public:
    explicit TfrmMagazzino(AppContext& ctx);

    // The texts of the card, one per record field, hidden holders included.
    ProductCard::CardTexts cardTexts() const;
    // The printed card, filled from the screen as it is now.
    ReportDocument cardReport() const override;
    // The stock window's new total: the units it added or took away count as a difference, so a
    // save adds them to whatever stock another workstation stored meanwhile.
    void changeStock(const QString& total);

protected:
    // An empty card, as Nuovo leaves it: "0" and "0,00" in the number fields.
    void emptyCard() override;
    bool readyToSave() override;
    void cardSettled() override { m_stockByWindow = false; }
    std::vector<CardArchive::Difference> differences() const override;
    CardArchive::Derived derived() const override;

private:
    void buildScreen();
    void applyFieldRules();
    void connectCommands();
    void openStockWindow(bool add);
    // "Calcola" and "Calcola valore", with their messages; Save runs them too.
    void calculate();
    void calculateValue();
    void showPrices(const PriceTools::VatPrices& prices, const QString& invalid);
    void btnScorporaClick();
    void btnPneumaticiClick();
    void cmdWebClick();

    bool m_stockByWindow = false; // the stock changed through the stock window alone
};

} // namespace tarvello

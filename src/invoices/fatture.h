#pragma once

#include "invoicecard.h"
#include "shell/cardscreen.h"
#include "shell/handoffs.h"

#include <memory>

class QBoxLayout;

namespace tarvello
{

struct InvoiceControls;

// The invoice screen: one proforma invoice of the year's file at a time. The invoice menu names
// the year's file and the year in the hidden labels lblFile and lblAnno. The customer search and
// the article import fill it as an InvoiceTarget (invoicehandoffs.cpp).
class TfrmFatture : public CardScreen, public InvoiceTarget
{
    Q_OBJECT
public:
    explicit TfrmFatture(AppContext& ctx);
    ~TfrmFatture() override;

    // The year's file the screen works on, and its year.
    QString yearFile() const;
    QString year() const;

    // The page of article rows on show, 1..6; showing one puts the focus on its first quantity.
    void showPage(int page);
    int currentPage() const;

    // "Calcola": the rows' amounts and the totals from the figures on the screen.
    void cmdCalcolaClick();
    // "Fattura elettronica": Calcola, then the electronic invoice's window for the invoice shown.
    void cmdFatturaElettronicaClick();

    // The invoice as the screen shows it now, figures included as they stand (after Calcola they
    // are the calculation's; after typing in a figure, its row's amount and the totals are empty).
    InvoiceDocument document() const;
    // The printed invoice, filled from the document as the screen shows it now.
    ReportDocument cardReport() const override;

    // What the customer search and the article import hand the invoice.
    void takeCustomer(const InvoiceCustomer& customer) override;
    void takeArticle(int row, const InvoiceArticle& article) override;
    ImportHolder importHolder() const override;

protected:
    // The company's data and settings from Numerazione.ini, and an empty invoice.
    void emptyCard() override;
    // Nuovo: the invoice's number proposed by the numbering and today's date.
    void newCard() override;
    // Calcola, then the invoice's checks and the question about a number another invoice holds.
    bool readyToSave() override;
    QString archivePath() const override;
    MessageKind arrowFailureKind(CardArchive::Arrow arrow) const override;
    // The company's data go back into Numerazione.ini.
    void cardClosed() override;
    // Units imported from the warehouse belong to the invoice until it is saved: saving settles
    // them, leaving the invoice unsaved gives them back.
    void cardSaved() override;
    void leavingCard() override;
    QString heldNote(Moment moment) const override;
    // The rows' amounts and the totals follow from the figures, whichever workstation changed them.
    CardArchive::Derived derived() const override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setUpKeys();
    void connectCommands();
    void clearInvoice();
    void btnCancDittaClick();
    // The customer search, and the article import for a row (1 to 30), for this invoice; their
    // buttons are usable when the build offers them.
    void impClienteClick();
    void impMagClick(int row);
    void enableHandoffs();
    void fitToolBar();
    // A new holder for what is imported into the invoice from now on.
    void newHolder();
    QString holder() const;

    std::unique_ptr<InvoiceControls> ui;
    QBoxLayout* m_strip = nullptr;
    QString m_holder;
};

} // namespace tarvello

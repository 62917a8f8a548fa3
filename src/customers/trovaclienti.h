#pragma once

#include "output/searchwindow.h"

class QLabel;

namespace tarvello
{

class AppContext;
class InvoiceTarget;

// The customer search: up to ten criteria at once, the customers found as a sorted list that can
// be searched and printed, and a double click that hands the chosen customer to the caller. Opened
// for an invoice (openForInvoice), it hands the customer's data to that invoice; otherwise the
// caller's mode in lblMemory says what the choice does: "clienti" loads the customer onto the
// customer card.
class TfrmTrovaClienti : public SearchWindow
{
    Q_OBJECT
public:
    explicit TfrmTrovaClienti(AppContext& ctx, QWidget* owner = nullptr);

    // A new search owned by `owner`, shown modally, whose chosen customer goes to `invoice`.
    static void openForInvoice(AppContext& ctx, QWidget* owner, InvoiceTarget& invoice);
    // The invoice the search serves, or nullptr.
    InvoiceTarget* invoice() const { return m_invoice; }

protected:
    Search search(std::span<const QString> typed) override;
    void lineChosen(qint64 record) override;

private:
    QLabel* m_lblConta; // hidden: how many criteria the last search was given
    InvoiceTarget* m_invoice = nullptr;
};

} // namespace tarvello

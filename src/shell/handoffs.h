#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tarvello
{

class AppContext;

// What one application hands another. The applications never reach into each other's controls:
// the invoice takes a customer or an article through InvoiceTarget, and opens the customer search
// or the article import through the functions at the end, which find whoever offers them in this
// build. A control renamed on either side then breaks the build, never the hand-off in silence.

// A customer as the invoice shows it.
struct InvoiceCustomer {
    QString name; // company, surname and first name joined, as the invoice prints it
    QString street;
    QString postcode;
    QString town;
    QString province;
    QString taxCode;
    QString vatNumber;
};

// An article for one row of the invoice.
struct InvoiceArticle {
    QString code;
    QString description;
    QString price;
    // The units taken off the stock for the row ("2,5"), empty when the stock was left as it was.
    // The row keeps the quantity the user typed in it: what is sold need not be what was taken.
    QString taken;
};

// Who holds the units an import takes off the stock until the invoice is saved, as the stock
// journal writes them down (archive/stockjournal.h).
struct ImportHolder {
    QString id;            // the journal's holder; empty while no invoice can hold anything
    QString invoiceFile;   // the year's file name, "2024.fat"
    QString invoiceNumber; // the invoice's number as typed, trimmed
};

// An invoice being written, as the other applications see it.
class InvoiceTarget
{
public:
    // The customer's data go into the invoice's customer fields, whole, replacing what they held.
    virtual void takeCustomer(const InvoiceCustomer& customer) = 0;
    // The article goes into row `row` (1 to 30); a row outside them takes nothing.
    virtual void takeArticle(int row, const InvoiceArticle& article) = 0;
    virtual ImportHolder importHolder() const = 0;

protected:
    ~InvoiceTarget() = default;
};

// What the article import is told by the row that opens it.
struct ArticleRequest {
    int row = 0;      // 1 to 30
    QString quantity; // the row's quantity, trimmed; empty leaves the import's own
    QString code;     // the row's code, trimmed; when not empty, it starts the search
};

// Who offers each hand-off in this build: each application's registration fills in its own
// (WindowRegistry::handoffs), and what a build leaves out stays empty.
struct Handoffs {
    // The invoice screen (made when first asked for).
    std::function<InvoiceTarget*(AppContext&)> invoiceTarget;
    // Opens the customer search, modally and owned by `owner`; the customer chosen goes to `target`.
    std::function<void(AppContext&, QWidget* owner, InvoiceTarget& target)> customerSearch;
    // Opens the article import for a row of `target`, modally and owned by `owner`.
    std::function<void(AppContext&, QWidget* owner, InvoiceTarget& target, const ArticleRequest& request)>
        articleImport;
};

// The invoice that takes what the other applications hand it, or nullptr when the build has none.
InvoiceTarget* invoiceTarget(AppContext& ctx);

// Whether the build offers the customer search and the article import; asking makes nothing.
bool canSearchCustomers(const AppContext& ctx);
bool canImportArticles(const AppContext& ctx);

// Opens them for `target`, owned by `owner`; nothing happens when the build lacks them.
void openCustomerSearchFor(AppContext& ctx, QWidget* owner, InvoiceTarget& target);
void openArticleImportFor(AppContext& ctx, QWidget* owner, InvoiceTarget& target,
                          const ArticleRequest& request);

} // namespace tarvello

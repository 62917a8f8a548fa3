#include "handoffs.h"

#include "appcontext.h"

namespace tarvello
{

const Handoffs& AppContext::handoffs() const
{
    static const Handoffs none;
    return none;
}

InvoiceTarget* invoiceTarget(AppContext& ctx)
{
    const Handoffs& offered = ctx.handoffs();
    return offered.invoiceTarget ? offered.invoiceTarget(ctx) : nullptr;
}

bool canSearchCustomers(const AppContext& ctx)
{
    return bool(ctx.handoffs().customerSearch);
}

bool canImportArticles(const AppContext& ctx)
{
    return bool(ctx.handoffs().articleImport);
}

void openCustomerSearchFor(AppContext& ctx, QWidget* owner, InvoiceTarget& target)
{
    if (const auto& open = ctx.handoffs().customerSearch)
        open(ctx, owner, target);
}

void openArticleImportFor(AppContext& ctx, QWidget* owner, InvoiceTarget& target,
                          const ArticleRequest& request)
{
    if (const auto& open = ctx.handoffs().articleImport)
        open(ctx, owner, target, request);
}

} // namespace tarvello

#include "checkbuttons.h"

#include "appcontext.h"
#include "core/text.h"
#include "services.h"

#include <algorithm>

namespace tarvello
{

namespace
{

void openCheck(AppContext& ctx, QWidget* owner, QStringView name, const QString& text)
{
    const std::unique_ptr<QDialog> window = ctx.createDialog(name, owner);
    if (!window)
        return;
    auto* entry = qobject_cast<EntryDialog*>(window.get());
    Q_ASSERT_X(entry, "openCheck", "a check window takes the caller's text");
    if (entry)
        entry->setEntryText(trimmed(text));
    ctx.services().runModal(*window);
}

} // namespace

bool taxCodeIsVatNumber(QStringView text)
{
    const QString code = trimmed(text);
    return !code.isEmpty() && std::all_of(code.cbegin(), code.cend(),
                                          [](QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; });
}

void openTaxCodeCheck(AppContext& ctx, QWidget* owner, const QString& text)
{
    openCheck(ctx, owner, taxCodeIsVatNumber(text) ? u"frmPartitaIva" : u"frmCodFisc", text);
}

void openVatNumberCheck(AppContext& ctx, QWidget* owner, const QString& text)
{
    openCheck(ctx, owner, u"frmPartitaIva", text);
}

void openIbanCheck(AppContext& ctx, QWidget* owner, const QString& text)
{
    openCheck(ctx, owner, u"frmIban", text);
}

void openCardCheck(AppContext& ctx, QWidget* owner, const QString& text)
{
    openCheck(ctx, owner, u"frmCarta", text);
}

} // namespace tarvello

#include "checkwindows.h"

#include "checks/vatnumber.h"
#include "shell/conventions.h"

#include <QLineEdit>

namespace tarvello
{

TfrmPartitaIva::TfrmPartitaIva(AppContext& ctx, QWidget* owner)
    : CheckWindow(ctx, owner,
                  {QStringLiteral("frmPartitaIva"), QStringLiteral(" Controllo partita IVA"),
                   QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo."),
                   QStringLiteral("txtPartitaIva"), 11, QStringLiteral(":/icons/partitaiva.svg")})
{
    txtPartitaIva = entryField();
    FieldRules::of(txtPartitaIva)->filter(KeyFilter::Digits);
}

std::optional<CheckMessage> TfrmPartitaIva::check(const QString& text) const
{
    return vatNumberMessage(checkVatNumber(text));
}

} // namespace tarvello

#include "checkwindows.h"

#include "checks/taxcode.h"
#include "shell/conventions.h"

#include <QLineEdit>

namespace tarvello
{

TfrmCodFisc::TfrmCodFisc(AppContext& ctx, QWidget* owner)
    : CheckWindow(ctx, owner,
                  {QStringLiteral("frmCodFisc"), QStringLiteral(" Controllo codice fiscale"),
                   QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."),
                   QStringLiteral("txtCodFisc"), 16, QStringLiteral(":/icons/codfisc.svg")})
{
    txtCodFisc = entryField();
    makeUpperCase(txtCodFisc);
}

std::optional<CheckMessage> TfrmCodFisc::check(const QString& text) const
{
    return taxCodeMessage(checkTaxCode(text));
}

} // namespace tarvello

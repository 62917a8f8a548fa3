#include "checkwindows.h"

#include "checks/iban.h"
#include "shell/conventions.h"

#include <QLineEdit>

namespace tarvello
{

TfrmIban::TfrmIban(AppContext& ctx, QWidget* owner)
    : CheckWindow(ctx, owner,
                  {QStringLiteral("frmIban"), QStringLiteral(" Controllo IBAN"),
                   QStringLiteral("Immettere l'IBAN e premere il pulsante di controllo."),
                   QStringLiteral("txtIban"), int(ibanLength), QStringLiteral(":/icons/iban.svg")})
{
    txtIban = entryField();
    // Any character may be typed; small letters become capitals and outer blanks go at once.
    makeUpperCase(txtIban);
}

std::optional<CheckMessage> TfrmIban::check(const QString& text) const
{
    return ibanMessage(checkIban(text));
}

} // namespace tarvello

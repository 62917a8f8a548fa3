#include "checkwindows.h"

#include "checks/creditcard.h"
#include "shell/conventions.h"

#include <QLineEdit>

namespace tarvello
{

TfrmCarta::TfrmCarta(AppContext& ctx, QWidget* owner)
    : CheckWindow(
          ctx, owner,
          {QStringLiteral("frmCarta"), QStringLiteral(" Controllo carta di credito"),
           QStringLiteral("Immettere il numero di carta di credito e premere il pulsante di controllo."),
           QStringLiteral("txtNumero"), 30, QStringLiteral(":/icons/carta.svg")})
{
    txtNumero = entryField();
    // Digits from the keyboard; a number copied from the customer card may still carry blanks or
    // hyphens between its groups, which the check skips.
    FieldRules::of(txtNumero)->filter(KeyFilter::Digits);
    makeUpperCase(txtNumero);
}

std::optional<CheckMessage> TfrmCarta::check(const QString& text) const
{
    return creditCardMessage(checkCreditCard(text));
}

} // namespace tarvello

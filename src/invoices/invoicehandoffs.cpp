#include "core/text.h"
#include "fatture.h"
#include "invoicescreen.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

namespace tarvello
{

// ---------------------------------------------------------------- what other applications hand over

void TfrmFatture::enableHandoffs()
{
    // A build without the customer archive or the warehouse leaves these buttons in place,
    // disabled, as it does with any window it lacks.
    ui->impCliente->setEnabled(canSearchCustomers(ctx()));
    const bool imports = canImportArticles(ctx());
    for (PictureButton* button : ui->impMag)
        button->setEnabled(imports);
}

void TfrmFatture::impClienteClick()
{
    openCustomerSearchFor(ctx(), this, *this);
}

void TfrmFatture::impMagClick(int row)
{
    // The row's quantity goes along, so that the stock is taken for it, and a code already typed
    // in the row starts the search instead of being typed again.
    const size_t k = size_t(row - 1);
    openArticleImportFor(ctx(), this, *this,
                         {.row = row,
                          .quantity = trimmed(ui->txtQuant[k]->text()),
                          .code = trimmed(ui->txtCodice[k]->text())});
}

void TfrmFatture::takeCustomer(const InvoiceCustomer& customer)
{
    const std::pair<QLineEdit*, const QString*> fields[] = {
        {ui->txtCliente, &customer.name},           {ui->txtViaCliente, &customer.street},
        {ui->txtCapCliente, &customer.postcode},    {ui->txtCittaCliente, &customer.town},
        {ui->txtCodFiscCliente, &customer.taxCode}, {ui->txtIvaCliente, &customer.vatNumber},
    };
    for (const auto& [field, text] : fields)
        setControlText(field, *text); // whole: the joined name may be longer than one types
    ui->txtProvCliente->setEditText(customer.province);
}

void TfrmFatture::takeArticle(int row, const InvoiceArticle& article)
{
    if (row < 1 || row > int(ui->txtCodice.size()))
        return;
    const size_t k = size_t(row - 1);
    // The row's fields take what their typing limits allow (20, 55 and 10 characters), as the
    // invoice record holds them; its quantity, discount and exempt box stay as the user left them.
    ui->txtCodice[k]->setText(article.code);
    ui->txtDesc[k]->setText(article.description);
    ui->txtPrezzo[k]->setText(article.price);
}

ImportHolder TfrmFatture::importHolder() const
{
    return {.id = holder(),
            .invoiceFile = QFileInfo(yearFile()).fileName(),
            .invoiceNumber = trimmed(ui->txtNumFatt->text())};
}

} // namespace tarvello

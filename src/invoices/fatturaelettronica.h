#pragma once

#include "einvoice.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class PictureButton;

// The electronic invoice of the invoice on the screen: shows what will be sent, asks only for what
// the proforma lacks and writes the XML file into FattureElettroniche. The invoice screen hands it
// the invoice's texts before showing it.
class TfrmFatturaElettronica : public QDialog
{
    Q_OBJECT
public:
    TfrmFatturaElettronica(AppContext& ctx, QWidget* owner = nullptr);

    void setInvoice(const InvoiceDocument& invoice);

    QPlainTextEdit* txtAnteprima;
    QComboBox *cboTipoDocumento, *cboRegimeFiscale, *cboNatura, *cboPagamento, *cboEsigibilita, *cboPaese;
    QLineEdit *txtNumero, *txtData, *txtProtocollo, *txtDataIntento, *txtTrasmittente, *txtCertificato;
    QPushButton* btnCertificato;
    QCheckBox* chkCassetto;
    QPushButton* btnAnnulla;
    QPushButton* btnCrea;
    PictureButton* imgGuida;

    void btnCreaClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    EInvoice::Options options() const;
    QString documentsFolder() const;
    QString iniPath() const;
    QString intentsPath() const;
    void enableIntent();
    // The document the choices give now, or why there is none; the customer's card is read afresh.
    EInvoice::Built buildNow();
    void updatePreview();

    AppContext& m_ctx;
    InvoiceDocument m_invoice;
    EInvoice::CustomerLookup m_customer;
};

} // namespace tarvello

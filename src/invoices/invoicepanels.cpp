#include "invoicescreen.h"

#include "shell/conventions.h"
#include "shell/style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvello::InvoiceScreen
{

QString two(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

QLineEdit* edit(QWidget* parent, const QString& name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    return e;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    setTone(l, "caption");
    return l;
}

QLabel* amountLabel(QWidget* parent, const QString& name, bool strong)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(92);
    setTone(l, strong ? "total" : "amount");
    return l;
}

PictureButton* smallButton(QWidget* parent, const QString& name, const QString& icon, const QString& caption)
{
    return new PictureButton(name, QStringLiteral(":/icons/") + icon + QStringLiteral(".svg"), caption,
                             QSize(22, 22), parent);
}

namespace
{

QGroupBox* titledPanel(QWidget* parent, const QString& title, const QString& name)
{
    auto* panel = new QGroupBox(title, parent);
    panel->setObjectName(name);
    return panel;
}

QGridLayout* panelGrid(QWidget* panel)
{
    auto* g = new QGridLayout(panel);
    g->setContentsMargins(8, 14, 8, 8);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(6);
    return g;
}

// The address controls the company and the customer panels share, named after whose they are
// ("Ditta", "Cliente"): name; street; postcode, town and province; VAT number and tax code with their
// check buttons. The members refer to the screen's own control pointers, which they fill.
struct AddressControls {
    QLineEdit *&name, *&street, *&postcode, *&town, *&vat, *&taxCode;
    QComboBox*& province;
    PictureButton *&vatCheck, *&taxCodeCheck;
};

void makeAddressControls(QWidget* panel, const QString& whose, const AddressControls& a)
{
    a.name = edit(panel, QStringLiteral("txt") + whose, 50);
    a.street = edit(panel, QStringLiteral("txtVia") + whose, 50);
    a.postcode = edit(panel, QStringLiteral("txtCap") + whose, 12);
    a.town = edit(panel, QStringLiteral("txtCitta") + whose, 50);
    a.province = new QComboBox(panel);
    a.province->setObjectName(QStringLiteral("txtProv") + whose);
    a.vat = edit(panel, QStringLiteral("txtIva") + whose, 30);
    a.taxCode = edit(panel, QStringLiteral("txtCodFisc") + whose, 30);
    a.vatCheck = smallButton(panel, QStringLiteral("btnIva") + whose, QStringLiteral("controlla"),
                             QStringLiteral("Controlla"));
    a.taxCodeCheck = smallButton(panel, QStringLiteral("btnCodFisc") + whose, QStringLiteral("controlla"),
                                 QStringLiteral("Controlla"));
}

// Lays the address controls out from grid row `row`: captions in column 0, fields in column 1,
// the province's caption and the check buttons' column beside them. The postcode has a row of its
// own so that the town, up to 50 characters, has the field's whole width on narrow screens.
void addAddressRows(QGridLayout* g, int row, QWidget* panel, const AddressControls& a)
{
    g->addWidget(caption(QStringLiteral("Via e numero civico:"), panel), row, 0);
    g->addWidget(a.street, row, 1, 1, 3);
    g->addWidget(caption(QStringLiteral("CAP:"), panel), row + 1, 0);
    g->addWidget(a.postcode, row + 1, 1, Qt::AlignLeft);
    g->addWidget(caption(QStringLiteral("Città:"), panel), row + 2, 0);
    g->addWidget(a.town, row + 2, 1);
    g->addWidget(caption(QStringLiteral("Prov."), panel), row + 2, 2);
    g->addWidget(a.province, row + 2, 3);
    g->addWidget(caption(QStringLiteral("Partita IVA:"), panel), row + 3, 0);
    g->addWidget(a.vat, row + 3, 1, 1, 2);
    g->addWidget(a.vatCheck, row + 3, 3, Qt::AlignLeft);
    g->addWidget(caption(QStringLiteral("Codice fiscale:"), panel), row + 4, 0);
    g->addWidget(a.taxCode, row + 4, 1, 1, 2);
    g->addWidget(a.taxCodeCheck, row + 4, 3, Qt::AlignLeft);
    g->setColumnStretch(1, 1);
    a.postcode->setFixedWidth(a.postcode->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    a.province->setFixedWidth(a.province->fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 34);
    a.town->setMinimumWidth(a.town->fontMetrics().horizontalAdvance(QStringLiteral("Reggio nell'Emilia")) +
                            12);
}

} // namespace

QGroupBox* buildCompanyPanel(QWidget* screen, InvoiceControls& ui)
{
    QGroupBox* p = ui.panDitta =
        titledPanel(screen, QStringLiteral("Ditta emittente"), QStringLiteral("panDitta"));
    const AddressControls address{ui.txtDitta,      ui.txtViaDitta, ui.txtCapDitta,
                                  ui.txtCittaDitta, ui.txtIvaDitta, ui.txtCodFiscDitta,
                                  ui.txtProvDitta,  ui.btnIvaDitta, ui.btnCodFiscDitta};
    makeAddressControls(p, QStringLiteral("Ditta"), address);
    ui.txtLibero01 = edit(p, QStringLiteral("txtLibero01"), 50);
    ui.txtLibero02 = edit(p, QStringLiteral("txtLibero02"), 50);
    ui.btnCancDitta = smallButton(p, QStringLiteral("btnCancDitta"), QStringLiteral("cancella"),
                                  QStringLiteral("Cancella i dati della Ditta"));
    ui.btnLogo =
        smallButton(p, QStringLiteral("btnLogo"), QStringLiteral("logoditta"), QStringLiteral("Logo"));

    auto* g = panelGrid(p);
    g->addWidget(caption(QStringLiteral("Ditta emittente:"), p), 0, 0);
    g->addWidget(ui.txtDitta, 0, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(ui.btnCancDitta);
    buttons->addWidget(ui.btnLogo);
    g->addLayout(buttons, 0, 3, Qt::AlignLeft);
    addAddressRows(g, 1, p, address);
    g->addWidget(caption(QStringLiteral("Campo libero 1:"), p), 6, 0);
    g->addWidget(ui.txtLibero01, 6, 1, 1, 3);
    g->addWidget(caption(QStringLiteral("Campo libero 2:"), p), 7, 0);
    g->addWidget(ui.txtLibero02, 7, 1, 1, 3);
    return p;
}

QGroupBox* buildCustomerPanel(QWidget* screen, InvoiceControls& ui)
{
    QGroupBox* p = ui.panCliente =
        titledPanel(screen, QStringLiteral("Cliente"), QStringLiteral("panCliente"));
    const AddressControls address{ui.txtCliente,      ui.txtViaCliente, ui.txtCapCliente,
                                  ui.txtCittaCliente, ui.txtIvaCliente, ui.txtCodFiscCliente,
                                  ui.txtProvCliente,  ui.btnIvaCliente, ui.btnCodFiscCliente};
    makeAddressControls(p, QStringLiteral("Cliente"), address);
    ui.txtRiferimenti = edit(p, QStringLiteral("txtRiferimenti"), 50);
    ui.impCliente = smallButton(p, QStringLiteral("impCliente"), QStringLiteral("importa"),
                                QStringLiteral("Importa cliente"));
    ui.cmdDatiComputer = new QPushButton(QIcon(QStringLiteral(":/icons/trasporto.svg")),
                                         QStringLiteral("Altre informazioni"), p);
    ui.cmdDatiComputer->setObjectName(QStringLiteral("cmdDatiComputer"));

    auto* g = panelGrid(p);
    g->addWidget(caption(QStringLiteral("Cognome e nome o ragione sociale Cliente:"), p), 0, 0, 1, 4);
    g->addWidget(ui.txtCliente, 1, 0, 1, 3);
    g->addWidget(ui.impCliente, 1, 3, Qt::AlignLeft);
    addAddressRows(g, 2, p, address);
    g->addWidget(caption(QStringLiteral("Riferimenti:"), p), 7, 0);
    auto* references = new QHBoxLayout;
    references->setSpacing(8);
    references->addWidget(ui.txtRiferimenti, 1);
    references->addWidget(ui.cmdDatiComputer);
    g->addLayout(references, 7, 1, 1, 3);
    return p;
}

QGroupBox* buildDocumentPanel(QWidget* screen, InvoiceControls& ui)
{
    QGroupBox* p = ui.panNumFattura =
        titledPanel(screen, QStringLiteral("Documento"), QStringLiteral("panNumFattura"));
    ui.txtNumFatt = edit(p, QStringLiteral("txtNumFatt"), 30);
    setTypeface(ui.txtNumFatt, "sign");
    ui.txtData = edit(p, QStringLiteral("txtData"), 20);
    setTypeface(ui.txtData, "sign");
    ui.txtData->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    ui.impOggi = smallButton(p, QStringLiteral("impOggi"), QStringLiteral("oggi"), QStringLiteral("Oggi"));
    ui.txtPagamento = edit(p, QStringLiteral("txtPagamento"), 50);
    ui.txtBanca = edit(p, QStringLiteral("txtBanca"), 50);
    ui.txtIban = edit(p, QStringLiteral("txtIban"), 50);

    // Captions above their fields: the panel then needs only the width of an IBAN.
    auto* g = panelGrid(p);
    g->setVerticalSpacing(2);
    int row = 0;
    const auto add = [&](const QString& text, QWidget* field, QWidget* button = nullptr) {
        if (row > 0)
            g->setRowMinimumHeight(row++, 4);
        g->addWidget(caption(text, p), row++, 0, 1, 2);
        g->addWidget(field, row, 0, 1, button ? 1 : 2);
        if (button)
            g->addWidget(button, row, 1);
        ++row;
    };
    add(QStringLiteral("Proforma n."), ui.txtNumFatt);
    add(QStringLiteral("Data emissione:"), ui.txtData, ui.impOggi);
    add(QStringLiteral("Pagamento:"), ui.txtPagamento);
    add(QStringLiteral("Banca d'appoggio:"), ui.txtBanca);
    add(QStringLiteral("IBAN:"), ui.txtIban);
    g->setRowStretch(row, 1);
    g->setColumnStretch(0, 1);
    ui.txtIban->setMinimumWidth(
        ui.txtIban->fontMetrics().horizontalAdvance(QStringLiteral("IT00X0000000000000000000000")) + 16);
    return p;
}

QGroupBox* buildTotals(QWidget* screen, InvoiceControls& ui)
{
    QGroupBox* box = titledPanel(screen, QStringLiteral("Totali"), QStringLiteral("panTotali"));
    ui.txtTotImponibile = amountLabel(box, QStringLiteral("txtTotImponibile"));
    ui.txtPercIva = edit(box, QStringLiteral("txtPercIva"), 10);
    ui.txtPercIva->setAlignment(Qt::AlignRight);
    ui.txtPercIva->setMaximumWidth(70);
    ui.txtTotImposta = amountLabel(box, QStringLiteral("txtTotImposta"));
    ui.txtTotIva = amountLabel(box, QStringLiteral("txtTotIva"));
    ui.txtTotEsente = amountLabel(box, QStringLiteral("txtTotEsente"));
    ui.txtTotFattura = amountLabel(box, QStringLiteral("txtTotFattura"), true);
    setTypeface(ui.txtTotFattura, "largeBold");
    ui.txtNote = edit(box, QStringLiteral("txtNote"), 250);
    ui.cmdCalcola =
        new QPushButton(QIcon(QStringLiteral(":/icons/calcola.svg")), QStringLiteral("Calcola"), box);
    ui.cmdCalcola->setObjectName(QStringLiteral("cmdCalcola"));
    ui.chkSaldata = new QCheckBox(QStringLiteral("Saldata"), box);
    ui.chkSaldata->setObjectName(QStringLiteral("chkSaldata"));
    setTypeface(ui.chkSaldata, "plainBold");

    // The partial totals on the first line; the notes, the paid box, the total and "Calcola" on the
    // second, so that both lines fit a 1024-pixel screen.
    auto* g = panelGrid(box);
    auto* figures = new QHBoxLayout;
    figures->setSpacing(6);
    const auto pair = [&](const QString& text, QWidget* value, int gapBefore) {
        figures->addSpacing(gapBefore);
        figures->addWidget(caption(text, box));
        figures->addWidget(value);
    };
    pair(QStringLiteral("Tot. imponibile:"), ui.txtTotImponibile, 0);
    figures->addSpacing(10);
    figures->addWidget(caption(QStringLiteral("IVA:"), box));
    figures->addWidget(ui.txtPercIva);
    figures->addWidget(caption(QStringLiteral("%"), box));
    pair(QStringLiteral("Tot. imposta:"), ui.txtTotImposta, 10);
    pair(QStringLiteral("Tot. IVA inclusa:"), ui.txtTotIva, 10);
    pair(QStringLiteral("Tot. esente:"), ui.txtTotEsente, 10);
    figures->addStretch(1);
    g->addLayout(figures, 0, 0, 1, 6);
    auto* note = caption(QStringLiteral("NOTE:"), box);
    setTone(note, "heading");
    g->addWidget(note, 1, 0);
    g->addWidget(ui.txtNote, 1, 1);
    g->addWidget(ui.chkSaldata, 1, 2);
    auto* total = caption(QStringLiteral("TOTALE:"), box);
    setTypeface(total, "largeBold");
    g->addWidget(total, 1, 3, Qt::AlignRight);
    g->addWidget(ui.txtTotFattura, 1, 4);
    g->addWidget(ui.cmdCalcola, 1, 5);
    g->setColumnStretch(1, 1);
    g->setColumnMinimumWidth(3, 90);
    ui.txtTotFattura->setMinimumWidth(120);
    return box;
}

} // namespace tarvello::InvoiceScreen

#include "fatture.h"

#include "archive/archivefile.h"
#include "calculation.h"
#include "core/dates.h"
#include "core/text.h"
#include "fatturaelettronica.h"
#include "invoicecard.h"
#include "numbering.h"
#include "shell/appcontext.h"
#include "shell/checkbuttons.h"
#include "shell/conventions.h"
#include "shell/guida.h"
#include "shell/helptexts.h"
#include "shell/keyboard.h"
#include "shell/sectionflow.h"
#include "shell/services.h"
#include "shell/style.h"
#include "shell/unsavedchanges.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvello
{

namespace
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

QLabel* hidden(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->hide();
    return l;
}

// An amount or total: a right-aligned label that looks like a read-only field.
QLabel* amountLabel(QWidget* parent, const QString& name, bool strong = false)
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

namespace
{

// The controls that show the record's fields are named after them: "txt", "mem" or "chk" and the
// field's name.
QWidget* controlFor(const QWidget* screen, const QString& field)
{
    for (const QString& prefix : {QStringLiteral("txt"), QStringLiteral("mem"), QStringLiteral("chk")})
        if (auto* w = screen->findChild<QWidget*>(prefix + field))
            return w;
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------- construction

TfrmFatture::TfrmFatture(AppContext& ctx) : m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmFatture"), QStringLiteral(" Tarvello - Emissione fatture proforma"));
    setAttribute(Qt::WA_StyledBackground);

    auto* strip = m_strip = new QHBoxLayout;
    strip->setSpacing(0);
    buildCommandStrip(strip);

    auto* panels = new QHBoxLayout;
    panels->setSpacing(8);
    panels->addWidget(buildCompanyPanel(), 5);
    panels->addWidget(buildCustomerPanel(), 5);
    panels->addWidget(buildDocumentPanel(), 3);

    // Everything between the tool bar and the status line fits a 1024 x 768 screen; on a smaller
    // window it scrolls rather than hiding the totals or the document's number.
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("panContenuto"));
    auto* body = new QVBoxLayout(content);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(6);
    body->addLayout(panels);
    body->addWidget(buildArticlePages(), 1);
    body->addWidget(buildTotals());
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrFattura"));
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    keepFocusInSight(scroll);

    panInfo = new StatusLine(QStringLiteral("Pronto per archiviare una nuova scheda..."),
                             QColor(0x57, 0x70, 0xDA), this);
    panInfo->setObjectName(QStringLiteral("panInfo"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(6);
    layout->addLayout(strip);
    layout->addWidget(scroll, 1);
    layout->addWidget(panInfo);
    // No narrower than the tool bar with its pictures alone: below that its buttons would overlap.
    const QMargins margins = layout->contentsMargins();
    setMinimumSize(m_strip->minimumSize().width() + margins.left() + margins.right(), 520);

    lblFile = hidden(this, QStringLiteral("lblFile"));
    lblAnno = hidden(this, QStringLiteral("lblAnno"));
    lblInizio = hidden(this, QStringLiteral("lblInizio"), QStringLiteral("1"));
    lblSolare = hidden(this, QStringLiteral("lblSolare"), QStringLiteral("ANNO"));
    memVeicolo = hidden(this, QStringLiteral("memVeicolo"));
    memMarca = hidden(this, QStringLiteral("memMarca"));
    memColore = hidden(this, QStringLiteral("memColore"));
    memImmatricolazione = hidden(this, QStringLiteral("memImmatricolazione"));
    memAlimentazione = hidden(this, QStringLiteral("memAlimentazione"));
    memTarga = hidden(this, QStringLiteral("memTarga"));

    setUpKeys();
    connectCommands();
    showPage(1);

    for (const FieldDef& field : InvoiceRecord::layout().fields)
        m_fieldControls.push_back(controlFor(this, field.name()));
}

void TfrmFatture::buildCommandStrip(QBoxLayout* strip)
{
    auto make = [this](const QString& name, const QString& icon, const QString& text) {
        auto* b = new PictureButton(name, QStringLiteral(":/icons/") + icon + QStringLiteral(".svg"), text,
                                    QSize(30, 30), this);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFont(screenFont(QStringLiteral("Tahoma"), 8));
        b->setFixedWidth(b->iconSize().width() + 8);
        m_stripButtons.push_back(b);
        return b;
    };
    auto gap = [strip] { strip->addSpacing(8); };
    cmdNuovo = make(QStringLiteral("cmdNuovo"), QStringLiteral("nuovo"), QStringLiteral("Nuovo"));
    cmdSalva = make(QStringLiteral("cmdSalva"), QStringLiteral("salva"), QStringLiteral("Salva"));
    cmdPrimo = make(QStringLiteral("cmdPrimo"), QStringLiteral("primo"), QStringLiteral("Prima"));
    cmdIndietro =
        make(QStringLiteral("cmdIndietro"), QStringLiteral("indietro"), QStringLiteral("Precedente"));
    lblPosizione = new QLabel(this);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setMinimumWidth(56);
    lblPosizione->setFont(screenFont(QStringLiteral("Verdana"), 12, true));
    cmdAvanti = make(QStringLiteral("cmdAvanti"), QStringLiteral("avanti"), QStringLiteral("Successiva"));
    cmdUltimo = make(QStringLiteral("cmdUltimo"), QStringLiteral("ultimo"), QStringLiteral("Ultima"));
    cmdTrova = make(QStringLiteral("cmdTrova"), QStringLiteral("trova"), QStringLiteral("Trova"));
    cmdSospese = make(QStringLiteral("cmdSospese"), QStringLiteral("sospese"), QStringLiteral("Non saldate"));
    cmdStampa = make(QStringLiteral("cmdStampa"), QStringLiteral("stampa"), QStringLiteral("Stampa"));
    cmdAnteprima =
        make(QStringLiteral("cmdAnteprima"), QStringLiteral("anteprima"), QStringLiteral("Anteprima"));
    cmdPDF = make(QStringLiteral("cmdPDF"), QStringLiteral("pdf"), QStringLiteral("Crea PDF"));
    cmdFatturaElettronica = make(QStringLiteral("cmdFatturaElettronica"),
                                 QStringLiteral("fatturaelettronica"), QStringLiteral("Fattura elettronica"));
    cmdEsporta = make(QStringLiteral("cmdEsporta"), QStringLiteral("esporta"), QStringLiteral("Excel"));
    cmdRiepMensile =
        make(QStringLiteral("cmdRiepMensile"), QStringLiteral("riepmensile"), QStringLiteral("Mensile"));
    cmdRiepTrimestrale = make(QStringLiteral("cmdRiepTrimestrale"), QStringLiteral("rieptrimestrale"),
                              QStringLiteral("Trimestrale"));
    cmdRiepAnnuale =
        make(QStringLiteral("cmdRiepAnnuale"), QStringLiteral("riepannuale"), QStringLiteral("Annuale"));
    cmdNumerazione =
        make(QStringLiteral("cmdNumerazione"), QStringLiteral("numerazione"), QStringLiteral("Numerazione"));
    cmdGuida = make(QStringLiteral("cmdGuida"), QStringLiteral("guida"), QStringLiteral("Guida"));
    cmdEsci = make(QStringLiteral("cmdEsci"), QStringLiteral("esci"), QStringLiteral("Esci"));

    strip->addWidget(cmdNuovo);
    strip->addWidget(cmdSalva);
    gap();
    strip->addWidget(cmdPrimo);
    strip->addWidget(cmdIndietro);
    strip->addWidget(lblPosizione);
    strip->addWidget(cmdAvanti);
    strip->addWidget(cmdUltimo);
    gap();
    for (PictureButton* b : {cmdTrova, cmdSospese})
        strip->addWidget(b);
    gap();
    for (PictureButton* b : {cmdStampa, cmdAnteprima, cmdPDF, cmdFatturaElettronica, cmdEsporta})
        strip->addWidget(b);
    gap();
    for (PictureButton* b : {cmdRiepMensile, cmdRiepTrimestrale, cmdRiepAnnuale})
        strip->addWidget(b);
    gap();
    strip->addWidget(cmdNumerazione);
    strip->addStretch(1);
    strip->addWidget(cmdGuida);
    strip->addWidget(cmdEsci);
}

QGroupBox* TfrmFatture::buildCompanyPanel()
{
    QGroupBox* p = panDitta =
        titledPanel(this, QStringLiteral("Ditta emittente"), QStringLiteral("panDitta"));
    const AddressControls address{txtDitta,        txtViaDitta,  txtCapDitta, txtCittaDitta,  txtIvaDitta,
                                  txtCodFiscDitta, txtProvDitta, btnIvaDitta, btnCodFiscDitta};
    makeAddressControls(p, QStringLiteral("Ditta"), address);
    txtLibero01 = edit(p, QStringLiteral("txtLibero01"), 50);
    txtLibero02 = edit(p, QStringLiteral("txtLibero02"), 50);
    btnCancDitta = smallButton(p, QStringLiteral("btnCancDitta"), QStringLiteral("cancella"),
                               QStringLiteral("Cancella i dati della Ditta"));
    btnLogo = smallButton(p, QStringLiteral("btnLogo"), QStringLiteral("logoditta"), QStringLiteral("Logo"));

    auto* g = panelGrid(p);
    g->addWidget(caption(QStringLiteral("Ditta emittente:"), p), 0, 0);
    g->addWidget(txtDitta, 0, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(btnCancDitta);
    buttons->addWidget(btnLogo);
    g->addLayout(buttons, 0, 3, Qt::AlignLeft);
    addAddressRows(g, 1, p, address);
    g->addWidget(caption(QStringLiteral("Campo libero 1:"), p), 6, 0);
    g->addWidget(txtLibero01, 6, 1, 1, 3);
    g->addWidget(caption(QStringLiteral("Campo libero 2:"), p), 7, 0);
    g->addWidget(txtLibero02, 7, 1, 1, 3);
    return p;
}

QGroupBox* TfrmFatture::buildCustomerPanel()
{
    QGroupBox* p = panCliente = titledPanel(this, QStringLiteral("Cliente"), QStringLiteral("panCliente"));
    const AddressControls address{txtCliente,      txtViaCliente, txtCapCliente,
                                  txtCittaCliente, txtIvaCliente, txtCodFiscCliente,
                                  txtProvCliente,  btnIvaCliente, btnCodFiscCliente};
    makeAddressControls(p, QStringLiteral("Cliente"), address);
    txtRiferimenti = edit(p, QStringLiteral("txtRiferimenti"), 50);
    impCliente = smallButton(p, QStringLiteral("impCliente"), QStringLiteral("importa"),
                             QStringLiteral("Importa cliente"));
    cmdDatiComputer = new QPushButton(QIcon(QStringLiteral(":/icons/trasporto.svg")),
                                      QStringLiteral("Altre informazioni"), p);
    cmdDatiComputer->setObjectName(QStringLiteral("cmdDatiComputer"));

    auto* g = panelGrid(p);
    g->addWidget(caption(QStringLiteral("Cognome e nome o ragione sociale Cliente:"), p), 0, 0, 1, 4);
    g->addWidget(txtCliente, 1, 0, 1, 3);
    g->addWidget(impCliente, 1, 3, Qt::AlignLeft);
    addAddressRows(g, 2, p, address);
    g->addWidget(caption(QStringLiteral("Riferimenti:"), p), 7, 0);
    auto* references = new QHBoxLayout;
    references->setSpacing(8);
    references->addWidget(txtRiferimenti, 1);
    references->addWidget(cmdDatiComputer);
    g->addLayout(references, 7, 1, 1, 3);
    return p;
}

QGroupBox* TfrmFatture::buildDocumentPanel()
{
    QGroupBox* p = panNumFattura =
        titledPanel(this, QStringLiteral("Documento"), QStringLiteral("panNumFattura"));
    txtNumFatt = edit(p, QStringLiteral("txtNumFatt"), 30);
    txtNumFatt->setFont(screenFont(QStringLiteral("Verdana"), 11, true));
    txtData = edit(p, QStringLiteral("txtData"), 20);
    txtData->setFont(screenFont(QStringLiteral("Verdana"), 11, true));
    txtData->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    impOggi = smallButton(p, QStringLiteral("impOggi"), QStringLiteral("oggi"), QStringLiteral("Oggi"));
    txtPagamento = edit(p, QStringLiteral("txtPagamento"), 50);
    txtBanca = edit(p, QStringLiteral("txtBanca"), 50);
    txtIban = edit(p, QStringLiteral("txtIban"), 50);

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
    add(QStringLiteral("Proforma n."), txtNumFatt);
    add(QStringLiteral("Data emissione:"), txtData, impOggi);
    add(QStringLiteral("Pagamento:"), txtPagamento);
    add(QStringLiteral("Banca d'appoggio:"), txtBanca);
    add(QStringLiteral("IBAN:"), txtIban);
    g->setRowStretch(row, 1);
    g->setColumnStretch(0, 1);
    txtIban->setMinimumWidth(
        txtIban->fontMetrics().horizontalAdvance(QStringLiteral("IT00X0000000000000000000000")) + 16);
    return p;
}

QWidget* TfrmFatture::buildArticlePages()
{
    pages = new QStackedWidget(this);
    pages->setObjectName(QStringLiteral("pagesArticoli"));
    const QStringList letters = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                 QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F")};
    for (int page = 0; page < 6; ++page) {
        auto* box =
            new QGroupBox(QStringLiteral("Articoli %1 - %2").arg(page * 5 + 1).arg(page * 5 + 5), pages);
        box->setObjectName(QStringLiteral("grpPage") + two(page + 1));
        grpPage[size_t(page)] = box;
        auto* g = new QGridLayout(box);
        g->setContentsMargins(10, 14, 10, 8);
        g->setHorizontalSpacing(6);
        g->setVerticalSpacing(5);
        const QStringList headings = {QString(),
                                      QStringLiteral("Quant."),
                                      QStringLiteral("Codice articolo:"),
                                      QString(),
                                      QStringLiteral("Descrizione:"),
                                      QStringLiteral("Prezzo:"),
                                      QStringLiteral("% Sc."),
                                      QStringLiteral("Importo tot."),
                                      QStringLiteral("Es.")};
        for (int c = 0; c < headings.size(); ++c) {
            if (headings[c].isEmpty())
                continue;
            auto* h = caption(headings[c], box);
            setTone(h, "heading");
            if (c == 5 || c == 6 || c == 7)
                h->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            g->addWidget(h, 0, c);
        }
        for (int i = 0; i < 5; ++i) {
            const int row = page * 5 + i + 1;
            const size_t k = size_t(row - 1);
            const QString nn = two(row);
            auto* number = caption(QString::number(row) + u'.', box);
            number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            txtQuant[k] = edit(box, QStringLiteral("txtQuant") + nn, 6);
            txtCodice[k] = edit(box, QStringLiteral("txtCodice") + nn, 20);
            impMag[k] = smallButton(box, QStringLiteral("impMag") + nn, QStringLiteral("importa"),
                                    QStringLiteral("Importa articolo"));
            txtDesc[k] = edit(box, QStringLiteral("txtDesc") + nn, 55);
            txtPrezzo[k] = edit(box, QStringLiteral("txtPrezzo") + nn, 10);
            txtPercSconto[k] = edit(box, QStringLiteral("txtPercSconto") + nn, 6);
            txtImporto[k] = amountLabel(box, QStringLiteral("txtImporto") + nn);
            chkEs[k] = new QCheckBox(box);
            chkEs[k]->setObjectName(QStringLiteral("chkEs") + nn);
            for (QLineEdit* e : {txtQuant[k], txtPrezzo[k], txtPercSconto[k]})
                e->setAlignment(Qt::AlignRight);
            txtQuant[k]->setMaximumWidth(70);
            txtCodice[k]->setMaximumWidth(170);
            txtPrezzo[k]->setMaximumWidth(110);
            txtPercSconto[k]->setMaximumWidth(64);
            g->addWidget(number, i + 1, 0);
            g->addWidget(txtQuant[k], i + 1, 1);
            g->addWidget(txtCodice[k], i + 1, 2);
            g->addWidget(impMag[k], i + 1, 3);
            g->addWidget(txtDesc[k], i + 1, 4);
            g->addWidget(txtPrezzo[k], i + 1, 5);
            g->addWidget(txtPercSconto[k], i + 1, 6);
            g->addWidget(txtImporto[k], i + 1, 7);
            g->addWidget(chkEs[k], i + 1, 8, Qt::AlignCenter);
        }
        g->setColumnStretch(4, 1);
        g->setRowStretch(6, 1); // spare height goes below the rows, never between them
        auto* arrows = new QVBoxLayout;
        arrows->addStretch(1);
        if (page > 0) {
            auto* b = new PictureButton(QStringLiteral("imgIndietro_") + letters[page],
                                        QStringLiteral(":/icons/indietro.svg"),
                                        QStringLiteral("Articoli precedenti"), QSize(26, 26), box);
            imgIndietro[size_t(page)] = b;
            arrows->addWidget(b);
        }
        if (page < 5) {
            auto* b = new PictureButton(QStringLiteral("imgAvanti_") + letters[page],
                                        QStringLiteral(":/icons/avanti.svg"),
                                        QStringLiteral("Articoli successivi"), QSize(26, 26), box);
            imgAvanti[size_t(page)] = b;
            arrows->addWidget(b);
        }
        arrows->addStretch(1);
        g->addLayout(arrows, 1, 9, 5, 1);
        pages->addWidget(box);
    }
    return pages;
}

QWidget* TfrmFatture::buildTotals()
{
    QGroupBox* box = titledPanel(this, QStringLiteral("Totali"), QStringLiteral("panTotali"));
    txtTotImponibile = amountLabel(box, QStringLiteral("txtTotImponibile"));
    txtPercIva = edit(box, QStringLiteral("txtPercIva"), 10);
    txtPercIva->setAlignment(Qt::AlignRight);
    txtPercIva->setMaximumWidth(70);
    txtTotImposta = amountLabel(box, QStringLiteral("txtTotImposta"));
    txtTotIva = amountLabel(box, QStringLiteral("txtTotIva"));
    txtTotEsente = amountLabel(box, QStringLiteral("txtTotEsente"));
    txtTotFattura = amountLabel(box, QStringLiteral("txtTotFattura"), true);
    txtTotFattura->setFont(screenFont(QStringLiteral("Verdana"), 12, true));
    txtNote = edit(box, QStringLiteral("txtNote"), 250);
    cmdCalcola =
        new QPushButton(QIcon(QStringLiteral(":/icons/calcola.svg")), QStringLiteral("Calcola"), box);
    cmdCalcola->setObjectName(QStringLiteral("cmdCalcola"));
    chkSaldata = new QCheckBox(QStringLiteral("Saldata"), box);
    chkSaldata->setObjectName(QStringLiteral("chkSaldata"));
    chkSaldata->setFont(screenFont(QStringLiteral("Verdana"), 10, true));

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
    pair(QStringLiteral("Tot. imponibile:"), txtTotImponibile, 0);
    figures->addSpacing(10);
    figures->addWidget(caption(QStringLiteral("IVA:"), box));
    figures->addWidget(txtPercIva);
    figures->addWidget(caption(QStringLiteral("%"), box));
    pair(QStringLiteral("Tot. imposta:"), txtTotImposta, 10);
    pair(QStringLiteral("Tot. IVA inclusa:"), txtTotIva, 10);
    pair(QStringLiteral("Tot. esente:"), txtTotEsente, 10);
    figures->addStretch(1);
    g->addLayout(figures, 0, 0, 1, 6);
    auto* note = caption(QStringLiteral("NOTE:"), box);
    setTone(note, "heading");
    g->addWidget(note, 1, 0);
    g->addWidget(txtNote, 1, 1);
    g->addWidget(chkSaldata, 1, 2);
    auto* total = caption(QStringLiteral("TOTALE:"), box);
    total->setFont(screenFont(QStringLiteral("Verdana"), 12, true));
    g->addWidget(total, 1, 3, Qt::AlignRight);
    g->addWidget(txtTotFattura, 1, 4);
    g->addWidget(cmdCalcola, 1, 5);
    g->setColumnStretch(1, 1);
    g->setColumnMinimumWidth(3, 90);
    txtTotFattura->setMinimumWidth(120);
    return box;
}

// ---------------------------------------------------------------- keys, hints, commands

void TfrmFatture::setUpKeys()
{
    // Tab turns the pages of rows by itself, so their arrows are for the mouse. Set up before the
    // rows' own key rules, which thus see a Tab before the page turns with it.
    for (PictureButton* arrow : imgAvanti)
        if (arrow)
            arrow->setFocusPolicy(Qt::NoFocus);
    for (PictureButton* arrow : imgIndietro)
        if (arrow)
            arrow->setFocusPolicy(Qt::NoFocus);
    tabAcrossPages(pages);
    // Tab reaches "Calcola" right after the rate it works with; a click still leaves the focus
    // (and the field's text as typed) where it is.
    cmdCalcola->setFocusPolicy(Qt::TabFocus);
    setTabOrder(txtPercIva, cmdCalcola);
    setTabOrder(cmdCalcola, txtNote);
    setTabOrder(txtNote, chkSaldata);
    // Above the rows, Tab reads the panels as they are laid out: each field, then its buttons.
    const QList<QWidget*> header = {
        txtDitta,        btnCancDitta,  btnLogo,       txtViaDitta,       txtCapDitta,       txtCittaDitta,
        txtProvDitta,    txtIvaDitta,   btnIvaDitta,   txtCodFiscDitta,   btnCodFiscDitta,   txtLibero01,
        txtLibero02,     txtCliente,    impCliente,    txtViaCliente,     txtCapCliente,     txtCittaCliente,
        txtProvCliente,  txtIvaCliente, btnIvaCliente, txtCodFiscCliente, btnCodFiscCliente, txtRiferimenti,
        cmdDatiComputer, txtNumFatt,    txtData,       impOggi,           txtPagamento,      txtBanca,
        txtIban,         txtQuant[0]};
    for (qsizetype i = 1; i < header.size(); ++i)
        setTabOrder(header[i - 1], header[i]);

    makeProvinceField(txtProvDitta);
    makeProvinceField(txtProvCliente);
    for (QLineEdit* e : {txtCodFiscDitta, txtCodFiscCliente, txtIban})
        makeUpperCase(e);

    QList<QWidget*> highlighted = {
        txtDitta,        txtViaDitta,    txtCapDitta,   txtCittaDitta,     txtProvDitta,   txtIvaDitta,
        txtCodFiscDitta, txtLibero01,    txtLibero02,   txtCliente,        txtViaCliente,  txtCapCliente,
        txtCittaCliente, txtProvCliente, txtIvaCliente, txtCodFiscCliente, txtRiferimenti, txtNumFatt,
        txtData,         txtPagamento,   txtBanca,      txtIban,           txtNote,        txtPercIva};
    setEnterOrder({txtDitta,          txtViaDitta,     txtCapDitta,     txtCittaDitta,  txtProvDitta,
                   txtIvaDitta,       txtCodFiscDitta, txtLibero01,     txtLibero02,    txtCliente,
                   txtViaCliente,     txtCapCliente,   txtCittaCliente, txtProvCliente, txtIvaCliente,
                   txtCodFiscCliente, txtRiferimenti,  txtNumFatt,      txtData,        txtPagamento,
                   txtBanca,          txtIban,         txtNote});

    for (int row = 1; row <= 30; ++row) {
        const size_t k = size_t(row - 1);
        highlighted << txtQuant[k] << txtCodice[k] << txtDesc[k] << txtPrezzo[k] << txtPercSconto[k];
        setEnterOrder({txtQuant[k], txtCodice[k], txtDesc[k], txtPrezzo[k], txtPercSconto[k], chkEs[k]});
        // From the exempt box, Enter goes on to the next row, turning the page when it must.
        FieldRules::of(chkEs[k])->onEnter([this, row] {
            if (row == 30) {
                txtPercIva->setFocus();
                return;
            }
            if (row % 5 == 0)
                showPage(row / 5 + 1);
            txtQuant[size_t(row)]->setFocus();
        });
        auto emptyRow = [this, k](int) {
            txtImporto[k]->clear();
            for (QLabel* t : {txtTotImponibile, txtTotImposta, txtTotIva, txtTotEsente, txtTotFattura})
                t->clear();
        };
        for (QLineEdit* e : {txtQuant[k], txtPrezzo[k], txtPercSconto[k]})
            FieldRules::of(e)->filter(KeyFilter::Decimal).onKeyDown(emptyRow);
        FieldRules::of(txtQuant[k])->onLeave([e = txtQuant[k]] { e->setText(tidyQuantity(e->text())); });
        FieldRules::of(txtPrezzo[k])->onLeave([e = txtPrezzo[k]] { e->setText(tidyPrice(e->text())); });
        FieldRules::of(txtPercSconto[k])->onLeave([e = txtPercSconto[k]] {
            e->setText(tidyDiscount(e->text()));
        });
    }
    FieldRules::of(txtPercIva)
        ->filter(KeyFilter::Decimal)
        .enterMovesTo(txtNote)
        .onKeyDown([this](int) {
            for (QLabel* t : {txtTotImponibile, txtTotImposta, txtTotIva, txtTotEsente, txtTotFattura})
                t->clear();
        })
        .onLeave([this] { txtPercIva->setText(tidyVatRate(txtPercIva->text())); });
    addHighlights(highlighted);
}

void TfrmFatture::connectCommands()
{
    const QString invoices = QStringLiteral("fatture");
    const auto withYear = [this](QDialog& d) {
        setChildText(&d, QStringLiteral("lblAnno"), trimmed(lblAnno->text()));
    };
    const auto checkOf = [this](void (*open)(AppContext&, QWidget*, const QString&), QLineEdit* field) {
        return [this, open, field] { open(m_ctx, this, field->text()); };
    };
    m_commands = {
        ownCommand(cmdNuovo,
                   QStringLiteral("Predispone la schermata per l'emissione di una nuova fattura proforma."),
                   handler(this, &TfrmFatture::cmdNuovoClick)),
        ownCommand(cmdSalva, QStringLiteral("Salva o aggiorna la fattura proforma corrente."),
                   handler(this, &TfrmFatture::cmdSalvaClick)),
        ownCommand(cmdPrimo, QStringLiteral("Visualizza la prima fattura proforma in archivio."),
                   handler(this, &TfrmFatture::cmdPrimoClick)),
        ownCommand(cmdIndietro, QStringLiteral("Visualizza la fattura proforma precedente in archivio."),
                   handler(this, &TfrmFatture::cmdIndietroClick)),
        ownCommand(cmdAvanti, QStringLiteral("Visualizza la fattura proforma successiva in archivio."),
                   handler(this, &TfrmFatture::cmdAvantiClick)),
        ownCommand(cmdUltimo, QStringLiteral("Visualizza l'ultima fattura proforma in archivio."),
                   handler(this, &TfrmFatture::cmdUltimoClick)),
        windowCommand(cmdTrova, QStringLiteral("Trova una fattura proforma in archivio."),
                      QStringLiteral("frmTrovaFatture"), invoices),
        windowCommand(cmdSospese,
                      QStringLiteral("Visualizza il riepilogo delle fatture proforma non saldate."),
                      QStringLiteral("frmSospese")),
        windowCommand(cmdStampa, QStringLiteral("Stampa la fattura proforma corrente."),
                      QStringLiteral("frmStampaFat")),
        windowCommand(cmdAnteprima,
                      QStringLiteral("Visualizza l'anteprima di stampa della fattura proforma corrente."),
                      QStringLiteral("frmAnteprimaFat")),
        windowCommand(cmdPDF, QStringLiteral("Esporta la fattura proforma corrente in formato PDF."),
                      QStringLiteral("frmCrea_PDF_Fat")),
        ownCommand(cmdFatturaElettronica,
                   QStringLiteral("Crea la fattura elettronica (XML FatturaPA) dalla fattura corrente."),
                   handler(this, &TfrmFatture::cmdFatturaElettronicaClick),
                   QStringLiteral("frmFatturaElettronica")),
        windowCommand(
            cmdEsporta,
            QStringLiteral("Esporta le fatture proforma in archivio in un file di Microsoft Excel."),
            QStringLiteral("frmExpFatture")),
        windowCommand(cmdRiepMensile,
                      QStringLiteral("Visualizza il riepilogo mensile delle fatture proforma emesse."),
                      QStringLiteral("frmRiepMensile"), {}, withYear),
        windowCommand(cmdRiepTrimestrale,
                      QStringLiteral("Visualizza il riepilogo trimestrale delle fatture proforma emesse."),
                      QStringLiteral("frmRiepTrimestrale"), {}, withYear),
        windowCommand(cmdRiepAnnuale,
                      QStringLiteral("Visualizza il riepilogo annuale delle fatture proforma emesse."),
                      QStringLiteral("frmRiepAnnuale")),
        windowCommand(
            cmdNumerazione,
            QStringLiteral("Imposta il numero iniziale per la numerazione delle fatture proforma."),
            QStringLiteral("frmNumerazioneFat"), invoices,
            [](QDialog& d) { d.setWindowTitle(QStringLiteral(" Impostazione inizio numerazione fatture")); }),
        ownCommand(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."),
                   [this] { showHelp(m_ctx, this, HelpTexts::invoicesTitle(), HelpTexts::invoices()); }),
        ownCommand(cmdEsci, QStringLiteral("Esci da questa schermata di lavoro."), [this] { close(); }),
        ownCommand(cmdCalcola, QStringLiteral("Effettua il calcolo dei totali."),
                   handler(this, &TfrmFatture::cmdCalcolaClick)),
        windowCommand(cmdDatiComputer,
                      QStringLiteral("Apri la finestra per l'inserimento dei dati del trasporto."),
                      QStringLiteral("frmDatiFattura"), invoices),
        ownCommand(btnCancDitta, QStringLiteral("Cancella i dati della Ditta emittente."),
                   handler(this, &TfrmFatture::btnCancDittaClick)),
        windowCommand(btnLogo, QStringLiteral("Carica il logo della Ditta emittente."),
                      QStringLiteral("frmLogo")),
        ownCommand(btnCodFiscDitta, QStringLiteral("Controlla il codice fiscale."),
                   checkOf(&openTaxCodeCheck, txtCodFiscDitta)),
        ownCommand(btnCodFiscCliente, QStringLiteral("Controlla il codice fiscale."),
                   checkOf(&openTaxCodeCheck, txtCodFiscCliente)),
        ownCommand(btnIvaDitta, QStringLiteral("Controlla il numero di partita IVA."),
                   checkOf(&openVatNumberCheck, txtIvaDitta)),
        ownCommand(btnIvaCliente, QStringLiteral("Controlla il numero di partita IVA."),
                   checkOf(&openVatNumberCheck, txtIvaCliente)),
        windowCommand(impCliente, QStringLiteral("Importa i dati del cliente dall'archivio anagrafico."),
                      QStringLiteral("frmTrovaClienti"), invoices),
        ownCommand(impOggi, QStringLiteral("Inserisci la data corrente."),
                   [this] { txtData->setText(formatDate(m_ctx.services().now().date())); }),
        ownCommand(chkSaldata, QStringLiteral("Contrassegna come fattura saldata."), {}),
    };
    for (int row = 1; row <= 30; ++row) {
        // The row's quantity goes along, so that the article comes back with it, and a code
        // already typed in the row starts the search instead of being typed again.
        const auto withQuantity = [this, row](QDialog& d) {
            const QString quantity = trimmed(txtQuant[size_t(row - 1)]->text());
            if (!quantity.isEmpty())
                setChildText(&d, QStringLiteral("txtQuant"), quantity);
            const QString code = trimmed(txtCodice[size_t(row - 1)]->text());
            if (!code.isEmpty())
                setChildText(&d, QStringLiteral("txtCodice"), code);
        };
        m_commands.push_back(windowCommand(
            impMag[size_t(row - 1)], QStringLiteral("Importa i dati dell'articolo dal magazzino."),
            QStringLiteral("frmImportaMagazzino"), QStringLiteral("fat_art_") + two(row), withQuantity));
        m_commands.push_back(ownCommand(chkEs[size_t(row - 1)],
                                        QStringLiteral("Contrassegna come articolo esente da IVA."), {}));
    }
    for (size_t p = 0; p < 6; ++p) {
        if (imgAvanti[p])
            m_commands.push_back(ownCommand(imgAvanti[p],
                                            QStringLiteral("Visualizza i prossimi cinque articoli."),
                                            [this, p] { showPage(int(p) + 2); }));
        if (imgIndietro[p])
            m_commands.push_back(ownCommand(imgIndietro[p],
                                            QStringLiteral("Visualizza i cinque articoli precedenti."),
                                            [this, p] { showPage(int(p)); }));
    }
    wireCommands(m_ctx, this, panInfo, m_commands);

    // The bare background, the panels and the pages empty the line.
    panInfo->clearOver(this);
    for (QWidget* area : {static_cast<QWidget*>(panDitta), static_cast<QWidget*>(panCliente),
                          static_cast<QWidget*>(panNumFattura)})
        panInfo->clearOver(area);
    for (QGroupBox* page : grpPage)
        panInfo->clearOver(page);
}

void TfrmFatture::updateAvailableCommands()
{
    // Commands whose windows this build does not have stay visible but cannot be pressed.
    enableCommands(m_ctx, m_commands);
}

// ---------------------------------------------------------------- pages

void TfrmFatture::showPage(int page)
{
    page = qBound(1, page, 6);
    pages->setCurrentIndex(page - 1);
    txtQuant[size_t((page - 1) * 5)]->setFocus();
}

int TfrmFatture::currentPage() const
{
    return pages->currentIndex() + 1;
}

// ---------------------------------------------------------------- screen <-> record

InvoiceCard::CardTexts TfrmFatture::cardTexts() const
{
    InvoiceCard::CardTexts texts;
    for (size_t i = 0; i < m_fieldControls.size(); ++i) {
        QWidget* w = m_fieldControls[i];
        if (auto* b = qobject_cast<QCheckBox*>(w))
            texts[i] = InvoiceCard::flagText(b->isChecked());
        else
            texts[i] = controlText(w);
    }
    return texts;
}

void TfrmFatture::showTexts(const InvoiceCard::CardTexts& texts)
{
    for (size_t i = 0; i < m_fieldControls.size(); ++i) {
        QWidget* w = m_fieldControls[i];
        if (auto* b = qobject_cast<QCheckBox*>(w)) {
            if (const std::optional<bool> ticked = CardArchive::flagState(texts[i]))
                b->setChecked(*ticked);
        } else {
            setControlText(w, texts[i]);
        }
    }
}

void TfrmFatture::fillRecord(Record& invoice) const
{
    invoice = InvoiceCard::toRecord(cardTexts());
}

void TfrmFatture::showRecord(const Record& invoice)
{
    showTexts(InvoiceCard::fromRecord(invoice));
    markUnchanged();
}

void TfrmFatture::markUnchanged()
{
    m_changes.reset(cardTexts());
}

bool TfrmFatture::confirmLeavingCard()
{
    return mayLeaveCard(m_ctx.services(), this, m_changes.changed(cardTexts()),
                        [this] { return saveCard(); });
}

QHash<QString, QString> TfrmFatture::printTexts() const
{
    QHash<QString, QString> texts;
    const InvoiceCard::CardTexts shown = cardTexts();
    const RecordLayout& layout = InvoiceRecord::layout();
    for (size_t i = 0; i < shown.size(); ++i)
        if (!InvoiceCard::isFlag(int(i)))
            texts.insert(layout.fields[i].name(), trimmed(shown[i]));
    return texts;
}

InvoiceFigures TfrmFatture::figures() const
{
    InvoiceFigures f;
    for (int row = 1; row <= 30; ++row) {
        const size_t k = size_t(row - 1);
        f.row(row) = {txtQuant[k]->text(), txtPrezzo[k]->text(), txtPercSconto[k]->text(),
                      txtImporto[k]->text(), chkEs[k]->isChecked()};
    }
    f.vatRate = txtPercIva->text();
    f.taxableTotal = txtTotImponibile->text();
    f.vatAmount = txtTotImposta->text();
    f.totalWithVat = txtTotIva->text();
    f.exemptTotal = txtTotEsente->text();
    f.invoiceTotal = txtTotFattura->text();
    return f;
}

void TfrmFatture::setFigures(const InvoiceFigures& f)
{
    for (int row = 1; row <= 30; ++row) {
        const size_t k = size_t(row - 1);
        setControlText(txtQuant[k], f.row(row).quantity);
        setControlText(txtPrezzo[k], f.row(row).price);
        setControlText(txtPercSconto[k], f.row(row).discount);
        setControlText(txtImporto[k], f.row(row).amount);
    }
    setControlText(txtPercIva, f.vatRate);
    setControlText(txtTotImponibile, f.taxableTotal);
    setControlText(txtTotImposta, f.vatAmount);
    setControlText(txtTotIva, f.totalWithVat);
    setControlText(txtTotEsente, f.exemptTotal);
    setControlText(txtTotFattura, f.invoiceTotal);
}

// ---------------------------------------------------------------- showing, clearing, closing

void TfrmFatture::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // the window coming back from the task bar is not the menu opening it
    updateAvailableCommands();
    loadCompanyDefaults();
    clearInvoice();
}

void TfrmFatture::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitCommandStrip();
}

void TfrmFatture::fitCommandStrip()
{
    // Fullest first: every name; the card arrows as arrows alone (their pictures say it all);
    // pictures alone, the names in the hints. A name is shown whole or not at all.
    const auto arrow = [this](const PictureButton* b) {
        return b == cmdPrimo || b == cmdIndietro || b == cmdAvanti || b == cmdUltimo;
    };
    const auto named = [&](const PictureButton* b, int level) {
        return level == 0 || (level == 1 && !arrow(b));
    };
    const auto widthOf = [](const PictureButton* b, bool withName) {
        const int picture = b->iconSize().width();
        return (withName ? std::max(picture, b->fontMetrics().horizontalAdvance(b->text())) : picture) + 8;
    };
    int buttons = 0;
    for (const PictureButton* b : m_stripButtons)
        buttons += b->minimumWidth();
    const QMargins margins = layout()->contentsMargins();
    const int others = m_strip->minimumSize().width() - buttons + margins.left() + margins.right();
    int level = 0;
    for (; level < 2; ++level) {
        int needed = others;
        for (const PictureButton* b : m_stripButtons)
            needed += widthOf(b, named(b, level));
        if (needed <= width())
            break;
    }
    for (PictureButton* b : m_stripButtons) {
        const bool withName = named(b, level);
        b->setToolButtonStyle(withName ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
        b->setFixedWidth(widthOf(b, withName));
    }
}

void TfrmFatture::loadCompanyDefaults()
{
    const CompanyData c = readCompanyData(numberingIniPath(m_ctx.folder()));
    setControlText(txtDitta, c.name);
    setControlText(txtViaDitta, c.street);
    setControlText(txtCapDitta, c.postcode);
    setControlText(txtCittaDitta, c.town);
    txtProvDitta->setEditText(c.province);
    setControlText(txtIvaDitta, c.vatNumber);
    setControlText(txtCodFiscDitta, c.taxCode);
    setControlText(txtLibero01, c.free1);
    setControlText(txtLibero02, c.free2);
    setControlText(txtPagamento, c.payment);
    setControlText(txtBanca, c.bank);
    setControlText(txtIban, c.iban);
    setControlText(txtPercIva, c.vatRate);
}

void TfrmFatture::clearInvoice()
{
    for (QLineEdit* e : {txtNumFatt, txtData, txtCliente, txtViaCliente, txtCapCliente, txtCittaCliente,
                         txtIvaCliente, txtCodFiscCliente, txtRiferimenti, txtNote})
        e->clear();
    txtProvCliente->setEditText(QString());
    for (QLabel* l : {memVeicolo, memMarca, memColore, memImmatricolazione, memAlimentazione, memTarga,
                      txtTotImponibile, txtTotImposta, txtTotIva, txtTotEsente, txtTotFattura, lblPosizione})
        l->clear();
    for (size_t k = 0; k < 30; ++k) {
        for (QLineEdit* e : {txtQuant[k], txtCodice[k], txtDesc[k], txtPrezzo[k], txtPercSconto[k]})
            e->clear();
        txtImporto[k]->clear();
        chkEs[k]->setChecked(false);
    }
    chkSaldata->setChecked(false);
    showPage(1);
    for (QComboBox* c : {txtProvDitta, txtProvCliente}) {
        const QString text = c->currentText();
        c->setCurrentIndex(-1);
        c->setEditText(text);
    }
    txtCliente->setFocus();
    markUnchanged();
}

void TfrmFatture::closeEvent(QCloseEvent* event)
{
    if (!confirmLeavingCard()) {
        event->ignore();
        return;
    }
    event->accept();
    const CompanyData c{txtDitta->text(),
                        txtViaDitta->text(),
                        txtCapDitta->text(),
                        txtCittaDitta->text(),
                        txtProvDitta->currentText(),
                        txtIvaDitta->text(),
                        txtCodFiscDitta->text(),
                        txtLibero01->text(),
                        txtLibero02->text(),
                        txtPagamento->text(),
                        txtBanca->text(),
                        txtIban->text(),
                        txtPercIva->text()};
    if (!writeCompanyData(numberingIniPath(m_ctx.folder()), c))
        m_ctx.services().message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: non è stato possibile salvare i dati della Ditta "
                           "emittente nel file Numerazione.ini.\n\r\n\rAccertarsi di "
                           "possedere i privilegi di scrittura nella cartella di "
                           "installazione del programma."));
    AppContext::showScreen(m_ctx.window(u"frmAvvio"));
}

// ---------------------------------------------------------------- commands

void TfrmFatture::cmdCalcolaClick()
{
    InvoiceFigures f = figures();
    calculateInvoice(f);
    setFigures(f);
}

void TfrmFatture::cmdFatturaElettronicaClick()
{
    // The figures the document agrees with are the ones Calcola shows, as for Save.
    cmdCalcolaClick();
    const std::unique_ptr<QDialog> dialog = m_ctx.createDialog(u"frmFatturaElettronica", this);
    if (!dialog)
        return;
    static_cast<TfrmFatturaElettronica&>(*dialog).setInvoice(cardTexts());
    m_ctx.services().runModal(*dialog);
}

void TfrmFatture::btnCancDittaClick()
{
    for (QLineEdit* e : {txtDitta, txtViaDitta, txtCapDitta, txtCittaDitta, txtIvaDitta, txtCodFiscDitta,
                         txtLibero01, txtLibero02})
        e->clear();
    txtProvDitta->setEditText(QString());
    txtDitta->setFocus();
}

void TfrmFatture::accessFailure(MessageKind kind)
{
    m_ctx.services().message(this, kind, archiveAccessMessage());
}

void TfrmFatture::cmdNuovoClick()
{
    if (!confirmLeavingCard())
        return;
    const InvoiceNumberProposal proposal = proposeInvoiceNumber(
        numberingIniPath(m_ctx.folder()), lblFile->text(), m_ctx.services().now().date().year());
    if (proposal.outcome == InvoiceNumberProposal::Outcome::ArchiveFailed) {
        accessFailure(MessageKind::Error);
        return;
    }
    lblInizio->setText(proposal.settings.start);
    lblSolare->setText(proposal.settings.yearSetting);
    clearInvoice();
    if (proposal.outcome == InvoiceNumberProposal::Outcome::StartNotWhole) {
        accessFailure(MessageKind::Error);
        return;
    }
    txtNumFatt->setText(proposal.number);
    txtData->setText(formatDate(m_ctx.services().now().date()));
    txtCliente->setFocus();
    // The proposed number and today's date are the program's, not changes of the user.
    markUnchanged();
}

void TfrmFatture::cmdSalvaClick()
{
    saveCard();
}

bool TfrmFatture::saveCard()
{
    cmdCalcolaClick();
    const InvoiceCard::CardTexts texts = cardTexts();
    if (const std::optional<InvoiceCard::Refusal> refused = InvoiceCard::check(texts)) {
        m_ctx.services().message(this, MessageKind::Warning, refused->message);
        m_fieldControls[size_t(refused->field)]->setFocus();
        return false;
    }
    const QString& number = texts[InvoiceRecord::NumFatt];
    const std::optional<bool> taken =
        InvoiceCard::numberTaken(lblFile->text(), number, CardArchive::positionOf(lblPosizione->text()));
    if (!taken) {
        accessFailure(MessageKind::Warning);
        return false;
    }
    if (*taken && m_ctx.services().message(this, MessageKind::ConfirmationDefaultNo,
                                           InvoiceCard::duplicateNumberQuestion(number)) != Answer::Yes) {
        txtNumFatt->setFocus();
        return false;
    }
    const CardArchive::Saved saved = CardArchive::save(
        lblFile->text(), InvoiceRecord::Size, InvoiceCard::toRecord(texts).bytes(), lblPosizione->text());
    if (!saved.ok) {
        accessFailure(MessageKind::Warning);
        return false;
    }
    lblPosizione->setText(QString::number(saved.position));
    m_ctx.services().message(this, MessageKind::Information, saved.message());
    markUnchanged();
    return true;
}

void TfrmFatture::move(CardArchive::Arrow arrow)
{
    const QString from = lblPosizione->text();
    CardArchive::Step step = CardArchive::step(lblFile->text(), InvoiceRecord::Size, arrow, from);
    // Only an arrow that would show another invoice asks; the way is worked out from where the
    // screen was, and read again after a save, which may have written the very invoice to show.
    if (step.shown && m_changes.changed(cardTexts())) {
        if (!confirmLeavingCard())
            return;
        step = CardArchive::step(lblFile->text(), InvoiceRecord::Size, arrow, from);
    }
    if (step.failed) {
        accessFailure(InvoiceCard::accessFailureIsWarning(arrow) ? MessageKind::Warning : MessageKind::Error);
        return;
    }
    if (step.clearPosition)
        lblPosizione->clear();
    if (step.archiveEmpty)
        m_ctx.services().message(this, MessageKind::Information, CardArchive::Messages::archiveEmpty());
    if (step.shown) {
        // The visible page of rows stays as it is.
        showRecord(Record(InvoiceRecord::layout(), step.record));
        lblPosizione->setText(QString::number(*step.shown));
    }
}

} // namespace tarvello

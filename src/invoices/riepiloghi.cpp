#include "riepiloghi.h"

#include "archive/archivefile.h"
#include "core/text.h"
#include "fatture.h"
#include "listwindows.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/guida.h"
#include "shell/longwork.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tarvello
{

namespace W = InvoiceListWindows;
using InvoiceSummary::Period;

namespace
{

QString captionOf(Period period)
{
    switch (period) {
    case Period::Month:
        return QStringLiteral(" Tarvello - Riepilogo mensile fatture proforma emesse");
    case Period::Quarter:
        return QStringLiteral(" Tarvello - Riepilogo trimestrale fatture proforma emesse");
    case Period::Year:
        break;
    }
    return QStringLiteral(" Tarvello - Riepilogo annuale fatture proforma emesse");
}

QString objectNameOf(Period period)
{
    switch (period) {
    case Period::Month:
        return QStringLiteral("frmRiepMensile");
    case Period::Quarter:
        return QStringLiteral("frmRiepTrimestrale");
    case Period::Year:
        break;
    }
    return QStringLiteral("frmRiepAnnuale");
}

QString helpText()
{
    return QStringLiteral(
        "I pulsanti M, T e A della schermata di emissione delle fatture proforma visualizzano "
        "rispettivamente il riepilogo mensile, trimestrale e annuale delle fatture emesse.\r\n\r\n"
        "Dopo aver scelto un mese o un trimestre dell'archivio annuale aperto (per l'intero anno non "
        "c'è nulla da scegliere), il pulsante Visualizza elenca tutti i documenti del periodo e, in "
        "calce, i totali dell'imponibile, dell'IVA, delle operazioni esenti e la somma incassata o "
        "spesa IVA inclusa.\r\n\r\n"
        "Il pulsante Trova cerca una fattura nell'elenco, ad esempio per nome del cliente; premendolo "
        "di nuovo si passa alla fattura successiva dello stesso cliente.\r\n\r\n"
        "Il pulsante Stampa riepilogo stampa il riepilogo visualizzato.");
}

QLabel* totalCaption(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    setTypeface(l, "plainBold");
    setTone(l, "totalCaption");
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLabel* totalValue(const QString& name, QWidget* parent)
{
    auto* l = new QLabel(QStringLiteral("0,00"), parent);
    l->setObjectName(name);
    setTypeface(l, "figures");
    setTone(l, "totalValue");
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(170);
    return l;
}

} // namespace

TfrmRiepilogo::TfrmRiepilogo(AppContext& ctx, QWidget* owner, Period period)
    : QDialog(owner), m_ctx(ctx), m_period(period)
{
    nameWindow(this, objectNameOf(period), captionOf(period));
    makeDialogFrame(this);
    W::styleDialog(this);

    m_panels = new QStackedWidget(this);
    if (period != Period::Year) {
        panSelezione = buildSelection();
        m_panels->addWidget(panSelezione);
    }
    panContainer = buildSummary();
    m_panels->addWidget(panContainer);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QString icon = period == Period::Month     ? QStringLiteral(":/icons/riepmensile.svg")
                         : period == Period::Quarter ? QStringLiteral(":/icons/rieptrimestrale.svg")
                                                     : QStringLiteral(":/icons/riepannuale.svg");
    layout->addWidget(W::titleBand(icon, trimmed(captionOf(period)).mid(11), this));
    layout->addWidget(m_panels, 1);
    W::keepTotalsInView(this, lstRecords, QSize(1016, 713));
    // Enter in the find field has no meaning of its own here: no button may take it as a default.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);
}

QWidget* TfrmRiepilogo::buildSelection()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panSelezione"));
    lblAnno = new QLabel(QStringLiteral("ANNO"), page);
    lblAnno->setObjectName(QStringLiteral("lblAnno"));
    setTypeface(lblAnno, "year");
    lblAnno->setAlignment(Qt::AlignCenter);
    cboSelezione = new QComboBox(page);
    cboSelezione->setObjectName(QStringLiteral("cboSelezione"));
    cboSelezione->addItems(InvoiceSummary::choices(m_period));
    cboSelezione->setCurrentIndex(0);
    setTypeface(cboSelezione, "largeBold");
    cboSelezione->setMinimumWidth(420);
    auto* instruction =
        new QLabel(m_period == Period::Month
                       ? QStringLiteral("Selezionare un mese dell'anno e premere Visualizza.")
                       : QStringLiteral("Selezionare un trimestre dell'anno e premere Visualizza."),
                   page);
    setTypeface(instruction, "medium");
    instruction->setAlignment(Qt::AlignCenter);
    btnVisualizza = W::button(QStringLiteral("btnVisualizza"), QStringLiteral("Visualizza"),
                              QStringLiteral(":/icons/trova.svg"), page);
    icoGuida = new PictureButton(QStringLiteral("icoGuida"), QStringLiteral(":/icons/guida.svg"),
                                 QStringLiteral("Guida"), QSize(32, 32), page);
    icoEsci = new PictureButton(QStringLiteral("icoEsci"), QStringLiteral(":/icons/esci.svg"),
                                QStringLiteral("Esci"), QSize(32, 32), page);

    auto* centre = new QVBoxLayout;
    centre->setSpacing(18);
    centre->addWidget(lblAnno, 0, Qt::AlignHCenter);
    centre->addWidget(instruction, 0, Qt::AlignHCenter);
    centre->addWidget(cboSelezione, 0, Qt::AlignHCenter);
    centre->addWidget(btnVisualizza, 0, Qt::AlignHCenter);
    auto* icons = new QHBoxLayout;
    icons->addStretch(1);
    icons->addWidget(icoGuida);
    icons->addWidget(icoEsci);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addStretch(1);
    layout->addLayout(centre);
    layout->addStretch(2);
    layout->addLayout(icons);

    connect(btnVisualizza, &QPushButton::clicked, this, &TfrmRiepilogo::btnVisualizzaClick);
    connect(icoGuida, &QToolButton::clicked, this, &TfrmRiepilogo::showGuide);
    connect(icoEsci, &QToolButton::clicked, this, &QDialog::reject);
    return page;
}

QWidget* TfrmRiepilogo::buildSummary()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panContainer"));
    lblTipologia = new QLabel(QStringLiteral("Tipologia riepilogo:"), page);
    lblTipologia->setObjectName(QStringLiteral("lblTipologia"));
    setTypeface(lblTipologia, "sign");
    titTipologia = new QLabel(InvoiceSummary::designHeading(m_period), page);
    titTipologia->setObjectName(QStringLiteral("titTipologia"));
    setTypeface(titTipologia, "sign");

    txtTrova = new QLineEdit(page);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    btnTrova = W::button(QStringLiteral("btnTrova"), QStringLiteral("Trova"),
                         QStringLiteral(":/icons/trova.svg"), page);
    lstRecords = new ResultList(m_ctx, page);
    lstRecords->setOrder(ResultList::Order::AsAdded);
    lstRecords->setItemWidth(1400);
    lstRecords->setEmptyListMessageKind(MessageKind::Information);

    panInfo = new QLabel(InvoiceSummary::initialCountText(), page);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    setTypeface(panInfo, "status");

    infTotImponibile = totalCaption(QStringLiteral("infTotImponibile"), QStringLiteral("Imponibile:"), page);
    infTotImposta = totalCaption(QStringLiteral("infTotImposta"), QStringLiteral("Imposta:"), page);
    infTotEsente = totalCaption(QStringLiteral("infTotEsente"), QStringLiteral("Esente:"), page);
    infTotale = totalCaption(QStringLiteral("infTotale"), QStringLiteral("TOTALE:"), page);
    lblTotImponibile = totalValue(QStringLiteral("lblTotImponibile"), page);
    lblTotImposta = totalValue(QStringLiteral("lblTotImposta"), page);
    lblTotEsente = totalValue(QStringLiteral("lblTotEsente"), page);
    lblTotale = totalValue(QStringLiteral("lblTotale"), page);

    btnStampa = W::button(QStringLiteral("btnStampa"), QStringLiteral("Stampa riepilogo"),
                          QStringLiteral(":/icons/stampa.svg"), page);
    btnEsci = W::button(QStringLiteral("btnEsci"), QStringLiteral("Esci"), QStringLiteral(":/icons/esci.svg"),
                        page);
    imgGuida = new PictureButton(QStringLiteral("imgGuida"), QStringLiteral(":/icons/guida.svg"),
                                 QStringLiteral("Guida"), QSize(28, 28), page);

    auto* headingRow = new QHBoxLayout;
    headingRow->setSpacing(8);
    headingRow->addWidget(lblTipologia);
    headingRow->addWidget(titTipologia, 1);
    headingRow->addWidget(imgGuida);

    auto* totals = new QGridLayout;
    totals->setHorizontalSpacing(10);
    totals->setVerticalSpacing(6);
    totals->addWidget(infTotImponibile, 0, 0);
    totals->addWidget(lblTotImponibile, 0, 1);
    totals->addWidget(infTotImposta, 0, 2);
    totals->addWidget(lblTotImposta, 0, 3);
    totals->addWidget(infTotEsente, 1, 0);
    totals->addWidget(lblTotEsente, 1, 1);
    totals->addWidget(infTotale, 1, 2);
    totals->addWidget(lblTotale, 1, 3);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(btnStampa);
    buttons->addWidget(btnEsci);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(totals);
    bottom->addStretch(1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(18, 10, 18, 10);
    layout->setSpacing(8);
    layout->addLayout(headingRow);
    layout->addLayout(W::findRow(txtTrova, btnTrova, page));
    layout->addWidget(lstRecords, 1);
    layout->addLayout(bottom);
    layout->addWidget(panInfo);

    setTabOrder(txtTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnEsci);
    setTabOrder(btnEsci, btnTrova);

    connect(btnTrova, &QPushButton::clicked, this, &TfrmRiepilogo::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmRiepilogo::btnStampaClick);
    connect(btnEsci, &QPushButton::clicked, this, &QDialog::reject);
    connect(imgGuida, &QToolButton::clicked, this, &TfrmRiepilogo::showGuide);
    return page;
}

void TfrmRiepilogo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (m_period == Period::Year)
        btnVisualizzaClick();
    else
        cboSelezione->setFocus();
}

QString TfrmRiepilogo::year() const
{
    if (lblAnno)
        return trimmed(lblAnno->text());
    const TfrmFatture* screen = W::invoiceScreen(m_ctx, parentWidget());
    return screen ? screen->year() : QString();
}

void TfrmRiepilogo::btnVisualizzaClick()
{
    const QString choice = cboSelezione ? cboSelezione->currentText() : QString();
    InvoiceSummary::Summary s;
    // A summary the user stops changes nothing: the list and its totals stay as they were.
    if (!runLongOver(this, QStringLiteral("Riepilogo in corso..."), [&](Progress& progress) {
            s = InvoiceSummary::summarise(W::invoiceFile(m_ctx, parentWidget()), m_period, choice, year(),
                                          &progress);
        }))
        return;
    lstRecords->forgetFind();
    txtTrova->clear();
    for (QLabel* l : {lblTotImponibile, lblTotImposta, lblTotEsente, lblTotale})
        l->setText(QStringLiteral("0,00"));
    if (!s.complete) {
        // Never a part of the period shown as if it were the whole of it.
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
        return;
    }
    if (s.anyDated)
        titTipologia->setText(InvoiceSummary::heading(m_period, trimmed(choice), year()));
    const qsizetype count = qsizetype(s.lines.size());
    lstRecords->setLines(std::move(s.lines));
    lstRecords->setItemWidth(1400);
    lstRecords->selectFirst();
    lblTotImponibile->setText(InvoiceSummary::totalText(s.totals.taxable));
    lblTotImposta->setText(InvoiceSummary::totalText(s.totals.tax));
    lblTotEsente->setText(InvoiceSummary::totalText(s.totals.exempt));
    lblTotale->setText(InvoiceSummary::totalText(s.totals.total));
    panInfo->setText(InvoiceSummary::countText(count));
    m_panels->setCurrentWidget(panContainer);
    txtTrova->setFocus();
    if (!s.unreadable.isEmpty())
        m_ctx.services().message(this, MessageKind::Warning, InvoiceSummary::unreadableMessage(s.unreadable));
}

void TfrmRiepilogo::btnTrovaClick()
{
    lstRecords->find(txtTrova->text());
}

void TfrmRiepilogo::btnStampaClick()
{
    lstRecords->print(InvoiceSummary::printTitle(titTipologia->text()),
                      InvoiceSummary::trailer(lblTotImponibile->text(), lblTotImposta->text(),
                                              lblTotEsente->text(), lblTotale->text()));
}

void TfrmRiepilogo::showGuide()
{
    showHelp(m_ctx, this, QStringLiteral("Riepiloghi fatture proforma emesse."), helpText());
}

void TfrmRiepilogo::done(int result)
{
    lstRecords->clear();
    QDialog::done(result);
}

TfrmRiepMensile::TfrmRiepMensile(AppContext& ctx, QWidget* owner) : TfrmRiepilogo(ctx, owner, Period::Month)
{
}
TfrmRiepTrimestrale::TfrmRiepTrimestrale(AppContext& ctx, QWidget* owner)
    : TfrmRiepilogo(ctx, owner, Period::Quarter)
{
}
TfrmRiepAnnuale::TfrmRiepAnnuale(AppContext& ctx, QWidget* owner) : TfrmRiepilogo(ctx, owner, Period::Year) {}

} // namespace tarvello

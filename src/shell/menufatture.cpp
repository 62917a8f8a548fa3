#include "appcontext.h"
#include "conventions.h"
#include "core/text.h"
#include "guida.h"
#include "helptexts.h"
#include "keyboard.h"
#include "services.h"
#include "shellwindows.h"
#include "style.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvello
{

namespace
{

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    setTypeface(l, "title");
    setTone(l, "title");
    return l;
}

} // namespace

TfrmMenuFatture::TfrmMenuFatture(AppContext& ctx) : m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmMenuFatture"),
               QStringLiteral(" Tarvello - Emissione fatture proforma"));
    setAttribute(Qt::WA_StyledBackground);

    auto* title = new QLabel(this);
    title->setObjectName(QStringLiteral("imgTitolo"));
    title->setPixmap(QIcon(QStringLiteral(":/title.svg")).pixmap(420, 90));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panel"));
    auto* picture = new QLabel(panel);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/fatture.svg")).pixmap(112, 112));

    auto* lblAnno = new QLabel(QStringLiteral("Anno:"), panel);
    setTypeface(lblAnno, "large");
    txtAnnoFatture = new QLineEdit(panel);
    txtAnnoFatture->setObjectName(QStringLiteral("txtAnnoFatture"));
    setTypeface(txtAnnoFatture, "entry");
    txtAnnoFatture->setMaxLength(4);
    txtAnnoFatture->setFixedWidth(104);
    txtAnnoFatture->setAlignment(Qt::AlignCenter);
    btnApriFatture = new QPushButton(QStringLiteral("Apri"), panel);
    btnApriFatture->setObjectName(QStringLiteral("btnApriFatture"));
    btnApriRiepStats = new QPushButton(QStringLiteral("Apri"), panel);
    btnApriRiepStats->setObjectName(QStringLiteral("btnApriRiepStats"));
    for (QPushButton* b : {btnApriFatture, btnApriRiepStats})
        b->setMinimumWidth(110);

    auto* info =
        new QLabel(QStringLiteral("In questo ambiente è possibile emettere fatture proforma per i propri "
                                  "clienti e visualizzare grafici statistici degli incassi mensili."),
                   panel);
    info->setWordWrap(true);
    setTypeface(info, "plain");
    setTone(info, "note");

    imgEmail = new PictureButton(QStringLiteral("imgEmail"), QStringLiteral(":/icons/logoditta.svg"),
                                 QStringLiteral("Imposta logo Ditta"), QSize(28, 28), panel);
    lnkWeb = new LinkLabel(QStringLiteral("Imposta logo Ditta"), panel);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    imgGuida = new PictureButton(QStringLiteral("imgGuida"), QStringLiteral(":/icons/guida.svg"),
                                 QStringLiteral("Guida"), QSize(40, 40), this);
    imgEsci = new PictureButton(QStringLiteral("imgEsci"), QStringLiteral(":/icons/esci.svg"),
                                QStringLiteral("Esci"), QSize(40, 40), this);
    for (PictureButton* b : {imgGuida, imgEsci}) {
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        setTypeface(b, "small");
    }
    lblMemory = new QLabel(QStringLiteral("avvio"), this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(10);
    grid->addWidget(heading(QStringLiteral("Emissione fatture proforma:"), panel), 0, 0, 1, 4);
    grid->addWidget(lblAnno, 1, 0);
    grid->addWidget(txtAnnoFatture, 1, 1);
    grid->addWidget(btnApriFatture, 1, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowMinimumHeight(2, 18);
    grid->addWidget(heading(QStringLiteral("Grafici statistici fatturato:"), panel), 3, 0, 1, 4);
    grid->addWidget(btnApriRiepStats, 4, 0, 1, 3, Qt::AlignLeft);

    auto* logoLink = new QHBoxLayout;
    logoLink->addWidget(imgEmail);
    logoLink->addWidget(lnkWeb);
    logoLink->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addLayout(grid);
    right->addSpacing(12);
    right->addWidget(info);
    right->addSpacing(8);
    right->addLayout(logoLink);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(32, 28, 32, 28);
    panelLayout->setSpacing(32);
    panelLayout->addWidget(picture, 0, Qt::AlignTop);
    panelLayout->addLayout(right, 1);
    panel->setFixedWidth(720);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(imgGuida);
    bottom->addWidget(imgEsci);
    // Centred by stretches rather than by alignment: an aligned item is asked its height for the
    // whole width of the window, where the wrapped line needs fewer lines than in the panel, and
    // the panel's rows were squeezed below their height.
    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addWidget(panel);
    centre->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 28, 40, 20);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addLayout(centre);
    layout->addStretch(2);
    layout->addLayout(bottom);

    const QList<QWidget*> order{txtAnnoFatture, btnApriFatture, btnApriRiepStats,
                                imgEmail,       imgGuida,       imgEsci};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    new FocusHighlight(txtAnnoFatture);
    FieldRules::of(txtAnnoFatture)->filter(KeyFilter::Digits).enterMovesTo(btnApriFatture);
    // After the year field's key filter, so that Up and Down reach the arrows before the filter
    // discards them.
    addArrowNavigation(
        {{txtAnnoFatture, btnApriFatture}, {btnApriRiepStats}, {imgEmail}, {imgGuida, imgEsci}});
    closeOnEscape(this);

    connect(btnApriFatture, &QPushButton::clicked, this, &TfrmMenuFatture::btnApriFatturaClick);
    connect(btnApriRiepStats, &QPushButton::clicked, this, [this] {
        lblMemory->setText(QStringLiteral("statistiche_fat"));
        close();
    });
    connect(imgEmail, &QToolButton::clicked, this, &TfrmMenuFatture::openLogo);
    connect(lnkWeb, &LinkLabel::clicked, this, &TfrmMenuFatture::openLogo);
    connect(imgGuida, &QToolButton::clicked, this,
            [this] { showHelp(m_ctx, this, HelpTexts::invoicesTitle(), HelpTexts::invoices()); });
    connect(imgEsci, &QToolButton::clicked, this, &QWidget::close);
}

void TfrmMenuFatture::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // back from the task bar: the year typed stays
    txtAnnoFatture->setText(QString::number(m_ctx.services().now().date().year()).rightJustified(4, u'0'));
    lblMemory->setText(QStringLiteral("avvio"));
    // What this build cannot open yet stays disabled.
    btnApriFatture->setEnabled(m_ctx.hasWindow(u"frmFatture"));
    btnApriRiepStats->setEnabled(m_ctx.hasWindow(u"frmStatistiche"));
    const bool logo = m_ctx.hasDialog(u"frmLogo");
    imgEmail->setEnabled(logo);
    lnkWeb->setEnabled(logo);
    txtAnnoFatture->setFocus();
}

void TfrmMenuFatture::btnApriFatturaClick()
{
    const QString text = txtAnnoFatture->text();
    if (text.size() != 4) {
        m_ctx.services().message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: indicare l'anno solare utilizzando quattro cifre."));
        txtAnnoFatture->setFocus();
        return;
    }
    QWidget* invoices = m_ctx.window(u"frmFatture");
    if (!invoices)
        return;
    const QString year = trimmed(text);
    setChildText(invoices, QStringLiteral("lblFile"), m_ctx.filePath(year + QStringLiteral(".fat")));
    setChildText(invoices, QStringLiteral("lblAnno"), year);
    invoices->setWindowTitle(QStringLiteral(" Tarvello - Emissione fatture proforma anno ") + year);
    lblMemory->setText(QStringLiteral("fatture"));
    close();
}

void TfrmMenuFatture::openLogo()
{
    if (auto dialog = m_ctx.createDialog(u"frmLogo", this))
        m_ctx.services().runModal(*dialog);
}

void TfrmMenuFatture::closeEvent(QCloseEvent* event)
{
    event->accept();
    const QString next = trimmed(lblMemory->text());
    QWidget* screen = nullptr;
    if (next == QStringLiteral("fatture"))
        screen = m_ctx.window(u"frmFatture");
    else if (next == QStringLiteral("statistiche_fat"))
        screen = m_ctx.window(u"frmStatistiche");
    if (!screen)
        screen = m_ctx.window(u"frmAvvio");
    AppContext::showScreen(screen);
}

} // namespace tarvello

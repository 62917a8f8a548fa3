#include "statistiche.h"

#include "archive/archivefile.h"
#include "core/text.h"
#include "invoicesummary.h"
#include "listwindows.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/fonts.h"
#include "shell/guida.h"
#include "shell/keyboard.h"
#include "shell/printjob.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tarvello
{

namespace ST = InvoiceStatistics;
namespace W = InvoiceListWindows;

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ChartStats"));
    setMinimumSize(600, 400);
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_chart.paint(painter, QRectF(rect()));
}

TfrmStatistiche::TfrmStatistiche(AppContext& ctx) : QWidget(nullptr), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmStatistiche"), QStringLiteral(" Tarvello - Statistiche fatturato"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_StyledBackground);

    lblFile = new QLabel(this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->hide();
    for (size_t m = 0; m < memMesi.size(); ++m) {
        memMesi[m] = new QLabel(QStringLiteral("0"), this);
        memMesi[m]->setObjectName(ST::monthPoints()[m].holder.toString());
        memMesi[m]->hide();
    }

    panInfo = new StatusLine(QStringLiteral("Grafico statistico incassi mensili."), objectName(), this);
    panInfo->setObjectName(QStringLiteral("panInfo"));

    m_panels = new QStackedWidget(this);
    panAvvio = buildYearPanel();
    panContainer = buildChartPanel();
    m_panels->addWidget(panAvvio);
    m_panels->addWidget(panContainer);
    closeOnEscape(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_panels, 1);
    layout->addWidget(panInfo);
    setFixedSize(1016, 713);

    Chart& chart = ChartStats->chart();
    chart.setTitle(ST::title(), Fonts::chartTitle(), QColor::fromRgba(0xFFD04498));
    chart.setFoot(ST::foot(), Fonts::chartFoot(), QColor::fromRgba(0xFF7294F9));
    chart.setLegendTitle(ST::legendTitle());
    chart.setEmptyText(QStringLiteral("Nessun incasso nell'anno"));
    chart.setKind(Chart::Kind::Bars);

    panInfo->clearOver(this);
    panInfo->clearOver(panAvvio);
    panInfo->clearOver(panContainer);
    panInfo->clearOver(ChartStats);
}

QWidget* TfrmStatistiche::buildYearPanel()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panAvvio"));
    auto* picture = new QLabel(page);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/riepannuale.svg")).pixmap(QSize(96, 96)));
    txtAnno = new QLineEdit(page);
    txtAnno->setObjectName(QStringLiteral("txtAnno"));
    setTypeface(txtAnno, "year");
    txtAnno->setMaxLength(4);
    txtAnno->setAlignment(Qt::AlignCenter);
    txtAnno->setFixedWidth(200);
    auto* instruction = new QLabel(QStringLiteral("Indicare l'anno solare e premere Apri."), page);
    setTypeface(instruction, "large");
    btnApri = new QPushButton(QStringLiteral("Apri"), page);
    btnApri->setObjectName(QStringLiteral("btnApri"));
    btnApri->setMinimumWidth(140);
    btnApri->setCursor(Qt::PointingHandCursor);
    imgGuida = new PictureButton(QStringLiteral("imgGuida"), QStringLiteral(":/icons/guida.svg"),
                                 QStringLiteral("Guida"), QSize(36, 36), page);
    imgEsci = new PictureButton(QStringLiteral("imgEsci"), QStringLiteral(":/icons/esci.svg"),
                                QStringLiteral("Esci"), QSize(36, 36), page);
    auto* heading = new QLabel(QStringLiteral("Statistiche fatturato"), page);
    setTypeface(heading, "heading");
    setTone(heading, "statsTitle");

    auto* icons = new QHBoxLayout;
    icons->addStretch(1);
    icons->addWidget(imgGuida);
    icons->addWidget(imgEsci);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(18);
    layout->addStretch(1);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(heading, 0, Qt::AlignHCenter);
    layout->addWidget(instruction, 0, Qt::AlignHCenter);
    layout->addWidget(txtAnno, 0, Qt::AlignHCenter);
    layout->addWidget(btnApri, 0, Qt::AlignHCenter);
    layout->addStretch(2);
    layout->addLayout(icons);

    FieldRules::of(txtAnno)->filter(KeyFilter::Digits).enterMovesTo(btnApri);
    addHighlights({txtAnno});
    connect(btnApri, &QPushButton::clicked, this, &TfrmStatistiche::btnApriClick);
    connect(imgGuida, &QToolButton::clicked, this, &TfrmStatistiche::showGuide);
    connect(imgEsci, &QToolButton::clicked, this, &QWidget::close);
    return page;
}

QWidget* TfrmStatistiche::buildChartPanel()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panContainer"));
    lblTitolo = new QLabel(page);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    setTypeface(lblTitolo, "heading");
    lblRigo04 = new QLabel(
        QStringLiteral("Il presente grafico statistico mostra gli incassi al lordo dell'IVA relativi a "
                       "ciascun mese dell'anno in base alle fatture proforma emesse."),
        page);
    lblRigo04->setObjectName(QStringLiteral("lblRigo04"));
    lblRigo05 =
        new QLabel(QStringLiteral("Servirsi dei pulsanti in calce per visualizzare il tipo di grafico "
                                  "desiderato e per mandarlo in stampa."),
                   page);
    lblRigo05->setObjectName(QStringLiteral("lblRigo05"));
    for (QLabel* l : {lblRigo04, lblRigo05}) {
        l->setWordWrap(true);
        setTypeface(l, "small");
    }
    ChartStats = new ChartView(page);
    auto button = [page](const char16_t* name, const char16_t* caption) {
        auto* b = new QPushButton(QString::fromUtf16(caption), page);
        b->setObjectName(QString::fromUtf16(name));
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    btnTorta = button(u"btnTorta", u"Visualizza grafico a torta");
    btnBarre = button(u"btnBarre", u"Visualizza grafico a barre");
    btnStampa = button(u"btnStampa", u"Stampa grafico");
    btnEsci = button(u"btnEsci", u"Esci");
    cmdGuida = new PictureButton(QStringLiteral("cmdGuida"), QStringLiteral(":/icons/guida.svg"),
                                 QStringLiteral("Guida"), QSize(28, 28), page);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(btnTorta);
    buttons->addWidget(btnBarre);
    buttons->addWidget(btnStampa);
    buttons->addStretch(1);
    buttons->addWidget(cmdGuida);
    buttons->addWidget(btnEsci);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 10, 16, 8);
    layout->setSpacing(4);
    layout->addWidget(lblTitolo);
    layout->addWidget(lblRigo04);
    layout->addWidget(lblRigo05);
    layout->addWidget(ChartStats, 1);
    layout->addLayout(buttons);

    panInfo->addHint(btnTorta,
                     QStringLiteral("Visualizza le statistiche degli incassi sotto forma di grafico a torta "
                                    "tridimensionale."));
    panInfo->addHint(btnBarre,
                     QStringLiteral("Visualizza le statistiche degli incassi sotto forma di grafico a "
                                    "barre tridimensionali."));
    panInfo->addHint(btnStampa, QStringLiteral("Stampa il grafico corrente."));
    panInfo->addHint(btnEsci, QStringLiteral("Esci da questo ambiente di lavoro."));
    panInfo->addHint(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));

    connect(btnTorta, &QPushButton::clicked, this, &TfrmStatistiche::btnTortaClick);
    connect(btnBarre, &QPushButton::clicked, this, &TfrmStatistiche::btnBarreClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmStatistiche::btnStampaClick);
    connect(btnEsci, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdGuida, &QToolButton::clicked, this, &TfrmStatistiche::showGuide);
    return page;
}

void TfrmStatistiche::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    centreOnScreen(this);
    txtAnno->setText(QString::number(m_ctx.services().now().date().year()).rightJustified(4, u'0'));
    ChartStats->chart().clearPoints();
    m_panels->setCurrentWidget(panAvvio);
    txtAnno->setFocus();
}

void TfrmStatistiche::btnApriClick()
{
    const QString text = txtAnno->text();
    if (text.size() != 4) {
        m_ctx.services().message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: indicare l'anno solare utilizzando quattro cifre."));
        txtAnno->setFocus();
        return;
    }
    const QString year = trimmed(text);
    lblFile->setText(m_ctx.filePath(year + QStringLiteral(".fat")));
    lblTitolo->setText(ST::heading(year));
    const ST::MonthlyTakings takings = ST::monthlyTakings(lblFile->text(), year);
    if (!takings.complete) {
        // A chart of part of the year would pass for the whole of it.
        m_ctx.services().message(this, MessageKind::Error, archiveAccessMessage());
        return;
    }
    std::vector<ChartPoint> points;
    for (size_t m = 0; m < memMesi.size(); ++m) {
        const ST::MonthPoint& p = ST::monthPoints()[m];
        memMesi[m]->setText(ST::valueText(takings.values[m]));
        points.push_back({p.label.toString(), QColor::fromRgba(p.colour), takings.values[m]});
    }
    ChartStats->chart().setPoints(std::move(points));
    ChartStats->update();
    m_panels->setCurrentWidget(panContainer);
    if (!takings.unreadable.isEmpty())
        m_ctx.services().message(this, MessageKind::Warning, ST::unreadableMessage(takings.unreadable));
}

void TfrmStatistiche::btnTortaClick()
{
    ChartStats->chart().setKind(Chart::Kind::Pie);
    ChartStats->update();
}

void TfrmStatistiche::btnBarreClick()
{
    ChartStats->chart().setKind(Chart::Kind::Bars);
    ChartStats->update();
}

void TfrmStatistiche::btnStampaClick()
{
    Services& services = m_ctx.services();
    if (services.message(this, MessageKind::Confirmation,
                         QStringLiteral("Si vuole stampare il presente grafico statistico?")) == Answer::No)
        return;
    const std::optional<QString> typed = services.inputText(this, QStringLiteral("Numero copie da stampare"),
                                                            QStringLiteral("Copie:"), QStringLiteral("1"));
    if (!typed)
        return;
    const int copies = ST::copiesFrom(*typed);
    if (copies <= 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Statistiche incassi mensili"));
    // An A4 landscape page; a printer that cannot print that near the edge keeps its own margins.
    if (!printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                           QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter))) {
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
    }
    printer.setCopyCount(copies);
    int chosen = 0;
    const Chart& chart = ChartStats->chart();
    const auto confirmed = [&chosen](QPrinter& p) {
        p.setPageOrientation(QPageLayout::Landscape);
        // Each copy is printed as a page of its own, so the count chosen in the dialog is the
        // count printed, whatever the driver does with copies.
        chosen = p.copyCount();
        p.setCopyCount(1);
        return chosen > 0;
    };
    const auto paint = [&chosen, &chart](QPainter& painter, QPagedPaintDevice& device, Progress*) {
        // The whole printable area of the page, measured on the device printed on; a few pages,
        // quickly painted, so no progress is reported.
        const QRectF page(0, 0, device.width(), device.height());
        for (int i = 0; i < chosen; ++i) {
            if (i > 0 && !device.newPage())
                return false;
            chart.paint(painter, page);
        }
        return true;
    };
    switch (printThroughDialog(services, this, printer, paint, confirmed)) {
    case PrintOutcome::NoPrinter:
    case PrintOutcome::Failed:
        services.message(this, MessageKind::Warning,
                         QStringLiteral("Attenzione: non è stato possibile stampare il grafico."));
        break;
    case PrintOutcome::Printed:
    case PrintOutcome::Cancelled:
    case PrintOutcome::FileNotWritten: // already told
        break;
    }
}

void TfrmStatistiche::showGuide()
{
    showHelp(
        m_ctx, this, QStringLiteral("Grafici statistici incassi mensili."),
        QStringLiteral(
            "Questo ambiente di lavoro visualizza e stampa i grafici degli incassi mensili, IVA inclusa e "
            "arrotondati all'euro, dell'anno solare scelto, sotto forma di torta o di barre "
            "tridimensionali.\r\n\r\n"
            "Indicare prima l'anno e premere Apri per aprire il grafico.\r\n\r\n"
            "Il grafico a barre presenta dodici barre, una per mese, tanto più alte quanto maggiori sono gli "
            "incassi; un pulsante visualizza il grafico a torta e un altro riporta alle barre.\r\n\r\n"
            "Il pulsante Stampa grafico stampa il grafico visualizzato."));
}

void TfrmStatistiche::closeEvent(QCloseEvent* event)
{
    event->accept();
    AppContext::showScreen(m_ctx.window(u"frmAvvio"));
}

} // namespace tarvello

#include "invoiceoutput.h"

#include "fatture.h"
#include "invoicedialogs.h"
#include "invoicedocument.h"
#include "invoiceprint.h"
#include "report/reportdocument.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/palette.h"
#include "shell/printjob.h"
#include "shell/services.h"
#include "shell/shelltexts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvello
{

InvoiceOutputDialog::InvoiceOutputDialog(AppContext& ctx, QWidget* owner, const QString& objectName,
                                         const QString& caption, const QString& picture,
                                         const QString& confirmText, QSize size)
    : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, objectName, caption);
    makeDialogFrame(this);
    setFixedSize(size);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("imgSpiegazione"));
    image->setPixmap(QIcon(picture).pixmap(QSize(320, 200)));
    image->setAlignment(Qt::AlignCenter);
    auto* btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    auto* btnConferma = new QPushButton(confirmText, this);
    btnConferma->setObjectName(QStringLiteral("btnConferma"));
    btnConferma->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAnnulla);
    buttons->addStretch(1);
    buttons->addWidget(btnConferma);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->addWidget(image, 1);
    layout->addLayout(buttons);
    setTabOrder(btnAnnulla, btnConferma);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnConferma, &QPushButton::clicked, this, [this] { produce(); });
}

void InvoiceOutputDialog::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, Palette::dialogGradientTop);
    g.setColorAt(1, Palette::dialogGradientBottom);
    p.fillRect(rect(), g);
}

ReportDocument InvoiceOutputDialog::document() const
{
    if (auto* screen = qobject_cast<TfrmFatture*>(parentWidget()))
        return screen->cardReport();
    ReportDocument doc(invoicePrintLayout());
    fillInvoicePrint(doc, InvoiceDocument{}, invoiceLogo(m_ctx.folder()));
    return doc;
}

TfrmStampaFat::TfrmStampaFat(AppContext& ctx, QWidget* owner)
    : InvoiceOutputDialog(ctx, owner, QStringLiteral("frmStampaFat"),
                          QStringLiteral(" Stampa fattura proforma"), QStringLiteral(":/output_stampa.svg"),
                          QStringLiteral("Stampa"), QSize(364, 287))
{
}

void TfrmStampaFat::produce()
{
    Services& s = m_ctx.services();
    switch (printReport(s, this, document())) {
    case PrintOutcome::Cancelled:
        return; // the user changed their mind in the print dialog: this window stays
    case PrintOutcome::NoPrinter:
        s.message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: non è disponibile nessuna stampante, quindi la fattura proforma non "
                           "è stata stampata.\r\n\r\nInstallare o collegare una stampante e riprovare."));
        return;
    case PrintOutcome::Failed:
        s.message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: si è verificato un errore durante la stampa, quindi la fattura "
                           "proforma potrebbe non essere stata stampata.\r\n\r\nControllare la stampante "
                           "e riprovare."));
        break;
    case PrintOutcome::Printed:
    case PrintOutcome::FileNotWritten: // already told
        break;
    }
    accept();
}

TfrmAnteprimaFat::TfrmAnteprimaFat(AppContext& ctx, QWidget* owner)
    : InvoiceOutputDialog(ctx, owner, QStringLiteral("frmAnteprimaFat"),
                          QStringLiteral(" Anteprima di stampa"), QStringLiteral(":/output_anteprima.svg"),
                          QStringLiteral("Mostra anteprima"), QSize(364, 287))
{
}

void TfrmAnteprimaFat::produce()
{
    const ReportDocument doc = document();
    QPrinter printer(QPrinter::HighResolution);
    doc.preparePrinter(&printer);
    m_ctx.services().preview(this, printer, doc.previewPainter());
    accept();
}

TfrmCrea_PDF_Fat::TfrmCrea_PDF_Fat(AppContext& ctx, QWidget* owner)
    : InvoiceOutputDialog(ctx, owner, QStringLiteral("frmCrea_PDF_Fat"), QStringLiteral(" Esporta in PDF"),
                          QStringLiteral(":/output_pdf.svg"), QStringLiteral("Crea PDF"), QSize(363, 299))
{
}

void TfrmCrea_PDF_Fat::produce()
{
    const QString path = QDir(m_ctx.folder()).filePath(invoicePdfName());
    Services& s = m_ctx.services();
    if (!document().writePdf(path, invoicePdfProperties())) {
        s.message(this, MessageKind::Warning, documentNotCreatedMessage(invoicePdfName()));
        return;
    }
    if (s.message(
            this, MessageKind::Confirmation,
            QStringLiteral("L'esportazione della scheda in PDF è terminata con successo.\r\n\r\nSi vuole "
                           "aprire il file?")) == Answer::Yes) {
        openOrExplain(s, this, QUrl::fromLocalFile(path));
        accept();
    }
}

} // namespace tarvello

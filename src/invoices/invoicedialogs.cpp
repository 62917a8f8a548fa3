#include "invoicedialogs.h"
#include "invoiceslog.h"

#include "core/filereplace.h"
#include "core/text.h"
#include "numbering.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/palette.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvello
{

namespace
{

QFrame* whitePanel(QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QStringLiteral("panel"));
    setTone(f, "whitePanel");
    return f;
}

QLabel* picture(QWidget* parent, const QString& path, QSize size)
{
    auto* l = new QLabel(parent);
    l->setPixmap(QIcon(path).pixmap(size));
    return l;
}

QLabel* hiddenMemory(QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QStringLiteral("lblMemory"));
    l->hide();
    return l;
}

} // namespace

// ---------------------------------------------------------------- numbering

TfrmNumerazioneFat::TfrmNumerazioneFat(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmNumerazioneFat"), QStringLiteral(" Impostazione inizio numerazione"));
    makeDialogFrame(this);
    setFixedSize(420, 373);

    auto* top = whitePanel(this);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->addWidget(picture(top, QStringLiteral(":/icons/logo.svg"), QSize(56, 56)));
    topLayout->addWidget(picture(top, QStringLiteral(":/numerazione_esempio.svg"), QSize(260, 72)), 1);

    auto* middle = whitePanel(this);
    auto* group = new QGroupBox(QStringLiteral(" Inizia numerazione da: "), middle);
    txtInizio = new QLineEdit(QStringLiteral("1"), group);
    txtInizio->setObjectName(QStringLiteral("txtInizio"));
    txtInizio->setMaxLength(5);
    txtInizio->setAlignment(Qt::AlignCenter);
    setTypeface(txtInizio, "largeBold");
    txtInizio->setFixedWidth(110);
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->setContentsMargins(14, 12, 14, 10);
    groupLayout->addWidget(txtInizio);
    groupLayout->addStretch(1);
    auto* middleLayout = new QHBoxLayout(middle);
    middleLayout->addWidget(picture(middle, QStringLiteral(":/icons/mano.svg"), QSize(40, 40)));
    middleLayout->addWidget(group, 1);

    auto* bottom = whitePanel(this);
    chkTipo = new QCheckBox(QStringLiteral("Indica l'anno solare dopo il numero progressivo del documento"),
                            bottom);
    chkTipo->setObjectName(QStringLiteral("chkTipo"));
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->addWidget(chkTipo);

    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    lblMemory = hiddenMemory(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnApplica);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(10);
    layout->addWidget(top);
    layout->addWidget(middle);
    layout->addWidget(bottom);
    layout->addStretch(1);
    layout->addLayout(buttons);

    setTabOrder(txtInizio, chkTipo);
    setTabOrder(chkTipo, btnAnnulla);
    setTabOrder(btnAnnulla, btnApplica);
    new FocusHighlight(txtInizio);
    FieldRules::of(txtInizio)->filter(KeyFilter::Digits).enterMovesTo(btnApplica).onLeave([this] {
        txtInizio->setText(normaliseStartNumber(txtInizio->text()));
    });
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmNumerazioneFat::btnApplicaClick);
}

bool TfrmNumerazioneFat::servesInvoices() const
{
    return trimmed(lblMemory->text()) == QStringLiteral("fatture");
}

void TfrmNumerazioneFat::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (servesInvoices()) {
        const NumberingSettings settings = readNumberingSettings(numberingIniPath(m_ctx.folder()));
        txtInizio->setText(settings.start);
        chkTipo->setChecked(settings.yearSuffix());
    }
    if (isBlank(txtInizio->text()))
        txtInizio->setText(QStringLiteral("1"));
    txtInizio->setFocus();
}

void TfrmNumerazioneFat::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, Palette::dialogGradientTop);
    g.setColorAt(1, Palette::dialogGradientBottom);
    p.fillRect(rect(), g);
}

void TfrmNumerazioneFat::btnApplicaClick()
{
    if (servesInvoices() &&
        !writeNumberingSettings(numberingIniPath(m_ctx.folder()), txtInizio->text(), chkTipo->isChecked())) {
        m_ctx.services().message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: non è stato possibile salvare le impostazioni di "
                           "numerazione nel file Numerazione.ini.\n\r\n\rAccertarsi di "
                           "possedere i privilegi di scrittura nella cartella di "
                           "installazione del programma."));
        return;
    }
    accept();
}

// ---------------------------------------------------------------- transport details

namespace
{
struct TransportField {
    const char16_t* control;
    const char16_t* label;
    int capacity;
    const char16_t* screenLabel;
};
constexpr TransportField kTransport[] = {
    {u"txtVeicolo", u"Destinazione merce:", 50, u"memVeicolo"},
    {u"txtMarca", u"Vettore:", 50, u"memMarca"},
    {u"txtColore", u"Aspetto esteriore dei beni:", 50, u"memColore"},
    {u"txtImmatricolazione", u"Porto:", 30, u"memImmatricolazione"},
    {u"txtAlimentazione", u"Causale del trasporto:", 50, u"memAlimentazione"},
    {u"txtTarga", u"Numero colli:", 30, u"memTarga"},
};
} // namespace

TfrmDatiFattura::TfrmDatiFattura(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmDatiFattura"), QStringLiteral(" Altre informazioni"));
    makeDialogFrame(this);
    setFixedSize(654, 363);

    QLineEdit* fields[6];
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < 6; ++i) {
        const TransportField& t = kTransport[i];
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromUtf16(t.control));
        e->setMaxLength(t.capacity);
        setTypeface(e, "plain");
        fields[i] = e;
        auto* label = new QLabel(QString::fromUtf16(t.label), this);
        setTypeface(label, "smallBold");
        label->setBuddy(e);
        // Left column: destination, appearance, reason; right column: carrier, carriage, packages.
        const int column = i % 2;
        const int row = (i / 2) * 2;
        grid->addWidget(label, row, column);
        grid->addWidget(e, row + 1, column);
        grid->setRowMinimumHeight(row + 1, 30);
    }
    txtVeicolo = fields[0];
    txtMarca = fields[1];
    txtColore = fields[2];
    txtImmatricolazione = fields[3];
    txtAlimentazione = fields[4];
    txtTarga = fields[5];

    auto* title = new QLabel(QStringLiteral("Dati del trasporto"), this);
    setTypeface(title, "title");
    setTone(title, "title");
    auto* instruction = new QLabel(QStringLiteral("Inserire i dati, fare clic su Applica e chiudi e poi sul "
                                                  "pulsante Salva per salvare le modifiche."),
                                   this);
    instruction->setWordWrap(true);
    setTone(instruction, "note");
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    lblMemory = hiddenMemory(this);

    auto* head = new QHBoxLayout;
    head->addWidget(picture(this, QStringLiteral(":/icons/trasporto.svg"), QSize(40, 40)));
    head->addWidget(title, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnApplica);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->addLayout(head);
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(instruction);
    layout->addLayout(buttons);

    addHighlights({txtVeicolo, txtMarca, txtColore, txtImmatricolazione, txtAlimentazione, txtTarga});
    setEnterOrder({txtVeicolo, txtMarca, txtColore, txtImmatricolazione, txtAlimentazione, txtTarga});
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmDatiFattura::btnApplicaClick);

    // The caller's values, trimmed.
    if (owner)
        for (const TransportField& t : kTransport)
            setChildText(this, QString::fromUtf16(t.control),
                         trimmed(childText(owner, QString::fromUtf16(t.screenLabel))));
}

void TfrmDatiFattura::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    txtVeicolo->setFocus();
}

void TfrmDatiFattura::btnApplicaClick()
{
    if (trimmed(lblMemory->text()) == QStringLiteral("fatture") && parentWidget()) {
        for (const TransportField& t : kTransport)
            setChildText(parentWidget(), QString::fromUtf16(t.screenLabel),
                         trimmed(childText(this, QString::fromUtf16(t.control))));
    }
    accept();
}

// ---------------------------------------------------------------- logo

QString logoFileName()
{
    return QStringLiteral("Logo.bmp");
}

QImage defaultLogo()
{
    QImage logo(QStringLiteral(":/euro_logo.svg"));
    return logo.convertToFormat(QImage::Format_RGB32);
}

QImage blankLogo()
{
    QImage blank(2, 2, QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
}

QImage invoiceLogo(const QString& programFolder)
{
    const QString path = QDir(programFolder).filePath(logoFileName());
    QImageReader reader(path);
    QImage logo = reader.read();
    if (logo.isNull()) {
        // No logo of the company's yet is the usual case; one that cannot be read is worth a line.
        if (QFileInfo::exists(path))
            qCWarning(lcInvoices) << "The logo" << path
                                  << "cannot be read, the default one is used:" << reader.errorString();
        return defaultLogo();
    }
    return logo;
}

TfrmLogo::TfrmLogo(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmLogo"), QStringLiteral(" Impostazione logo"));
    makeDialogFrame(this);
    setFixedSize(362, 368);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panLogo"));
    imgLogo = new QLabel(panel);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFixedSize(297, 184);
    imgLogo->setAlignment(Qt::AlignCenter);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(12, 12, 12, 12);
    panelLayout->addWidget(imgLogo, 0, Qt::AlignCenter);

    imgEuro = new PictureButton(QStringLiteral("imgEuro"), QStringLiteral(":/icons/euro.svg"),
                                QStringLiteral("Logo predefinito"), QSize(30, 30), this);
    btnCancLogo = new PictureButton(QStringLiteral("btnCancLogo"), QStringLiteral(":/icons/cancella.svg"),
                                    QStringLiteral("Nessun logo"), QSize(30, 30), this);
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnSfoglia = new QPushButton(QStringLiteral("Sfoglia..."), this);
    btnSfoglia->setObjectName(QStringLiteral("btnSfoglia"));
    btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));

    auto* small = new QHBoxLayout;
    small->addWidget(imgEuro);
    small->addStretch(1);
    small->addWidget(btnCancLogo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnSfoglia);
    buttons->addWidget(btnApplica);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 14);
    layout->addWidget(panel);
    layout->addLayout(small);
    layout->addStretch(1);
    layout->addLayout(buttons);

    setTabOrder(btnApplica, btnAnnulla);
    setTabOrder(btnAnnulla, btnSfoglia);
    connect(imgEuro, &QToolButton::clicked, this, [this] { setPicture(defaultLogo()); });
    connect(btnCancLogo, &QToolButton::clicked, this, [this] { setPicture(blankLogo()); });
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnSfoglia, &QPushButton::clicked, this, &TfrmLogo::btnSfogliaClick);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmLogo::btnApplicaClick);
}

void TfrmLogo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    setPicture(invoiceLogo(m_ctx.folder()));
    btnApplica->setFocus();
}

void TfrmLogo::setPicture(const QImage& picture)
{
    m_picture = picture;
    // The preview shows the picture whole, as the invoice will: scaled into the box, proportions kept.
    imgLogo->setPixmap(QPixmap::fromImage(picture).scaled(imgLogo->size() - QSize(2, 2), Qt::KeepAspectRatio,
                                                          Qt::SmoothTransformation));
}

void TfrmLogo::btnSfogliaClick()
{
    const auto path = m_ctx.services().openFileName(
        this, QStringLiteral("Selezionare il logo della Ditta in formato Jpeg o Bitmap."),
        // PNG too: most logos come in it today.
        QStringLiteral(
            "Immagini (*.jpg *.jpeg *.png *.bmp);;Immagine JPEG (*.jpg *.jpeg);;Immagine PNG (*.png);;"
            "Immagine Bitmap (*.bmp)"));
    if (!path)
        return;
    QImage chosen;
    setPicture(chosen.load(*path) ? chosen : defaultLogo());
}

void TfrmLogo::btnApplicaClick()
{
    // The old logo stays until the new one is whole and on the disk.
    FileReplacement file(QDir(m_ctx.folder()).filePath(logoFileName()));
    const bool written = file.open() && m_picture.save(&file, "BMP") && file.commit();
    if (!written) {
        qCWarning(lcInvoices) << "The logo" << file.target() << "cannot be written:"
                              << (file.failureReason().isEmpty()
                                      ? QStringLiteral("the picture was not encoded")
                                      : file.failureReason());
        setPicture(defaultLogo());
        m_ctx.services().message(this, MessageKind::Warning,
                                 QStringLiteral("Attenzione: non è stato possibile salvare il logo nel file "
                                                "Logo.bmp.\n\r\n\rAccertarsi di possedere i privilegi di "
                                                "scrittura nella cartella di installazione del programma."));
    }
    accept();
}

} // namespace tarvello

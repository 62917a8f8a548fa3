#include "appcontext.h"
#include "commands.h"
#include "conventions.h"
#include "guida.h"
#include "helptexts.h"
#include "keyboard.h"
#include "maker.h"
#include "services.h"
#include "shellwindows.h"
#include "style.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace tarvello
{

QString AppContext::filePath(const QString& name) const
{
    QString f = folder();
    if (!f.endsWith(u'/'))
        f += u'/';
    return f + name;
}

QString AppContext::shippedFilesFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString AppContext::guidePath() const
{
    return filePath(QStringLiteral("Guida.pdf"));
}

void AppContext::showScreen(QWidget* screen)
{
    if (!screen)
        return;
    screen->showMaximized();
    screen->raise();
    screen->activateWindow();
}

QUrl Maker::contactMail()
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(contactAddress());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Software Tarvello"));
    query.addQueryItem(
        QStringLiteral("body"),
        QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in oggetto:"));
    url.setQuery(query);
    return url;
}

namespace
{

QFrame* card(QWidget* parent, PictureButton* picture, PictureButton* tile, const QString& text,
             PictureButton* button)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("card"));
    auto* description = new QLabel(text, frame);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTone(description, "note");
    setTypeface(description, "plain");
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(12);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(tile, 0, Qt::AlignHCenter);
    layout->addWidget(description);
    layout->addStretch(1);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    frame->setMinimumSize(280, 380);
    return frame;
}

PictureButton* tileButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new PictureButton(name, QString(), caption, QSize(), parent);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    setTypeface(b, "tile");
    setTone(b, "tile");
    return b;
}

PictureButton* openButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new PictureButton(name, QString(), caption, QSize(), parent);
    b->setText(QStringLiteral("Apri"));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    setTypeface(b, "sign");
    b->setMinimumWidth(140);
    setTone(b, "open");
    return b;
}

PictureButton* smallPicture(QWidget* parent, const QString& name, const QString& icon, const QString& caption)
{
    auto* b = new PictureButton(name, icon, caption, QSize(40, 40), parent);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setTypeface(b, "small");
    return b;
}

} // namespace

TfrmAvvio::TfrmAvvio(AppContext& ctx) : m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmAvvio"), QStringLiteral(" Tarvello"));
    setAttribute(Qt::WA_StyledBackground);

    auto* imgTitolo = new QLabel(this);
    imgTitolo->setObjectName(QStringLiteral("imgTitolo"));
    imgTitolo->setPixmap(QIcon(QStringLiteral(":/title.svg")).pixmap(420, 90));
    imgSito = new PictureButton(QStringLiteral("imgSito"), QStringLiteral(":/banner.svg"),
                                QStringLiteral("Visita il sito web di Tarvello"), QSize(900, 41), this);

    const QSize big(128, 128);
    imgClienti = new PictureButton(QStringLiteral("imgClienti"), QStringLiteral(":/icons/clienti.svg"),
                                   QStringLiteral("Anagrafica Clienti"), big, this);
    appClienti = tileButton(this, QStringLiteral("appClienti"), QStringLiteral("Anagrafica Clienti"));
    btnClienti = openButton(this, QStringLiteral("btnClienti"), QStringLiteral("Apri l'Anagrafica Clienti"));
    imgMagazzino = new PictureButton(QStringLiteral("imgMagazzino"), QStringLiteral(":/icons/magazzino.svg"),
                                     QStringLiteral("Magazzino Prodotti"), big, this);
    appMagazzino = tileButton(this, QStringLiteral("appMagazzino"), QStringLiteral("Magazzino Prodotti"));
    btnMagazzino =
        openButton(this, QStringLiteral("btnMagazzino"), QStringLiteral("Apri il Magazzino Prodotti"));
    imgFatture = new PictureButton(QStringLiteral("imgFatture"), QStringLiteral(":/icons/fatture.svg"),
                                   QStringLiteral("Emissione fatture proforma"), big, this);
    appFatture = tileButton(this, QStringLiteral("appFatture"), QStringLiteral("Fatture proforma"));
    btnFatture =
        openButton(this, QStringLiteral("btnFatture"), QStringLiteral("Apri l'emissione fatture proforma"));

    imgInfo = smallPicture(this, QStringLiteral("imgInfo"), QStringLiteral(":/icons/info.svg"),
                           QStringLiteral("Informazioni"));
    imgGuida = smallPicture(this, QStringLiteral("imgGuida"), QStringLiteral(":/icons/guida.svg"),
                            QStringLiteral("Guida"));
    imgCopyright = smallPicture(this, QStringLiteral("imgCopyright"), QStringLiteral(":/icons/copyright.svg"),
                                QStringLiteral("Riconoscimenti"));
    imgEsci = smallPicture(this, QStringLiteral("imgEsci"), QStringLiteral(":/icons/esci.svg"),
                           QStringLiteral("Esci"));

    auto* cards = new QHBoxLayout;
    cards->setSpacing(32);
    cards->addStretch(1);
    cards->addWidget(
        card(this, imgClienti, appClienti,
             QStringLiteral("Schede dei clienti con recapiti, documenti, allegati e questioni in "
                            "sospeso; ricerche, stampe ed esportazione."),
             btnClienti));
    cards->addWidget(card(this, imgMagazzino, appMagazzino,
                          QStringLiteral("Beni e servizi con prezzi, IVA, giacenze e avvisi di sottoscorta; "
                                         "ricerche, stampe ed esportazione."),
                          btnMagazzino));
    cards->addWidget(
        card(this, imgFatture, appFatture,
             QStringLiteral("Emissione, stampa e PDF delle fatture proforma; riepiloghi, fatture "
                            "non saldate e statistiche degli incassi."),
             btnFatture));
    cards->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    for (PictureButton* b : {imgInfo, imgGuida, imgCopyright, imgEsci})
        bottom->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 28, 40, 20);
    layout->setSpacing(16);
    layout->addWidget(imgTitolo, 0, Qt::AlignHCenter);
    layout->addWidget(imgSito, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addLayout(cards);
    layout->addStretch(2);
    layout->addLayout(bottom);

    // The invoice entries lead to the invoice menu, which is the shell's own, but nothing behind it
    // would open without the invoice screen.
    for (PictureButton* b : {imgClienti, appClienti, btnClienti})
        m_commands.push_back(windowCommand(b, {}, QStringLiteral("frmClienti")));
    for (PictureButton* b : {imgMagazzino, appMagazzino, btnMagazzino})
        m_commands.push_back(windowCommand(b, {}, QStringLiteral("frmMagazzino")));
    for (PictureButton* b : {imgFatture, appFatture, btnFatture}) {
        ScreenCommand menu = windowCommand(b, {}, QStringLiteral("frmMenuFatture"));
        menu.needs = QStringLiteral("frmFatture");
        m_commands.push_back(menu);
    }
    m_commands.push_back(ownCommand(imgInfo, {}, [this] {
        TfrmInfo info(m_ctx, this);
        m_ctx.services().runModal(info);
    }));
    m_commands.push_back(ownCommand(imgCopyright, {}, [this] {
        TfrmSplash credits(m_ctx, this);
        m_ctx.services().runModal(credits);
    }));
    m_commands.push_back(ownCommand(
        imgGuida, {}, [this] { showHelp(m_ctx, this, HelpTexts::launcherTitle(), HelpTexts::launcher()); }));
    m_commands.push_back(ownCommand(
        imgSito, {}, [this] { openOrExplain(m_ctx.services(), this, QUrl(Maker::webAddress())); }));
    m_commands.push_back(ownCommand(imgEsci, {}, [this] { m_ctx.quit(); }));
    wireCommands(m_ctx, this, nullptr, m_commands);

    // The keyboard stops once at each entry: an application is its "Apri" button, while its
    // picture and its title, which open the same, are there for the mouse.
    for (PictureButton* b : {imgClienti, appClienti, imgMagazzino, appMagazzino, imgFatture, appFatture})
        b->setFocusPolicy(Qt::NoFocus);
    const QList<QWidget*> order{imgSito, btnClienti, btnMagazzino, btnFatture,
                                imgInfo, imgGuida,   imgCopyright, imgEsci};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    addArrowNavigation(
        {{imgSito}, {btnClienti, btnMagazzino, btnFatture}, {imgInfo, imgGuida, imgCopyright, imgEsci}});
}

void TfrmAvvio::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // An application whose screen this build does not have cannot be opened.
    enableCommands(m_ctx, m_commands);
    // The keyboard starts on the first application there is; coming back, it is where it was.
    const QWidget* current = focusWidget();
    if (current && current->isEnabled())
        return;
    for (PictureButton* b : {btnClienti, btnMagazzino, btnFatture, imgInfo})
        if (b->isEnabled()) {
            b->setFocus();
            return;
        }
}

void TfrmAvvio::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_ctx.quit();
}

// ---------------------------------------------------------------- information and credits

TfrmInfo::TfrmInfo(AppContext& ctx, QWidget* owner) : QDialog(owner)
{
    nameWindow(this, QStringLiteral("frmInfo"), QStringLiteral(" Informazioni su Tarvello"));
    makeDialogFrame(this);
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(QIcon(QStringLiteral(":/title.svg")).pixmap(420, 90));
    auto* notice1 = new QLabel(this);
    notice1->setObjectName(QStringLiteral("imgAvviso1"));
    notice1->setPixmap(QIcon(QStringLiteral(":/notice_versione.svg")).pixmap(360, 84));
    auto* notice2 = new QLabel(this);
    notice2->setObjectName(QStringLiteral("imgAvviso2"));
    notice2->setPixmap(QIcon(QStringLiteral(":/notice_licenza.svg")).pixmap(360, 84));
    cmdChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdChiudi->setObjectName(QStringLiteral("cmdChiudi"));
    imgEmail = new PictureButton(QStringLiteral("imgEmail"), QStringLiteral(":/icons/email.svg"),
                                 QStringLiteral("Scrivi a ") + Maker::contactAddress(), QSize(28, 28), this);
    lnkEmail = new LinkLabel(Maker::contactAddress(), this);
    lnkEmail->setObjectName(QStringLiteral("lnkEmail"));
    // Installed for several users, or started on a shared folder, the data is not beside the
    // program: say where it is, so the user knows what to back up.
    lblCartella = new QLabel(QStringLiteral("I dati del programma sono nella cartella:\n") +
                                 QDir::toNativeSeparators(ctx.folder()),
                             this);
    lblCartella->setObjectName(QStringLiteral("lblCartella"));
    lblCartella->setWordWrap(true);
    lblCartella->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* contact = new QHBoxLayout;
    contact->addWidget(imgEmail);
    contact->addWidget(lnkEmail);
    contact->addStretch(1);
    contact->addWidget(cmdChiudi);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addWidget(notice1, 0, Qt::AlignHCenter);
    layout->addWidget(notice2, 0, Qt::AlignHCenter);
    layout->addWidget(lblCartella);
    layout->addLayout(contact);
    setFixedSize(480, 440);

    auto write = [this, &ctx] { openOrExplain(ctx.services(), this, Maker::contactMail()); };
    connect(imgEmail, &QToolButton::clicked, this, write);
    connect(lnkEmail, &LinkLabel::clicked, this, write);
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmSplash::TfrmSplash(AppContext& ctx, QWidget* owner) : QDialog(owner)
{
    nameWindow(this, QStringLiteral("frmSplash"), QStringLiteral(" Tarvello - ") + Maker::name());
    makeDialogFrame(this);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgCrediti"));
    picture->setPixmap(QIcon(QStringLiteral(":/credits.svg")).pixmap(520, 300));
    cmdChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdChiudi->setObjectName(QStringLiteral("cmdChiudi"));
    imgWeb = new PictureButton(QStringLiteral("imgWeb"), QStringLiteral(":/icons/web.svg"),
                               QStringLiteral("Visita il sito web"), QSize(28, 28), this);
    lnkWeb = new LinkLabel(Maker::webAddress(), this);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    auto* foot = new QHBoxLayout;
    foot->addWidget(imgWeb);
    foot->addWidget(lnkWeb);
    foot->addStretch(1);
    foot->addWidget(cmdChiudi);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addLayout(foot);
    setFixedSize(560, 390);

    auto visit = [this, &ctx] { openOrExplain(ctx.services(), this, QUrl(Maker::webAddress())); };
    connect(imgWeb, &QToolButton::clicked, this, visit);
    connect(lnkWeb, &LinkLabel::clicked, this, visit);
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace tarvello

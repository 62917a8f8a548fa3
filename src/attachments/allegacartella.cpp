#include "allegacartella.h"

#include "attachments.h"
#include "core/text.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvello
{

namespace
{

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

QString ordinal(int n)
{
    return QString::number(n) + QStringLiteral("°");
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmAllegaCartella"), QStringLiteral(" Allega file"));
    makeDialogFrame(this);
    setAttribute(Qt::WA_StyledBackground);

    auto* intro =
        new QLabel(QStringLiteral("Allegare alla scheda fino a tre file, ciascuno con la sua descrizione. "
                                  "I file vengono copiati nella cartella Documenti_Allegati del "
                                  "programma."),
                   this);
    intro->setWordWrap(true);
    setTypeface(intro, "small");
    setTone(intro, "note");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    layout->addWidget(intro);

    QList<QWidget*> tabOrder;
    for (int n = 1; n <= 3; ++n) {
        const QString nn = twoDigits(n);
        auto* box = new QGroupBox(ordinal(n) + QStringLiteral(" file allegato"), this);
        Slot& s = slot(n);
        s.file = new QLineEdit(box);
        s.file->setObjectName(QStringLiteral("txtFile") + nn);
        s.file->setReadOnly(true);
        s.browse = new QPushButton(QStringLiteral("Sfoglia..."), box);
        s.browse->setObjectName(QStringLiteral("btnSfoglia") + nn);
        s.open = new QPushButton(QStringLiteral("Apri"), box);
        s.open->setObjectName(QStringLiteral("btnApri") + nn);
        s.open->setEnabled(false);
        s.remove = new PictureButton(
            QStringLiteral("imgCancella") + nn, QStringLiteral(":/icons/clienti/cancella.svg"),
            QStringLiteral("Togli il ") + ordinal(n) + QStringLiteral(" file allegato"), QSize(24, 24), box);
        s.desc = new QLineEdit(box);
        s.desc->setObjectName(QStringLiteral("txtDesc") + nn);
        // The card keeps 250 characters of a description; saying so while typing loses nothing.
        s.desc->setMaxLength(250);

        auto* fileLabel =
            new QLabel(QStringLiteral("Nome ") + ordinal(n) + QStringLiteral(" file allegato:"), box);
        fileLabel->setBuddy(s.file);
        auto* descLabel =
            new QLabel(QStringLiteral("Descrizione ") + ordinal(n) + QStringLiteral(" file allegato:"), box);
        descLabel->setBuddy(s.desc);

        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(12, 18, 12, 10);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(8);
        grid->addWidget(fileLabel, 0, 0);
        grid->addWidget(s.file, 0, 1);
        grid->addWidget(s.browse, 0, 2);
        grid->addWidget(s.open, 0, 3);
        grid->addWidget(s.remove, 0, 4);
        grid->addWidget(descLabel, 1, 0);
        grid->addWidget(s.desc, 1, 1, 1, 4);
        grid->setColumnStretch(1, 1);
        layout->addWidget(box);

        tabOrder << s.file << s.browse << s.open << s.desc;

        connect(s.file, &QLineEdit::textChanged, s.open,
                [open = s.open](const QString& text) { open->setEnabled(!isBlank(text)); });
        connect(s.browse, &QPushButton::clicked, this, [this, n] { btnSfogliaClick(n); });
        connect(s.open, &QPushButton::clicked, this, [this, n] { btnApriClick(n); });
        connect(s.remove, &QToolButton::clicked, this, [this, n] { imgCancellaClick(n); });
    }

    btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    for (QPushButton* b : {btnApplica, btnAnnulla}) {
        b->setMinimumWidth(130);
        b->setAutoDefault(false);
    }
    for (const Slot& s : m_slots)
        for (QPushButton* b : {s.browse, s.open})
            b->setAutoDefault(false);
    tabOrder << btnApplica << btnAnnulla;
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);

    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnApplica);
    buttons->addWidget(btnAnnulla);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(660, 470);
}

void TfrmAllegaCartella::loadFrom(const QWidget* card)
{
    if (!card)
        return;
    for (int n = 1; n <= 3; ++n) {
        const QString nn = twoDigits(n);
        slot(n).file->setText(trimmed(childText(card, QStringLiteral("lblFile") + nn)));
        slot(n).desc->setText(trimmed(childText(card, QStringLiteral("lblDesc") + nn)));
    }
}

void TfrmAllegaCartella::btnSfogliaClick(int n)
{
    // "Tutti i file (*.*)" is what the user expects to see; outside Windows "*.*" leaves out the
    // names without a dot, which the second choice brings back.
    const std::optional<QString> chosen =
        m_ctx.services().openFileName(this, QStringLiteral("Selezionare il file da allegare:"),
                                      QStringLiteral("Tutti i file (*.*);;File senza estensione (*)"));
    if (!chosen || chosen->isEmpty())
        return;
    QString stored;
    const Attachments::Outcome outcome = Attachments::attach(
        *chosen, m_ctx.folder(),
        [this] {
            return m_ctx.services().message(this, MessageKind::Confirmation,
                                            Attachments::overwriteQuestion()) != Answer::No;
        },
        &stored);
    if (!Attachments::slotTakesName(outcome)) {
        m_ctx.services().message(this, MessageKind::Warning, Attachments::failureMessage(outcome));
        return;
    }
    slot(n).file->setText(stored);
    // The card keeps the name the file really has in the folder; the user learns it.
    if (stored != QFileInfo(*chosen).fileName())
        m_ctx.services().message(this, MessageKind::Information, Attachments::renamedMessage(stored));
}

void TfrmAllegaCartella::btnApriClick(int n)
{
    const QString name = trimmed(slot(n).file->text());
    if (name.isEmpty())
        return;
    if (!Attachments::isSafeStoredName(name)) {
        m_ctx.services().message(this, MessageKind::Warning, Attachments::unsafeNameMessage(name));
        return;
    }
    openOrExplain(m_ctx.services(), this, QUrl::fromLocalFile(Attachments::filePath(m_ctx.folder(), name)));
}

void TfrmAllegaCartella::imgCancellaClick(int n)
{
    slot(n).file->clear();
}

QWidget* TfrmAllegaCartella::callerCard() const
{
    const QString mode = trimmed(lblMemory->text());
    if (mode == QStringLiteral("clienti"))
        return m_ctx.window(u"frmClienti");
    if (mode == QStringLiteral("magazzino"))
        return m_ctx.window(u"frmMagazzino");
    return nullptr;
}

void TfrmAllegaCartella::btnApplicaClick()
{
    if (QWidget* card = callerCard()) {
        for (int n = 1; n <= 3; ++n) {
            const QString nn = twoDigits(n);
            setChildText(card, QStringLiteral("lblFile") + nn, trimmed(slot(n).file->text()));
            setChildText(card, QStringLiteral("lblDesc") + nn, trimmed(slot(n).desc->text()));
        }
    }
    accept();
}

void openAttachments(AppContext& ctx, QWidget* card, const QString& mode)
{
    std::unique_ptr<QDialog> dialog = ctx.createDialog(u"frmAllegaCartella", card);
    if (!dialog)
        dialog = std::make_unique<TfrmAllegaCartella>(ctx, card);
    setChildText(dialog.get(), QStringLiteral("lblMemory"), mode);
    if (auto* attachments = qobject_cast<TfrmAllegaCartella*>(dialog.get()))
        attachments->loadFrom(card);
    ctx.services().runModal(*dialog);
}

} // namespace tarvello

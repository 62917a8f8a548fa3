#include "giacenza.h"

#include "core/text.h"
#include "magazzino.h"
#include "pricetools.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/style.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace tarvello
{

namespace
{

QLineEdit* field(QWidget* parent, const QString& name, int maxLength = 32767)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    setTypeface(e, "plain");
    return e;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumWidth(120);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    setTypeface(l, "small");
    l->setBuddy(buddy);
    return l;
}

// The product card the window serves: its owner, or the program's own card. Its controls are
// reached through the card itself, never by name: this window has a txtGiacenza of its own.
TfrmMagazzino* productCard(AppContext& ctx, QWidget* owner)
{
    if (auto* card = qobject_cast<TfrmMagazzino*>(owner))
        return card;
    return qobject_cast<TfrmMagazzino*>(ctx.window(u"frmMagazzino"));
}

} // namespace

// ---------------------------------------------------------------- stock update

TfrmGiacenza::TfrmGiacenza(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmGiacenza"), QStringLiteral(" Aggiornamento giacenza"));
    makeDialogFrame(this);

    txtGiacenza = field(this, QStringLiteral("txtGiacenza"));
    txtAggiunta = field(this, QStringLiteral("txtAggiunta"));
    txtTotale = field(this, QStringLiteral("txtTotale"));
    txtTotale->setReadOnly(true);
    for (QLineEdit* e : {txtGiacenza, txtAggiunta, txtTotale})
        e->setAlignment(Qt::AlignRight);
    lblAggiunta = label(addCaption(), txtAggiunta, this);
    lblAggiunta->setObjectName(QStringLiteral("lblAggiunta"));
    btnTotale = button(this, QStringLiteral("btnTotale"), QStringLiteral("Calcola totale"));
    btnAggiorna = button(this, QStringLiteral("btnAggiorna"), QStringLiteral("Applica e chiudi"));
    btnChiudi = button(this, QStringLiteral("btnChiudi"), QStringLiteral("Annulla"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(label(QStringLiteral("Giacenza attuale:"), txtGiacenza, this), 0, 0);
    grid->addWidget(txtGiacenza, 0, 1);
    grid->addWidget(lblAggiunta, 1, 0);
    grid->addWidget(txtAggiunta, 1, 1);
    grid->addWidget(btnTotale, 2, 0);
    grid->addWidget(txtTotale, 2, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnAggiorna);
    buttons->addWidget(btnChiudi);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // What the user types is a whole number; a stock the card hands over with decimals (7,5 m of
    // cable the article import left) is kept as it is when the focus only passes through it.
    for (QLineEdit* e : {txtGiacenza, txtAggiunta}) {
        FieldRules::of(e)->filter(KeyFilter::Digits).emptyWhenLongerThan(15).onLeave([e] {
            if (e->isModified())
                e->setText(PriceTools::tidyWhole(e->text()));
        });
    }
    FieldRules::of(txtGiacenza)->enterMovesTo(txtAggiunta);
    FieldRules::of(txtAggiunta)->enterMovesTo(btnTotale);
    addHighlights({txtGiacenza, txtAggiunta});
    setTabOrder(txtGiacenza, txtAggiunta);
    setTabOrder(txtAggiunta, btnTotale);
    setTabOrder(btnTotale, txtTotale);
    setTabOrder(txtTotale, btnAggiorna);
    setTabOrder(btnAggiorna, btnChiudi);

    connect(btnTotale, &QPushButton::clicked, this, &TfrmGiacenza::btnTotaleClick);
    connect(btnAggiorna, &QPushButton::clicked, this, &TfrmGiacenza::btnAggiornaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(440, 230);
}

QString TfrmGiacenza::addCaption()
{
    return QStringLiteral("Quantità da aggiungere:");
}

QString TfrmGiacenza::subtractCaption()
{
    return QStringLiteral("Quantità da sottrarre:");
}

void TfrmGiacenza::btnTotaleClick()
{
    const PriceTools::StockChange change = lblAggiunta->text() == subtractCaption()
                                               ? PriceTools::StockChange::Subtract
                                               : PriceTools::StockChange::Add;
    const PriceTools::StockTotal r =
        PriceTools::stockTotal(change, txtGiacenza->text(), txtAggiunta->text(), txtTotale->text());
    txtGiacenza->setText(r.stock);
    txtAggiunta->setText(r.quantity);
    txtTotale->setText(r.total);
}

void TfrmGiacenza::btnAggiornaClick()
{
    btnTotaleClick();
    if (TfrmMagazzino* card = productCard(m_ctx, parentWidget()))
        card->changeStock(trimmed(txtTotale->text()));
    accept();
}

// ---------------------------------------------------------------- extra data

TfrmDatiPneumatici::TfrmDatiPneumatici(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmDatiPneumatici"), QStringLiteral(" Altre informazioni"));
    makeDialogFrame(this);

    auto* instruction = new QLabel(QStringLiteral("Inserire i dati, fare clic su Applica e chiudi e poi sul "
                                                  "pulsante Salva per salvare le modifiche."),
                                   this);
    instruction->setWordWrap(true);
    setTypeface(instruction, "small");
    setTone(instruction, "instruction");

    txtConsumo = field(this, QStringLiteral("txtConsumo"), 30);
    txtAderenza = field(this, QStringLiteral("txtAderenza"), 30);
    txtRumore = field(this, QStringLiteral("txtRumore"), 30);
    txtOnde = field(this, QStringLiteral("txtOnde"), 30);
    btnApplica = button(this, QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"));
    btnAnnulla = button(this, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(4);
    grid->addWidget(label(QStringLiteral("Altezza:"), txtConsumo, this), 0, 0);
    grid->addWidget(label(QStringLiteral("Larghezza:"), txtAderenza, this), 0, 1);
    grid->addWidget(txtConsumo, 1, 0);
    grid->addWidget(txtAderenza, 1, 1);
    grid->addWidget(label(QStringLiteral("Lunghezza:"), txtRumore, this), 2, 0);
    grid->addWidget(label(QStringLiteral("Scadenza:"), txtOnde, this), 2, 1);
    grid->addWidget(txtRumore, 3, 0);
    grid->addWidget(txtOnde, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnApplica);
    buttons->addWidget(btnAnnulla);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(14);
    layout->addWidget(instruction);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    const QList<QWidget*> fields{txtConsumo, txtAderenza, txtRumore, txtOnde};
    setEnterOrder(fields, btnApplica);
    addHighlights(fields);
    setTabOrder(txtConsumo, txtAderenza);
    setTabOrder(txtAderenza, txtRumore);
    setTabOrder(txtRumore, txtOnde);
    setTabOrder(txtOnde, btnApplica);
    setTabOrder(btnApplica, btnAnnulla);

    connect(btnApplica, &QPushButton::clicked, this, &TfrmDatiPneumatici::btnApplicaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(520, 240);
}

void TfrmDatiPneumatici::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        txtConsumo->setFocus();
}

void TfrmDatiPneumatici::btnApplicaClick()
{
    if (TfrmMagazzino* card = productCard(m_ctx, parentWidget())) {
        const std::pair<QLineEdit*, ProductRecord::Field> fields[] = {{txtConsumo, ProductRecord::Consumo},
                                                                      {txtAderenza, ProductRecord::Aderenza},
                                                                      {txtRumore, ProductRecord::Rumore},
                                                                      {txtOnde, ProductRecord::Onde}};
        for (const auto& [edit, field] : fields)
            card->setFieldText(field, trimmed(edit->text()));
    }
    accept();
}

} // namespace tarvello

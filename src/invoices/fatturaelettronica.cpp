#include "fatturaelettronica.h"

#include "archive/customerrecord.h"
#include "core/text.h"
#include "einvoiceschema.h"
#include "numbering.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/guida.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tarvello
{

namespace
{

QComboBox* choiceBox(QWidget* parent, const QString& name, const QList<EInvoice::Choice>& choices)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const EInvoice::Choice& c : choices)
        box->addItem(c.label, c.code);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(28);
    return box;
}

QString chosen(const QComboBox* box)
{
    return box->currentData().toString();
}

void choose(QComboBox* box, const QString& code)
{
    const int i = box->findData(code);
    box->setCurrentIndex(i < 0 ? 0 : i);
}

QLabel* fieldCaption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setFont(screenFont(QStringLiteral("Verdana"), 9, true));
    l->setBuddy(buddy);
    return l;
}

} // namespace

TfrmFatturaElettronica::TfrmFatturaElettronica(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmFatturaElettronica"), QStringLiteral(" Fattura elettronica"));
    makeDialogFrame(this);
    setFixedSize(660, 600);

    auto* title = new QLabel(QStringLiteral("Fattura elettronica (XML FatturaPA)"), this);
    title->setFont(screenFont(QStringLiteral("Verdana"), 13, true));
    setTone(title, "title");
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/fatturaelettronica.svg")).pixmap(QSize(40, 40)));
    imgGuida = new PictureButton(QStringLiteral("imgGuida"), QStringLiteral(":/icons/guida.svg"),
                                 QStringLiteral("Guida"), QSize(28, 28), this);

    auto* sent = new QGroupBox(QStringLiteral("Che cosa sarà inviato"), this);
    txtAnteprima = new QPlainTextEdit(sent);
    txtAnteprima->setObjectName(QStringLiteral("txtAnteprima"));
    txtAnteprima->setReadOnly(true);
    txtAnteprima->setFont(screenFont(QStringLiteral("Verdana"), 9));
    auto* sentLayout = new QVBoxLayout(sent);
    sentLayout->addWidget(txtAnteprima);

    auto* asked = new QGroupBox(QStringLiteral("Dati che la fattura proforma non contiene"), this);
    cboTipoDocumento = choiceBox(asked, QStringLiteral("cboTipoDocumento"), EInvoice::documentTypes());
    cboRegimeFiscale = choiceBox(asked, QStringLiteral("cboRegimeFiscale"), EInvoice::taxRegimes());
    cboNatura = choiceBox(asked, QStringLiteral("cboNatura"), EInvoice::exemptNatures());
    cboPagamento = choiceBox(asked, QStringLiteral("cboPagamento"), EInvoice::paymentMethods());
    txtNumero = new QLineEdit(asked);
    txtNumero->setObjectName(QStringLiteral("txtNumero"));
    txtNumero->setMaxLength(20);
    txtData = new QLineEdit(asked);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setMaxLength(10);
    txtData->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    for (QLineEdit* e : {txtNumero, txtData})
        e->setFont(screenFont(QStringLiteral("Verdana"), 10, true));
    txtData->setFixedWidth(txtData->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    // Only for a customer with neither a recipient code nor a PEC (the summary above says so).
    chkCassetto = new QCheckBox(
        QStringLiteral("Consegnare la fattura nel cassetto fiscale del cliente (codice 0000000)"), asked);
    chkCassetto->setObjectName(QStringLiteral("chkCassetto"));

    auto* grid = new QGridLayout(asked);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    int row = 0;
    const auto add = [&](const QString& caption, QWidget* field) {
        grid->addWidget(fieldCaption(caption, field, asked), row, 0);
        grid->addWidget(field, row++, 1, 1, 3);
    };
    add(QStringLiteral("Tipo di documento:"), cboTipoDocumento);
    add(QStringLiteral("Regime fiscale della ditta:"), cboRegimeFiscale);
    add(QStringLiteral("Natura delle righe esenti:"), cboNatura);
    add(QStringLiteral("Modalità di pagamento:"), cboPagamento);
    grid->addWidget(fieldCaption(QStringLiteral("Fattura n.:"), txtNumero, asked), row, 0);
    grid->addWidget(txtNumero, row, 1);
    grid->addWidget(fieldCaption(QStringLiteral("Data:"), txtData, asked), row, 2, Qt::AlignRight);
    grid->addWidget(txtData, row++, 3);
    grid->addWidget(chkCassetto, row++, 0, 1, 4);
    grid->setColumnStretch(1, 1);

    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnCrea = new QPushButton(QStringLiteral("Crea"), this);
    btnCrea->setObjectName(QStringLiteral("btnCrea"));

    auto* head = new QHBoxLayout;
    head->addWidget(icon);
    head->addWidget(title, 1);
    head->addWidget(imgGuida);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnCrea);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->addLayout(head);
    layout->addWidget(sent, 1);
    layout->addWidget(asked);
    layout->addLayout(buttons);

    setTabOrder(cboTipoDocumento, cboRegimeFiscale);
    setTabOrder(cboRegimeFiscale, cboNatura);
    setTabOrder(cboNatura, cboPagamento);
    setTabOrder(cboPagamento, txtNumero);
    setTabOrder(txtNumero, txtData);
    setTabOrder(txtData, chkCassetto);
    setTabOrder(chkCassetto, btnAnnulla);
    setTabOrder(btnAnnulla, btnCrea);
    addHighlights({txtNumero, txtData});
    setEnterOrder({txtNumero, txtData}, btnCrea);

    for (QComboBox* box : {cboTipoDocumento, cboRegimeFiscale, cboNatura, cboPagamento})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { updatePreview(); });
    for (QLineEdit* e : {txtNumero, txtData})
        connect(e, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    connect(chkCassetto, &QCheckBox::toggled, this, [this] { updatePreview(); });
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnCrea, &QPushButton::clicked, this, &TfrmFatturaElettronica::btnCreaClick);
    connect(imgGuida, &QToolButton::clicked, this,
            [this] { showHelp(m_ctx, this, EInvoice::helpTitle(), EInvoice::helpText()); });
}

void TfrmFatturaElettronica::setInvoice(const InvoiceDocument& invoice)
{
    m_invoice = invoice;
}

QString TfrmFatturaElettronica::documentsFolder() const
{
    return QDir(m_ctx.folder()).filePath(EInvoice::folderName());
}

QString TfrmFatturaElettronica::iniPath() const
{
    return numberingIniPath(m_ctx.folder());
}

void TfrmFatturaElettronica::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The remembered choices, the proforma's number and date, and what the customer's card adds.
    const EInvoice::Settings settings = EInvoice::readSettings(iniPath());
    const EInvoice::Options defaults = EInvoice::defaultOptions(m_invoice, settings);
    m_customer = EInvoice::findCustomer(m_ctx.filePath(CustomerRecord::fileName()),
                                        m_invoice.customer.taxCode, m_invoice.customer.vatNumber);
    const QSignalBlocker blockers[] = {QSignalBlocker(cboTipoDocumento), QSignalBlocker(cboRegimeFiscale),
                                       QSignalBlocker(cboNatura),        QSignalBlocker(cboPagamento),
                                       QSignalBlocker(txtNumero),        QSignalBlocker(txtData),
                                       QSignalBlocker(chkCassetto)};
    choose(cboTipoDocumento, defaults.documentType);
    choose(cboRegimeFiscale, defaults.taxRegime);
    choose(cboNatura, defaults.exemptNature);
    choose(cboPagamento, defaults.paymentMethod);
    setControlText(txtNumero, defaults.number);
    setControlText(txtData, defaults.date);
    // The tax drawer is a choice only for a customer the document could reach no other way.
    const bool reachable = m_customer.outcome == EInvoice::CustomerLookup::Outcome::Found &&
                           (!isBlank(m_customer.card.recipientCode) || !isBlank(m_customer.card.pec));
    chkCassetto->setChecked(!reachable);
    chkCassetto->setEnabled(!reachable);
    updatePreview();
    cboTipoDocumento->setFocus();
}

EInvoice::Options TfrmFatturaElettronica::options() const
{
    EInvoice::Options o;
    o.documentType = chosen(cboTipoDocumento);
    o.taxRegime = chosen(cboRegimeFiscale);
    o.exemptNature = chosen(cboNatura);
    o.paymentMethod = chosen(cboPagamento);
    o.number = txtNumero->text();
    o.date = txtData->text();
    o.useTaxDrawer = chkCassetto->isChecked();
    o.progressive = EInvoice::proposeProgressive(iniPath(), documentsFolder(), m_invoice.issuer.vatNumber)
                        .value_or(QString());
    o.today = m_ctx.services().now().date();
    return o;
}

EInvoice::Built TfrmFatturaElettronica::buildNow()
{
    return EInvoice::build(m_invoice, m_customer, options());
}

void TfrmFatturaElettronica::updatePreview()
{
    const EInvoice::Built built = buildNow();
    if (built.document) {
        txtAnteprima->setPlainText(EInvoice::describe(*built.document));
    } else {
        QString why = built.refusal;
        why.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
        txtAnteprima->setPlainText(QStringLiteral("La fattura elettronica non può essere creata.\n\n") + why);
    }
}

void TfrmFatturaElettronica::btnCreaClick()
{
    Services& services = m_ctx.services();
    // The customer's card as it is now: another workstation may have changed it since the window opened.
    m_customer = EInvoice::findCustomer(m_ctx.filePath(CustomerRecord::fileName()),
                                        m_invoice.customer.taxCode, m_invoice.customer.vatNumber);
    const EInvoice::Options chosenOptions = options();
    const EInvoice::Built built = EInvoice::build(m_invoice, m_customer, chosenOptions);
    updatePreview();
    if (!built.document) {
        services.message(this, MessageKind::Warning, built.refusal);
        return;
    }
    const EInvoice::Document& document = *built.document;

    const QString schemaFolder = m_ctx.shippedFilesFolder();
    const EInvoice::SchemaCheck check = EInvoice::checkAgainstSchema(document.xml, schemaFolder);
    switch (check.outcome) {
    case EInvoice::SchemaCheck::Outcome::Valid:
        break;
    case EInvoice::SchemaCheck::Outcome::Invalid:
        services.message(this, MessageKind::Warning,
                         EInvoice::explainProblem(check.problems.first(), document.lineRows));
        return;
    case EInvoice::SchemaCheck::Outcome::SchemaMissing:
    case EInvoice::SchemaCheck::Outcome::SchemaUnusable:
        services.message(this, MessageKind::Error, EInvoice::schemaMissingMessage(schemaFolder));
        return;
    }

    const EInvoice::Settings remembered{{}, chosenOptions.taxRegime, chosenOptions.exemptNature};
    const QString failure = EInvoice::save(document, documentsFolder(), iniPath(), remembered);
    if (!failure.isEmpty()) {
        services.message(this, MessageKind::Warning, failure);
        return;
    }
    const QString done = QStringLiteral("La fattura elettronica è stata creata nel file %1 della cartella "
                                        "%2.\n\r\n\rAprire la cartella?")
                             .arg(document.fileName, EInvoice::folderName());
    if (services.message(this, MessageKind::Confirmation, done) == Answer::Yes)
        openOrExplain(services, this, QUrl::fromLocalFile(documentsFolder()));
    accept();
}

} // namespace tarvello

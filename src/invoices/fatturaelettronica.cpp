#include "fatturaelettronica.h"

#include "archive/customerrecord.h"
#include "core/text.h"
#include "countries.h"
#include "einvoicefile.h"
#include "einvoiceschema.h"
#include "einvoicesign.h"
#include "numbering.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/fonts.h"
#include "shell/guida.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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
    setTypeface(l, "smallBold");
    l->setBuddy(buddy);
    return l;
}

} // namespace

TfrmFatturaElettronica::TfrmFatturaElettronica(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmFatturaElettronica"), QStringLiteral(" Fattura elettronica"));
    makeDialogFrame(this);
    setFixedSize(820, 690);

    auto* title = new QLabel(QStringLiteral("Fattura elettronica (XML FatturaPA)"), this);
    setTypeface(title, "title");
    setTone(title, "title");
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/fatturaelettronica.svg")).pixmap(QSize(40, 40)));
    imgGuida = new PictureButton(QStringLiteral("imgGuida"), QStringLiteral(":/icons/guida.svg"),
                                 QStringLiteral("Guida"), QSize(28, 28), this);

    auto* sent = new QGroupBox(QStringLiteral("Che cosa sarà inviato"), this);
    txtAnteprima = new QPlainTextEdit(sent);
    txtAnteprima->setObjectName(QStringLiteral("txtAnteprima"));
    txtAnteprima->setReadOnly(true);
    setTypeface(txtAnteprima, "small");
    auto* sentLayout = new QVBoxLayout(sent);
    sentLayout->addWidget(txtAnteprima);

    auto* asked = new QGroupBox(QStringLiteral("Dati che la fattura proforma non contiene"), this);
    cboTipoDocumento = choiceBox(asked, QStringLiteral("cboTipoDocumento"), EInvoice::documentTypes());
    cboRegimeFiscale = choiceBox(asked, QStringLiteral("cboRegimeFiscale"), EInvoice::taxRegimes());
    cboNatura = choiceBox(asked, QStringLiteral("cboNatura"), EInvoice::exemptNatures());
    cboPagamento = choiceBox(asked, QStringLiteral("cboPagamento"), EInvoice::paymentMethods());
    cboEsigibilita = choiceBox(asked, QStringLiteral("cboEsigibilita"), EInvoice::collectabilities());
    QList<EInvoice::Choice> countries;
    for (const Countries::Country& c : Countries::all())
        countries.append({c.code, QStringLiteral("%1 (%2)").arg(c.name, c.code)});
    cboPaese = choiceBox(asked, QStringLiteral("cboPaese"), countries);
    for (QComboBox* box : {cboTipoDocumento, cboRegimeFiscale, cboPagamento, cboEsigibilita, cboPaese})
        box->setMinimumContentsLength(20);
    // Typing a country's first letters finds it in the long list.
    cboPaese->setEditable(false);
    txtProtocollo = new QLineEdit(asked);
    txtProtocollo->setObjectName(QStringLiteral("txtProtocollo"));
    txtProtocollo->setMaxLength(24);
    txtProtocollo->setPlaceholderText(QStringLiteral("17 cifre - 6 cifre"));
    txtDataIntento = new QLineEdit(asked);
    txtDataIntento->setObjectName(QStringLiteral("txtDataIntento"));
    txtDataIntento->setMaxLength(10);
    txtDataIntento->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    txtTrasmittente = new QLineEdit(asked);
    txtTrasmittente->setObjectName(QStringLiteral("txtTrasmittente"));
    txtTrasmittente->setMaxLength(16);
    makeUpperCase(txtTrasmittente);
    // Documents for public administrations are signed with this certificate; its password is
    // asked at each "Crea" and never kept.
    txtCertificato = new QLineEdit(asked);
    txtCertificato->setObjectName(QStringLiteral("txtCertificato"));
    txtCertificato->setPlaceholderText(QStringLiteral("nessuno: il file va firmato a parte"));
    btnCertificato = new QPushButton(QStringLiteral("Scegli..."), asked);
    btnCertificato->setObjectName(QStringLiteral("btnCertificato"));
    txtNumero = new QLineEdit(asked);
    txtNumero->setObjectName(QStringLiteral("txtNumero"));
    txtNumero->setMaxLength(20);
    txtData = new QLineEdit(asked);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setMaxLength(10);
    txtData->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    for (QLineEdit* e : {txtNumero, txtData})
        e->setFont(Fonts::einvoiceField());
    for (QLineEdit* e : {txtProtocollo, txtDataIntento, txtTrasmittente})
        e->setFont(Fonts::einvoiceField());
    for (QLineEdit* e : {txtData, txtDataIntento})
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    // Only for a customer with neither a recipient code nor a PEC (the summary above says so).
    chkCassetto = new QCheckBox(
        QStringLiteral("Consegnare la fattura nel cassetto fiscale del cliente (codice 0000000)"), asked);
    chkCassetto->setObjectName(QStringLiteral("chkCassetto"));

    auto* grid = new QGridLayout(asked);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    int row = 0;
    // Two fields a row, the nature (whose names are long) alone on its own.
    const auto pair = [&](const QString& left, QWidget* leftField, const QString& right,
                          QWidget* rightField) {
        grid->addWidget(fieldCaption(left, leftField, asked), row, 0);
        grid->addWidget(leftField, row, 1);
        grid->addWidget(fieldCaption(right, rightField, asked), row, 2);
        grid->addWidget(rightField, row++, 3);
    };
    pair(QStringLiteral("Tipo di documento:"), cboTipoDocumento, QStringLiteral("Paese del cliente:"),
         cboPaese);
    pair(QStringLiteral("Regime fiscale della ditta:"), cboRegimeFiscale, QStringLiteral("Esigibilità IVA:"),
         cboEsigibilita);
    grid->addWidget(fieldCaption(QStringLiteral("Natura delle righe esenti:"), cboNatura, asked), row, 0);
    grid->addWidget(cboNatura, row++, 1, 1, 3);
    pair(QStringLiteral("Dichiarazione d'intento n.:"), txtProtocollo, QStringLiteral("del:"),
         txtDataIntento);
    pair(QStringLiteral("Modalità di pagamento:"), cboPagamento, QStringLiteral("C.F. del trasmittente:"),
         txtTrasmittente);
    pair(QStringLiteral("Fattura n.:"), txtNumero, QStringLiteral("Data:"), txtData);
    grid->addWidget(fieldCaption(QStringLiteral("Certificato di firma:"), txtCertificato, asked), row, 0);
    grid->addWidget(txtCertificato, row, 1, 1, 2);
    grid->addWidget(btnCertificato, row++, 3, Qt::AlignLeft);
    grid->addWidget(chkCassetto, row++, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

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

    const QList<QWidget*> tabs = {cboTipoDocumento, cboPaese,      cboRegimeFiscale, cboEsigibilita,
                                  cboNatura,        txtProtocollo, txtDataIntento,   cboPagamento,
                                  txtTrasmittente,  txtNumero,     txtData,          txtCertificato,
                                  btnCertificato,   chkCassetto};
    for (qsizetype i = 1; i < tabs.size(); ++i)
        setTabOrder(tabs[i - 1], tabs[i]);
    setTabOrder(chkCassetto, btnAnnulla);
    setTabOrder(btnAnnulla, btnCrea);
    addHighlights({txtProtocollo, txtDataIntento, txtTrasmittente, txtNumero, txtData});
    setEnterOrder({txtProtocollo, txtDataIntento, txtTrasmittente, txtNumero, txtData}, btnCrea);

    for (QComboBox* box :
         {cboTipoDocumento, cboRegimeFiscale, cboNatura, cboPagamento, cboEsigibilita, cboPaese})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { updatePreview(); });
    // The declaration of intent belongs to the nature N3.5 alone.
    connect(cboNatura, &QComboBox::currentIndexChanged, this, [this] { enableIntent(); });
    for (QLineEdit* e : {txtNumero, txtData, txtProtocollo, txtDataIntento, txtTrasmittente})
        connect(e, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    connect(chkCassetto, &QCheckBox::toggled, this, [this] { updatePreview(); });
    connect(btnCertificato, &QPushButton::clicked, this, [this] {
        if (const std::optional<QString> file = m_ctx.services().openFileName(
                this, QStringLiteral(" Certificato di firma"),
                QStringLiteral("Certificati di firma (*.p12 *.pfx);;Tutti i file (*)")))
            txtCertificato->setText(*file);
    });
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

QString TfrmFatturaElettronica::intentsPath() const
{
    return m_ctx.filePath(EInvoice::intentsFileName());
}

void TfrmFatturaElettronica::enableIntent()
{
    const bool n35 = chosen(cboNatura) == u"N3.5";
    txtProtocollo->setEnabled(n35);
    txtDataIntento->setEnabled(n35);
}

void TfrmFatturaElettronica::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The remembered choices, the proforma's number and date, and what the customer's card adds.
    const EInvoice::Settings settings = EInvoice::readSettings(iniPath());
    const EInvoice::Options defaults = EInvoice::defaultOptions(m_invoice, settings);
    m_customer = EInvoice::findCustomer(m_ctx.filePath(CustomerRecord::fileName()),
                                        m_invoice.customer.taxCode, m_invoice.customer.vatNumber);
    const QSignalBlocker blockers[] = {
        QSignalBlocker(cboTipoDocumento), QSignalBlocker(cboRegimeFiscale), QSignalBlocker(cboNatura),
        QSignalBlocker(cboPagamento),     QSignalBlocker(cboEsigibilita),   QSignalBlocker(cboPaese),
        QSignalBlocker(txtNumero),        QSignalBlocker(txtData),          QSignalBlocker(txtProtocollo),
        QSignalBlocker(txtDataIntento),   QSignalBlocker(txtTrasmittente),  QSignalBlocker(chkCassetto),
        QSignalBlocker(txtCertificato)};
    choose(cboTipoDocumento, defaults.documentType);
    choose(cboRegimeFiscale, defaults.taxRegime);
    choose(cboNatura, defaults.exemptNature);
    choose(cboPagamento, defaults.paymentMethod);
    choose(cboPaese, defaults.country);
    choose(cboEsigibilita, EInvoice::proposedCollectability(m_customer));
    setControlText(txtNumero, defaults.number);
    setControlText(txtData, defaults.date);
    const EInvoice::Intent intent = EInvoice::readIntent(intentsPath(), EInvoice::intentKey(m_invoice));
    setControlText(txtCertificato, settings.certificate);
    setControlText(txtProtocollo, intent.protocol);
    setControlText(txtDataIntento, intent.date);
    const QString issuerTaxCode = trimmed(m_invoice.issuer.taxCode);
    setControlText(txtTrasmittente,
                   upperAscii(issuerTaxCode.isEmpty() ? trimmed(m_invoice.issuer.vatNumber) : issuerTaxCode));
    enableIntent();
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
    o.country = chosen(cboPaese);
    o.collectability = chosen(cboEsigibilita);
    o.intentProtocol = txtProtocollo->text();
    o.intentDate = txtDataIntento->text();
    o.transmitterTaxCode = txtTrasmittente->text();
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

    // A document for a public administration is signed, with the password asked now, before the
    // folder is taken: a wrong one is asked again, a cancelled one writes nothing.
    std::optional<EInvoice::Signer> signer;
    const bool forPublicBody = document.format == u"FPA12";
    const QString certificate = trimmed(txtCertificato->text());
    if (forPublicBody && !certificate.isEmpty()) {
        for (;;) {
            const std::optional<QString> password = services.inputSecret(
                this, QStringLiteral(" Firma della fattura elettronica"),
                QStringLiteral("Password del certificato %1:").arg(QFileInfo(certificate).fileName()));
            if (!password)
                return;
            const EInvoice::SignResult trial = EInvoice::sign(document.xml, certificate, *password);
            if (trial.ok()) {
                signer = EInvoice::Signer{certificate, *password};
                break;
            }
            services.message(this, MessageKind::Warning, trial.message);
            if (trial.outcome != EInvoice::SignResult::Outcome::WrongPassword)
                return;
        }
    }

    const EInvoice::Settings remembered{{}, chosenOptions.taxRegime, chosenOptions.exemptNature, certificate};
    const EInvoice::Saved saved =
        EInvoice::save(documentsFolder(), iniPath(), remembered, m_invoice.issuer.vatNumber,
                       [&](const QString& progressive) {
                           return EInvoice::makeFile(m_invoice, m_customer, chosenOptions, schemaFolder,
                                                     signer, progressive);
                       });
    signer.reset();
    if (!saved.ok()) {
        services.message(this, MessageKind::Warning, saved.failure);
        updatePreview();
        return;
    }
    // The customer's declaration of intent, for its next invoices.
    if (chosenOptions.exemptNature == u"N3.5" &&
        !EInvoice::writeIntent(intentsPath(), EInvoice::intentKey(m_invoice),
                               {trimmed(chosenOptions.intentProtocol), trimmed(chosenOptions.intentDate)}))
        services.message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: non è stato possibile ricordare la dichiarazione d'intento "
                           "del cliente nel file %1.")
                .arg(EInvoice::intentsFileName()));
    QString done;
    if (forPublicBody && !certificate.isEmpty())
        done = QStringLiteral("La fattura elettronica firmata è stata creata nel file %1 della cartella "
                              "%2.\n\r\n\rAprire la cartella?");
    else if (forPublicBody)
        done =
            QStringLiteral("La fattura elettronica è stata creata nel file %1 della cartella %2.\n\r\n\rÈ "
                           "destinata a una pubblica amministrazione: prima dell'invio va firmata "
                           "digitalmente (file .xml.p7m), altrimenti il Sistema di Interscambio la scarta. "
                           "Per firmarla con il programma, scegliere il certificato di firma.\n\r\n\rAprire "
                           "la cartella?");
    else
        done = QStringLiteral("La fattura elettronica è stata creata nel file %1 della cartella "
                              "%2.\n\r\n\rAprire la cartella?");
    done = done.arg(saved.fileName, EInvoice::folderName());
    if (services.message(this, MessageKind::Confirmation, done) == Answer::Yes)
        openOrExplain(services, this, QUrl::fromLocalFile(documentsFolder()));
    accept();
}

} // namespace tarvello

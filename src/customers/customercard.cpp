#include "customercard.h"

#include "core/text.h"

namespace tarvello::CustomerCard
{

using namespace CustomerRecord;

namespace
{

constexpr bool no = false;
constexpr bool yes = true;

// clang-format off
const ScreenField kFields[] = {
    // control             label                                           field         cap  refused         digits trim upper leave prov
    {u"txtCognome",       u"Cognome:",                                     Cognome,       50, Refused::SetA, no,  no,  no,  no,  no},
    {u"txtNome",          u"Nome:",                                        Nome,          50, Refused::SetA, no,  no,  no,  no,  no},
    {u"txtDitta",         u"Denominazione Ditta:",                         Ditta,         50, Refused::SetB, no,  no,  no,  no,  no},
    {u"txtSesso",         u"Sesso:",                                       Sesso,          1, Refused::None, no,  no,  yes, no,  no},
    {u"txtRecapito",      u"Telefono preferenziale:",                      Recapito,      50, Refused::SetA, no,  no,  no,  no,  no},
    {u"txtIndirizzoRes",  u"Residente in Via / Piazza e numero civico:",   IndirizzoRes,  50, Refused::SetA, no,  no,  no,  no,  no},
    {u"txtProvRes",       u"Prov.",                                        ProvRes,        2, Refused::SetA, no,  yes, yes, yes, yes},
    {u"txtComuneRes",     u"Comune di residenza:",                         ComuneRes,     50, Refused::SetA, no,  no,  no,  no,  no},
    {u"txtCapRes",        u"CAP:",                                         CapRes,         5, Refused::None, yes, yes, yes, no,  no},
    {u"txtDataNasc",      u"Data di nascita:",                             DataNasc,      30, Refused::None, no,  no,  no,  no,  no},
    {u"txtComuneNasc",    u"Comune di nascita:",                           ComuneNasc,    50, Refused::None, no,  no,  no,  no,  no},
    {u"txtProvNasc",      u"Prov.",                                        ProvNasc,       2, Refused::None, no,  yes, yes, yes, yes},
    {u"txtTelCasa",       u"Tel. casa:",                                   TelCasa,       30, Refused::None, no,  no,  no,  no,  no},
    {u"txtTelUff",        u"Tel. ufficio:",                                TelUff,        30, Refused::None, no,  no,  no,  no,  no},
    {u"txtTelCel",        u"Tel. cellulare:",                              TelCel,        30, Refused::None, no,  no,  no,  no,  no},
    {u"txtPec",           u"Indirizzo PEC:",                               Pec,           60, Refused::SetA, no,  yes, no,  no,  no},
    {u"txtEmail",         u"E-mail:",                                      Email,         50, Refused::None, no,  yes, no,  yes, no},
    {u"txtCodFisc",       u"Codice fiscale:",                              CodFisc,       16, Refused::SetA, no,  yes, yes, no,  no},
    {u"txtCarta",         u"Carta di credito n.",                          Carta,         30, Refused::None, yes, no,  no,  no,  no},
    {u"txtScadeCarta",    u"Scadenza:",                                    ScadeCarta,    30, Refused::None, no,  no,  no,  no,  no},
    {u"txtPartitaIva",    u"Partita IVA:",                                 PartitaIva,    11, Refused::None, yes, no,  no,  no,  no},
    {u"txtIban",          u"IBAN:",                                        Iban,          27, Refused::SetA, no,  yes, yes, no,  no},
    {u"txtTipoPat",       u"Tipo documento:",                              TipoPat,       30, Refused::None, no,  no,  no,  no,  no},
    {u"txtNumPat",        u"Numero:",                                      NumPat,        50, Refused::None, no,  no,  no,  no,  no},
    {u"txtEnteRil",       u"Ente di rilascio:",                            EnteRil,       50, Refused::None, no,  no,  no,  no,  no},
    {u"txtDataRil",       u"Data di rilascio:",                            DataRil,       10, Refused::None, no,  no,  no,  no,  no},
    {u"txtDataSca",       u"Data di scadenza:",                            DataSca,       10, Refused::None, no,  no,  no,  no,  no},
    {u"txtConducente",    u"Prodotti e servizi di interesse:",             Conducente,   250, Refused::None, no,  no,  no,  no,  no},
    {u"txtQuestioni",     u"Questioni in sospeso:",                        Questioni,    250, Refused::None, no,  no,  no,  no,  no},
    {u"txtNote",          u"Note:",                                        Note,         250, Refused::None, no,  no,  no,  no,  no},
    {u"txtCodiceDest",    u"Codice Destinatario (7 caratteri):",           CodiceDest,     7, Refused::SetA, no,  yes, yes, no,  no},
};
// clang-format on
static_assert(std::size(kFields) == 31);

// The accented letters of the refused set, capitals and small letters.
constexpr char16_t kAccented[] = u"ÀÁÂÄÇÈÉÊËÌÍÎÏÑÒÓÔÖÙÚÛÜàáâäçèéêëìíîïñòóôöùúûü";

} // namespace

bool isRefused(QChar c, Refused set)
{
    if (set == Refused::None)
        return false;
    switch (c.unicode()) {
    case u'&':
        return set == Refused::SetA;
    case u'/':
    case u'<':
    case u'>':
    case u'£':
    case u'°':
        return true;
    default:
        break;
    }
    // Nothing above U+00FF is in either set (the euro sign passes, too).
    if (c.unicode() > 0xFF)
        return false;
    return QStringView(kAccented).contains(c);
}

std::span<const ScreenField> screenFields()
{
    return kFields;
}

const ScreenField* screenField(QStringView control)
{
    for (const ScreenField& f : kFields)
        if (f.control == control)
            return &f;
    return nullptr;
}

Record toRecord(const CardTexts& texts)
{
    return CardArchive::recordFromTexts(CustomerRecord::layout(), texts);
}

CardTexts fromRecord(const Record& record)
{
    CardTexts texts;
    CardArchive::textsFromRecord(record, texts);
    return texts;
}

QUrl mailUrl(QStringView address)
{
    QUrl mail;
    mail.setScheme(QStringLiteral("mailto"));
    mail.setPath(trimmed(address), QUrl::DecodedMode);
    return mail;
}

std::optional<bool> recontactState(QStringView flag)
{
    return CardArchive::flagState(flag);
}

QString recontactFlag(bool ticked)
{
    return ticked ? Record::yesText() : Record::noText();
}

Problem check(const CardTexts& texts)
{
    if (isBlank(texts[Cognome]))
        return Problem::MissingSurname;
    if (isBlank(texts[Nome]))
        return Problem::MissingName;
    return Problem::None;
}

namespace Messages
{

QString surnameMissing()
{
    return QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il cognome del cliente.");
}
QString nameMissing()
{
    return QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il nome del cliente.");
}

} // namespace Messages

std::array<ReportRow, reportRowCount> reportRows(const CardTexts& t)
{
    const auto v = [&t](Field f) { return trimmed(t[size_t(f)]); };
    const QString sp = QStringLiteral(" ");
    const QString expiry = QStringLiteral("  -  Scadenza: ");
    return {{
        {QStringLiteral("Cognome e nome:"), v(Cognome) + sp + v(Nome)},
        {QStringLiteral("Data di nascita:"), v(DataNasc)},
        {QStringLiteral("Comune di nascita:"), v(ComuneNasc) + sp + v(ProvNasc)},
        {QStringLiteral("Codice Destinatario:"), v(CodiceDest)},
        {QStringLiteral("Telefono preferenziale:"), v(Recapito)},
        {QStringLiteral("Indirizzo di residenza:"), v(IndirizzoRes)},
        {QStringLiteral("Comune di residenza:"), v(ComuneRes) + sp + v(ProvRes)},
        {QStringLiteral("Denominazione Ditta:"), v(Ditta)},
        {QStringLiteral("Tel. casa:"), v(TelCasa)},
        {QStringLiteral("Tel. ufficio:"), v(TelUff)},
        {QStringLiteral("Tel. cellulare:"), v(TelCel)},
        {QStringLiteral("Indirizzo PEC:"), v(Pec)},
        {QStringLiteral("E-mail:"), v(Email)},
        {QStringLiteral("Codice fiscale:"), v(CodFisc)},
        {QStringLiteral("Partita IVA:"), v(PartitaIva)},
        {QStringLiteral("Carta di credito:"), QStringLiteral("N. ") + v(Carta) + expiry + v(ScadeCarta)},
        {QStringLiteral("IBAN:"), v(Iban)},
        {QStringLiteral("Tipo documento:"), v(TipoPat)},
        {QStringLiteral("Numero documento:"), v(NumPat)},
        {QStringLiteral("Ente di rilascio:"), v(EnteRil)},
        {QStringLiteral("Data di rilascio:"), v(DataRil) + expiry + v(DataSca)},
        {QStringLiteral("Prodotti e servizi:"), v(Conducente)},
        {QStringLiteral("Questioni in sospeso:"), v(Questioni)},
        {QStringLiteral("Note:"), v(Note)},
    }};
}

QString helpTitle()
{
    return QStringLiteral("Applicazione Anagrafica Clienti.");
}

QString helpText()
{
    const QString paragraphs[] = {
        QStringLiteral(
            "L'Anagrafica Clienti raccoglie in un unico archivio i dati di tutti i clienti. Serve "
            "innanzitutto a velocizzare l'emissione delle fatture proforma, nelle quali i dati del "
            "cliente si importano con un clic invece di riscriverli ogni volta; è inoltre una rubrica "
            "completa, con indirizzi di posta elettronica e controllo dei codici, e un promemoria dei "
            "prodotti e dei servizi che ogni cliente acquista più spesso."),
        QStringLiteral(
            "Ogni scheda contiene i dati anagrafici del cliente (cognome, nome, sesso, data e comune di "
            "nascita), la denominazione della ditta, l'indirizzo di residenza, i recapiti telefonici, "
            "l'indirizzo PEC e l'e-mail, il codice fiscale, la partita IVA, il codice destinatario per "
            "la fatturazione elettronica, il numero e la scadenza della carta di credito e l'IBAN."),
        QStringLiteral(
            "Nella scheda si possono annotare anche gli estremi di un documento di identità (tipo, "
            "numero, ente, data di rilascio e di scadenza), i prodotti e i servizi di interesse del "
            "cliente e delle note libere."),
        QStringLiteral(
            "Per inserire un nuovo cliente premere Nuovo, compilare i campi e premere Salva: cognome e "
            "nome sono obbligatori. Per modificare una scheda esistente, visualizzarla con le frecce di "
            "navigazione in basso a destra oppure con il pulsante Trova, apportare le modifiche e "
            "premere di nuovo Salva."),
        QStringLiteral(
            "Nel campo \"Questioni in sospeso\" si annotano le questioni ancora aperte con il cliente. "
            "Spuntando la casella \"Da ricontattare\" e salvando la scheda, il cliente compare "
            "nell'elenco dei clienti da ricontattare, che si apre con il pulsante Da ricontattare; "
            "risolta la questione, basta togliere la spunta e salvare di nuovo."),
        QStringLiteral(
            "Il pulsante Duplica prepara una nuova scheda con gli stessi dati di quella visualizzata, "
            "esclusi i file allegati: è comodo per i clienti con dati simili, per esempio due persone "
            "della stessa famiglia o della stessa ditta. Dopo le modifiche, Salva inserisce la nuova "
            "scheda lasciando invariata quella di partenza."),
        QStringLiteral(
            "Il pulsante Trova cerca le schede in archivio per cognome, ditta, partita IVA, codice "
            "fiscale, comune, cellulare, prodotti di interesse, codice destinatario, questioni in "
            "sospeso e note; si possono usare più filtri contemporaneamente e vengono elencate soltanto "
            "le schede che li soddisfano tutti."),
        QStringLiteral(
            "Con il pulsante Allega file si possono allegare alla scheda fino a tre file, ciascuno con "
            "una descrizione, per esempio la copia del documento di identità. I file vengono copiati "
            "nella cartella Documenti_Allegati del programma e si aprono con il pulsante \"Apri\"; gli "
            "allegati vengono registrati quando si salva la scheda."),
        QStringLiteral(
            "I pulsanti di controllo accanto ai campi verificano il codice fiscale, la partita IVA, il "
            "numero della carta di credito e l'IBAN; il controllo della partita IVA indica anche "
            "l'Ufficio IVA provinciale che l'ha rilasciata. Il pulsante accanto al campo E-mail apre il "
            "programma di posta elettronica con un nuovo messaggio indirizzato al cliente."),
        QStringLiteral(
            "La scheda visualizzata si può stampare su carta, vedere in anteprima o esportare in un "
            "file PDF; il pulsante Esporta archivio salva tutte le schede in un foglio di calcolo di "
            "Microsoft Excel."),
    };
    QString text;
    for (const QString& p : paragraphs) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n\r\n");
        text += p;
    }
    return text;
}

} // namespace tarvello::CustomerCard

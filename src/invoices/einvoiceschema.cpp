#include "einvoiceschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlIO.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

namespace tarvello::EInvoice
{

namespace
{

Q_LOGGING_CATEGORY(lcEInvoice, "tarvello.invoices")

#if LIBXML_VERSION >= 21200
using ErrorArgument = const xmlError*;
#else
using ErrorArgument = xmlErrorPtr;
#endif

QString fromXml(const xmlChar* text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

struct Collected {
    QList<SchemaProblem> problems;
    QStringList schemaErrors;
};

// Where the fault lies: the element's names below the root, each with its place among the
// elements of its name under the same parent.
void locate(const xmlNode* node, SchemaProblem& p)
{
    while (node && node->type != XML_ELEMENT_NODE)
        node = node->parent;
    for (; node && node->type == XML_ELEMENT_NODE && node->parent && node->parent->type == XML_ELEMENT_NODE;
         node = node->parent) {
        int place = 1;
        for (const xmlNode* s = node->prev; s; s = s->prev)
            if (s->type == XML_ELEMENT_NODE && xmlStrEqual(s->name, node->name))
                ++place;
        p.path.prepend(fromXml(node->name));
        p.places.prepend(place);
    }
}

QString leafValue(const xmlNode* node)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return {};
    for (const xmlNode* c = node->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE)
            return {};
    xmlChar* content = xmlNodeGetContent(node);
    const QString value = fromXml(content);
    xmlFree(content);
    return value;
}

void collectValidity(void* user, ErrorArgument error)
{
    auto* c = static_cast<Collected*>(user);
    if (!error || error->level < XML_ERR_ERROR)
        return;
    SchemaProblem p;
    p.technical = QString::fromUtf8(error->message ? error->message : "").trimmed();
    const auto* node = static_cast<const xmlNode*>(error->node);
    locate(node, p);
    p.wrongPlace = error->code == XML_SCHEMAV_ELEMENT_CONTENT ||
                   error->code == XML_SCHEMAV_CVC_COMPLEX_TYPE_2_4 ||
                   p.technical.contains(QStringLiteral("Missing child element")) ||
                   p.technical.contains(QStringLiteral("is not expected"));
    if (p.wrongPlace) {
        static const QRegularExpression expected(QStringLiteral("Expected is (?:one of )?\\( *([^ ,)]+)"));
        const QRegularExpressionMatch m = expected.match(p.technical);
        if (m.hasMatch())
            p.expected = m.captured(1);
    } else {
        p.value = leafValue(node);
    }
    // The validator reports a value twice (its pattern, then its type): the first says it all.
    for (const SchemaProblem& earlier : c->problems)
        if (earlier.path == p.path && earlier.places == p.places)
            return;
    c->problems.append(p);
}

void collectSchemaError(void* user, ErrorArgument error)
{
    if (error && error->level >= XML_ERR_ERROR)
        static_cast<Collected*>(user)->schemaErrors.append(
            QString::fromUtf8(error->message ? error->message : "").trimmed());
}

// Messages of the parser that have no context of their own go nowhere: what matters is collected.
void silence(void*, ErrorArgument) {}

// One field of the document as the user knows it.
struct Field {
    const char16_t* path; // the last names of the element's path
    const char16_t* name; // "%1" stands for the invoice row of a line
    bool feminine;
    const char16_t* format; // what the field takes; may be empty
    const char16_t* fix;
};

constexpr char16_t kOnInvoice[] = u"Correggere la riga sulla fattura.";

const Field kFields[] = {
    {u"IdTrasmittente/IdCodice", u"Partita IVA del trasmittente", true, u"11 cifre",
     u"Correggere la partita IVA nel riquadro Ditta emittente della fattura."},
    {u"DatiTrasmissione/ProgressivoInvio", u"Numero progressivo del file", false, u"",
     u"Controllare la chiave Progressivo della sezione Fattura Elettronica del file Numerazione.ini."},
    {u"DatiTrasmissione/CodiceDestinatario", u"Codice destinatario del cessionario", false,
     u"7 caratteri, 6 per una pubblica amministrazione, lettere maiuscole e cifre",
     u"Correggere il codice destinatario sulla scheda del cliente nell'anagrafica clienti."},
    {u"DatiTrasmissione/PECDestinatario", u"Indirizzo PEC del cessionario", false,
     u"un indirizzo di posta elettronica",
     u"Correggere l'indirizzo PEC sulla scheda del cliente nell'anagrafica clienti."},

    {u"CedentePrestatore/DatiAnagrafici/IdFiscaleIVA/IdCodice", u"Partita IVA del cedente", true, u"11 cifre",
     u"Correggere la partita IVA nel riquadro Ditta emittente della fattura."},
    {u"CedentePrestatore/DatiAnagrafici/CodiceFiscale", u"Codice fiscale del cedente", false,
     u"da 11 a 16 lettere maiuscole e cifre",
     u"Correggere il codice fiscale nel riquadro Ditta emittente della fattura."},
    {u"CedentePrestatore/DatiAnagrafici/Anagrafica/Denominazione", u"Denominazione del cedente", true,
     u"al massimo 80 caratteri",
     u"Correggere il nome della ditta nel riquadro Ditta emittente della fattura."},
    {u"CedentePrestatore/Sede/Indirizzo", u"Indirizzo della sede del cedente", false,
     u"al massimo 60 caratteri",
     u"Correggere via e numero civico nel riquadro Ditta emittente della fattura."},
    {u"CedentePrestatore/Sede/CAP", u"CAP della sede del cedente", false, u"5 cifre",
     u"Correggere il CAP nel riquadro Ditta emittente della fattura."},
    {u"CedentePrestatore/Sede/Comune", u"Comune della sede del cedente", false, u"al massimo 60 caratteri",
     u"Correggere la città nel riquadro Ditta emittente della fattura."},
    {u"CedentePrestatore/Sede/Provincia", u"Provincia della sede del cedente", true,
     u"la sigla di due lettere", u"Correggere la provincia nel riquadro Ditta emittente della fattura."},

    {u"CessionarioCommittente/DatiAnagrafici/IdFiscaleIVA/IdCodice", u"Partita IVA del cessionario", true,
     u"11 cifre", u"Correggere la partita IVA del cliente sulla fattura e sulla sua scheda."},
    {u"CessionarioCommittente/DatiAnagrafici/CodiceFiscale", u"Codice fiscale del cessionario", false,
     u"16 caratteri, o 11 cifre, lettere maiuscole",
     u"Correggere il codice fiscale del cliente sulla fattura e "
     u"sulla sua scheda."},
    {u"CessionarioCommittente/DatiAnagrafici/Anagrafica/Denominazione", u"Denominazione del cessionario",
     true, u"al massimo 80 caratteri", u"Correggere il nome del cliente sulla fattura o sulla sua scheda."},
    {u"CessionarioCommittente/DatiAnagrafici/Anagrafica/Nome", u"Nome del cessionario", false,
     u"al massimo 60 caratteri", u"Correggere il nome sulla scheda del cliente nell'anagrafica clienti."},
    {u"CessionarioCommittente/DatiAnagrafici/Anagrafica/Cognome", u"Cognome del cessionario", false,
     u"al massimo 60 caratteri", u"Correggere il cognome sulla scheda del cliente nell'anagrafica clienti."},
    {u"CessionarioCommittente/Sede/Indirizzo", u"Indirizzo della sede del cessionario", false,
     u"al massimo 60 caratteri", u"Correggere via e numero civico del cliente sulla fattura."},
    {u"CessionarioCommittente/Sede/CAP", u"CAP della sede del cessionario", false, u"5 cifre",
     u"Correggere il CAP del cliente sulla fattura."},
    {u"CessionarioCommittente/Sede/Comune", u"Comune della sede del cessionario", false,
     u"al massimo 60 caratteri", u"Correggere la città del cliente sulla fattura."},
    {u"CessionarioCommittente/Sede/Provincia", u"Provincia della sede del cessionario", true,
     u"la sigla di due lettere", u"Correggere la provincia del cliente sulla fattura."},

    {u"DatiGeneraliDocumento/Numero", u"Numero della fattura elettronica", false,
     u"al massimo 20 caratteri, senza lettere accentate",
     u"Correggere il numero nella finestra della fattura elettronica."},
    {u"DatiGeneraliDocumento/Data", u"Data della fattura elettronica", true, u"",
     u"Correggere la data nella finestra della fattura elettronica."},
    {u"DatiGeneraliDocumento/Causale", u"Testo delle note", false, u"", u"Correggere le note sulla fattura."},
    {u"DatiGeneraliDocumento/ImportoTotaleDocumento", u"Totale della fattura", false,
     u"al massimo 11 cifre intere", u"Controllare le quantità e i prezzi delle righe sulla fattura."},
    {u"DatiTrasporto/CausaleTrasporto", u"Causale del trasporto", true, u"al massimo 100 caratteri",
     u"Correggere i dati del trasporto nella finestra Altre informazioni della fattura."},
    {u"DatiTrasporto/Descrizione", u"Aspetto esteriore dei beni", false, u"al massimo 100 caratteri",
     u"Correggere i dati del trasporto nella finestra Altre informazioni della fattura."},
    {u"DatiTrasporto/NumeroColli", u"Numero colli", false, u"da 1 a 9999",
     u"Correggere i dati del trasporto nella finestra Altre informazioni della fattura."},

    {u"DettaglioLinee/Descrizione", u"Descrizione della riga %1", true, u"", kOnInvoice},
    {u"DettaglioLinee/CodiceArticolo/CodiceValore", u"Codice articolo della riga %1", false,
     u"al massimo 35 caratteri", kOnInvoice},
    {u"DettaglioLinee/Quantita", u"Quantità della riga %1", true, u"non negativa, al massimo otto decimali",
     kOnInvoice},
    {u"DettaglioLinee/PrezzoUnitario", u"Prezzo della riga %1", false,
     u"al massimo 11 cifre intere e otto decimali", kOnInvoice},
    {u"ScontoMaggiorazione/Percentuale", u"Sconto della riga %1", false, u"da 0 a 100", kOnInvoice},
    {u"ScontoMaggiorazione/Importo", u"Sconto della riga %1", false, u"", kOnInvoice},
    {u"DettaglioLinee/PrezzoTotale", u"Importo della riga %1", false, u"al massimo 11 cifre intere",
     kOnInvoice},
    {u"DettaglioLinee/AliquotaIVA", u"Aliquota IVA della riga %1", true, u"da 0 a 100, due decimali",
     u"Correggere l'aliquota IVA sulla fattura."},
    {u"DatiRiepilogo/AliquotaIVA", u"Aliquota IVA", true, u"da 0 a 100, due decimali",
     u"Correggere l'aliquota IVA sulla fattura."},
    {u"DatiRiepilogo/ImponibileImporto", u"Imponibile", false, u"al massimo 11 cifre intere",
     u"Controllare le quantità e i prezzi delle righe sulla fattura."},
    {u"DatiRiepilogo/Imposta", u"Imposta", true, u"al massimo 11 cifre intere",
     u"Controllare le quantità e i prezzi delle righe sulla fattura."},
    {u"DettaglioPagamento/IBAN", u"IBAN", false, u"", u"Correggere l'IBAN sulla fattura."},
    {u"DettaglioPagamento/IstitutoFinanziario", u"Banca d'appoggio", true, u"al massimo 80 caratteri",
     u"Correggere la banca d'appoggio sulla fattura."},
    {u"DettaglioPagamento/ImportoPagamento", u"Importo da pagare", false, u"al massimo 11 cifre intere",
     u"Controllare le quantità e i prezzi delle righe sulla fattura."},
};

bool endsWith(const QStringList& path, QStringView suffix)
{
    const QList<QStringView> parts = suffix.split(u'/');
    if (parts.size() > path.size())
        return false;
    for (qsizetype i = 0; i < parts.size(); ++i)
        if (path[path.size() - parts.size() + i] != parts[i])
            return false;
    return true;
}

QString shortened(const QString& value)
{
    return value.size() > 60 ? value.left(57) + QStringLiteral("...") : value;
}

} // namespace

QString schemaFileName()
{
    return QStringLiteral("Schema_del_file_xml_FatturaPA_v1.2.2.xsd");
}

QString signatureSchemaFileName()
{
    return QStringLiteral("xmldsig-core-schema.xsd");
}

SchemaCheck checkAgainstSchema(const QByteArray& xml, const QString& schemaFolder)
{
    SchemaCheck check;
    const QDir folder(schemaFolder);
    const QString schemaPath = folder.filePath(schemaFileName());
    if (!QFileInfo::exists(schemaPath) || !QFileInfo::exists(folder.filePath(signatureSchemaFileName()))) {
        qCWarning(lcEInvoice).noquote() << QStringLiteral("schema files missing in %1").arg(schemaFolder);
        check.outcome = SchemaCheck::Outcome::SchemaMissing;
        return check;
    }

    xmlInitParser();
    // Never the network: the signature schema is imported from the file beside the invoice's own,
    // and any other address is refused rather than fetched.
    const xmlExternalEntityLoader previousLoader = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(xmlNoNetExternalEntityLoader);
    xmlSetStructuredErrorFunc(nullptr, silence);
    const auto restore = qScopeGuard([previousLoader] {
        xmlSetExternalEntityLoader(previousLoader);
        xmlSetStructuredErrorFunc(nullptr, nullptr);
    });

    Collected collected;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(QFile::encodeName(schemaPath).constData());
    xmlSchemaPtr schema = nullptr;
    if (parser) {
        xmlSchemaSetParserStructuredErrors(parser, collectSchemaError, &collected);
        schema = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
    }
    if (!schema) {
        qCWarning(lcEInvoice).noquote()
            << QStringLiteral("schema %1 unusable: %2")
                   .arg(schemaPath, collected.schemaErrors.join(QStringLiteral("; ")));
        check.outcome = SchemaCheck::Outcome::SchemaUnusable;
        return check;
    }
    const auto freeSchema = qScopeGuard([schema] { xmlSchemaFree(schema); });

    xmlDocPtr doc = xmlReadMemory(xml.constData(), int(xml.size()), "fattura.xml", "UTF-8",
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
        SchemaProblem p;
        p.wrongPlace = true;
        p.technical = QStringLiteral("not well-formed");
        check.problems.append(p);
        check.outcome = SchemaCheck::Outcome::Invalid;
        return check;
    }
    const auto freeDoc = qScopeGuard([doc] { xmlFreeDoc(doc); });

    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
    if (!validator) {
        check.outcome = SchemaCheck::Outcome::SchemaUnusable;
        return check;
    }
    xmlSchemaSetValidStructuredErrors(validator, collectValidity, &collected);
    const int result = xmlSchemaValidateDoc(validator, doc);
    xmlSchemaFreeValidCtxt(validator);

    check.problems = collected.problems;
    if (result == 0) {
        check.outcome = SchemaCheck::Outcome::Valid;
        return check;
    }
    if (check.problems.isEmpty()) {
        SchemaProblem p;
        p.wrongPlace = true;
        p.technical = QStringLiteral("validation failed (%1)").arg(result);
        check.problems.append(p);
    }
    for (const SchemaProblem& p : check.problems)
        qCWarning(lcEInvoice).noquote()
            << QStringLiteral("schema: %1: %2").arg(p.path.join(u'/'), p.technical);
    check.outcome = SchemaCheck::Outcome::Invalid;
    return check;
}

QString explainProblem(const SchemaProblem& problem, const std::vector<int>& lineRows)
{
    const QString nextLine = QStringLiteral("\n\r\n\r");
    if (problem.wrongPlace) {
        QString what =
            problem.path.isEmpty()
                ? QStringLiteral("Struttura della fattura elettronica non valida.")
                : QStringLiteral("Struttura della fattura elettronica non valida: l'elemento %1 non è "
                                 "al suo posto")
                      .arg(problem.path.last());
        if (!problem.expected.isEmpty())
            what += QStringLiteral(" (atteso %1)").arg(problem.expected);
        if (!what.endsWith(u'.'))
            what += u'.';
        return what + nextLine +
               QStringLiteral(
                   "È un errore del programma, non dei dati: la fattura elettronica non è stata creata.");
    }

    int row = 0;
    const qsizetype line = problem.path.indexOf(QStringLiteral("DettaglioLinee"));
    if (line >= 0) {
        const int place = problem.places.value(line);
        if (place >= 1 && size_t(place) <= lineRows.size())
            row = lineRows[size_t(place - 1)];
    }

    for (const Field& f : kFields) {
        if (!endsWith(problem.path, QStringView(f.path)))
            continue;
        QString name = QString::fromUtf16(f.name);
        if (name.contains(u"%1"))
            name = name.arg(row);
        QString what;
        if (problem.value.trimmed().isEmpty()) {
            what = name + QStringLiteral(" mancante.");
        } else {
            what = name +
                   (f.feminine ? QStringLiteral(" non valida: «%1»") : QStringLiteral(" non valido: «%1»"))
                       .arg(shortened(problem.value));
            const QString format = QString::fromUtf16(f.format);
            if (!format.isEmpty())
                what += QStringLiteral(" (") + format + u')';
            what += u'.';
        }
        return what + nextLine + QString::fromUtf16(f.fix);
    }
    const QString element = problem.path.isEmpty() ? QString() : problem.path.last();
    return QStringLiteral("Campo %1 della fattura elettronica non valido: «%2».")
               .arg(element, shortened(problem.value)) +
           nextLine + QStringLiteral("Controllare i dati della fattura e della scheda del cliente.");
}

QString schemaMissingMessage(const QString& schemaFolder)
{
    return QStringLiteral(
               "Attenzione: lo schema della fattura elettronica (i file %1 e %2) non si trova nella "
               "cartella del programma, %3, o non è leggibile.\n\r\n\rLa fattura elettronica non è "
               "stata creata: reinstallare il programma.")
        .arg(schemaFileName(), signatureSchemaFileName(), QDir::toNativeSeparators(schemaFolder));
}

} // namespace tarvello::EInvoice

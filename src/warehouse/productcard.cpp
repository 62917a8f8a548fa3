#include "productcard.h"

#include "core/text.h"

#include <QUrlQuery>

namespace tarvello::ProductCard
{

using namespace ProductRecord;

namespace
{

// clang-format off
const ScreenField kFields[] = {
    // control              label                              field           cap  kind         initial
    {u"txtCodice",         u"Codice articolo:",               Codice,          30, Kind::Text,  u""},
    {u"txtTipologia",      u"Tipologia:",                     Tipologia,      250, Kind::Text,  u""},
    {u"txtMarca",          u"Marca:",                         Marca,          250, Kind::Text,  u""},
    {u"txtModello",        u"Modello:",                       Modello,        250, Kind::Text,  u""},
    {u"txtDescrizione",    u"Descrizione:",                   Descrizione,    250, Kind::Text,  u""},
    {u"txtAccessori",      u"Accessori:",                     Accessori,      250, Kind::Text,  u""},
    {u"txtFornitore",      u"Fornitore:",                     Fornitore,      250, Kind::Text,  u""},
    {u"txtRecapiti",       u"Recapito preferenziale:",        Recapiti,        50, Kind::Text,  u""},
    {u"txtData",           u"Data di acquisto:",              Data,            50, Kind::Text,  u""},
    {u"txtDocumento",      u"Estremi documento di acquisto:", Documento,      250, Kind::Text,  u""},
    {u"txtOrdine",         u"Modalità di ordine merce:",      Ordine,         250, Kind::Text,  u""},
    {u"txtGiacenza",       u"Giacenza:",                      Giacenza,        15, Kind::Whole, u"0"},
    {u"txtSottoscorta",    u"Avviso sottoscorta n.",          Sottoscorta,     15, Kind::Whole, u"0"},
    {u"txtCosto",          u"Costo:",                         Costo,           15, Kind::Money, u"0,00"},
    {u"txtValore",         u"Valore (costo x giacenza):",     Valore,          15, Kind::Money, u"0,00"},
    {u"txtPrezzo",         u"Prezzo:",                        Prezzo,          15, Kind::Money, u"0,00"},
    {u"txtPercIva",        u"Perc. IVA:",                     PercIva,          2, Kind::Whole, u"0"},
    {u"txtPrezzo_con_Iva", u"Prezzo con IVA:",                Prezzo_con_Iva,  15, Kind::Money, u"0,00"},
    {u"txtCollocazione",   u"Collocazione in magazzino:",     Collocazione,   250, Kind::Text,  u""},
    {u"txtNote",           u"Note:",                          Note,           250, Kind::Text,  u""},
};
// clang-format on
static_assert(std::size(kFields) == 20);

} // namespace

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

QString hiddenHolder(Field field)
{
    switch (field) {
    case Consumo:
        return QStringLiteral("memConsumo");
    case Aderenza:
        return QStringLiteral("memAderenza");
    case Rumore:
        return QStringLiteral("memRumore");
    case Onde:
        return QStringLiteral("memOnde");
    case File01:
    case File02:
    case File03:
        return QStringLiteral("lblFile0") + QString::number(field - File01 + 1);
    case Desc01:
    case Desc02:
    case Desc03:
        return QStringLiteral("lblDesc0") + QString::number(field - Desc01 + 1);
    case Cartella:
        return QStringLiteral("lblCartella");
    case CartellaDesc:
        return QStringLiteral("lblCartellaDesc");
    default:
        return {};
    }
}

CardTexts newCard()
{
    CardTexts texts;
    for (const ScreenField& f : kFields)
        texts[size_t(f.field)] = f.initial.toString();
    return texts;
}

Record toRecord(const CardTexts& texts)
{
    return CardArchive::recordFromTexts(ProductRecord::layout(), texts);
}

CardTexts fromRecord(const Record& record)
{
    CardTexts texts;
    CardArchive::textsFromRecord(record, texts);
    return texts;
}

Problem check(const CardTexts& texts)
{
    return isBlank(texts[Codice]) ? Problem::MissingCode : Problem::None;
}

QUrl webSearchUrl(QStringView brand, QStringView model)
{
    const QString words = trimmed(brand) + u' ' + trimmed(model);
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(QStringLiteral("www.google.com"));
    url.setPath(QStringLiteral("/search"));
    // Every character but the unreserved ones is percent-encoded, "&", "+", "#" and "=" included,
    // so the words come back exactly as typed and never make a second parameter.
    url.setQuery(QStringLiteral("q=") + QString::fromLatin1(QUrl::toPercentEncoding(words)),
                 QUrl::StrictMode);
    return url;
}

namespace Messages
{

QString codeMissing()
{
    return QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il codice articolo.");
}
QString brandMissing()
{
    return QStringLiteral("Attenzione: per poter effettuare una ricerca sul Web è necessario compilare il "
                          "campo relativo alla marca dell'articolo.");
}
QString webFailed()
{
    return QStringLiteral("Attenzione: il sistema non permette di collegarsi al motore di ricerca di "
                          "Google.\n\r\n\rAccertarsi che la propria connessione a Internet funzioni "
                          "correttamente.");
}
QString calculateInvalid()
{
    return QStringLiteral("Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo e "
                          "l'aliquota IVA prima di premere il pulsante Calcola.");
}
QString removeVatInvalid()
{
    return QStringLiteral("Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo IVA "
                          "inclusa e l'aliquota IVA prima di premere il pulsante Scorpora.");
}

} // namespace Messages

QString helpTitle()
{
    return QStringLiteral("Applicazione Magazzino Prodotti.");
}

QString helpText()
{
    const QString paragraphs[] = {
        QStringLiteral(
            "L'applicazione Magazzino Prodotti permette di gestire i dati relativi a ciascun bene o "
            "servizio fornito dalla propria ditta. Ogni articolo ha la sua scheda, richiamabile in "
            "qualsiasi momento e importabile con un clic nelle fatture proforma."),
        QStringLiteral(
            "Per inserire un nuovo articolo premere Nuovo, compilare i campi e premere Salva: il codice "
            "articolo è obbligatorio. Per modificare una scheda esistente, visualizzarla con le frecce "
            "di navigazione oppure con il pulsante Trova, apportare le modifiche e premere di nuovo "
            "Salva."),
        QStringLiteral(
            "Il pulsante Duplica prepara una nuova scheda con gli stessi dati di quella visualizzata, "
            "esclusi i file allegati: al termine delle modifiche, Salva la inserisce in archivio come "
            "nuova scheda."),
        QStringLiteral(
            "Ogni scheda registra tipologia, marca, modello, descrizione e accessori dell'articolo, il "
            "fornitore e il suo recapito, la data e gli estremi del documento di acquisto, le modalità "
            "di ordine, i prezzi, la collocazione in magazzino e delle note. Il pulsante Altre "
            "informazioni registra altezza, larghezza, lunghezza e data di scadenza."),
        QStringLiteral(
            "Il campo Giacenza indica la quantità disponibile in magazzino; i pulsanti \"+\" e \"-\" "
            "aggiungono o sottraggono una quantità. Quando un articolo viene importato in una fattura, "
            "la giacenza può essere aggiornata automaticamente."),
        QStringLiteral(
            "Il pulsante Calcola ricava il prezzo IVA inclusa dal prezzo e dall'aliquota IVA; Scorpora "
            "ricava il prezzo senza IVA dal prezzo IVA inclusa; Calcola valore moltiplica il costo per "
            "la giacenza. Salva esegue da sé questi calcoli."),
        QStringLiteral(
            "Il campo Avviso sottoscorta indica la giacenza alla quale l'articolo è da riordinare: il "
            "pulsante Sottoscorta elenca tutti i materiali in esaurimento."),
        QStringLiteral(
            "Le schede che hanno la stessa tipologia formano una categoria di articoli; il campo Note "
            "può contenere parole chiave che facilitano la ricerca."),
        QStringLiteral(
            "Il pulsante Trova cerca le schede per parti di codice, tipologia, marca, modello, "
            "descrizione, accessori, fornitore, documento, collocazione e note, su uno o più campi "
            "contemporaneamente; l'elenco trovato si può stampare."),
        QStringLiteral(
            "Il pulsante Cerca sul Web cerca informazioni sull'articolo tramite Google, in base alla "
            "marca e al modello."),
        QStringLiteral(
            "Con il pulsante Allega file si possono allegare a ogni scheda fino a tre file, ciascuno "
            "con una descrizione."),
        QStringLiteral(
            "La scheda visualizzata si può stampare o esportare in un file PDF; il pulsante Esporta "
            "archivio salva tutte le schede in un foglio di calcolo di Microsoft Excel."),
    };
    QString text;
    for (const QString& p : paragraphs) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n\r\n");
        text += p;
    }
    return text;
}

} // namespace tarvello::ProductCard

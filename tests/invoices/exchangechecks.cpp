#include "exchangechecks.h"

#include <QHash>
#include <QList>
#include <QXmlStreamReader>

#include <cmath>
#include <memory>
#include <vector>

namespace tarvello::testing
{

namespace
{

// The document as a plain tree: each element's name, text and children, in document order.
struct Node {
    QString name;
    QString text;
    QString version; // the root's "versione"
    std::vector<std::unique_ptr<Node>> children;

    const Node* child(QStringView n) const
    {
        for (const auto& c : children)
            if (c->name == n)
                return c.get();
        return nullptr;
    }
    std::vector<const Node*> all(QStringView n) const
    {
        std::vector<const Node*> out;
        for (const auto& c : children)
            if (c->name == n)
                out.push_back(c.get());
        return out;
    }
    // The text at a path of child names ("DatiAnagrafici/IdFiscaleIVA/IdCodice"); empty if absent.
    QString at(QStringView path) const
    {
        const Node* n = this;
        for (const QStringView part : path.split(u'/')) {
            n = n ? n->child(part) : nullptr;
        }
        return n ? n->text : QString();
    }
    bool has(QStringView path) const
    {
        const Node* n = this;
        for (const QStringView part : path.split(u'/'))
            n = n ? n->child(part) : nullptr;
        return n != nullptr;
    }
};

std::unique_ptr<Node> parse(const QByteArray& xml)
{
    QXmlStreamReader r(xml);
    std::unique_ptr<Node> root;
    std::vector<Node*> open;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            auto node = std::make_unique<Node>();
            node->name = r.name().toString();
            Node* raw = node.get();
            if (open.empty()) {
                node->version = r.attributes().value(QStringLiteral("versione")).toString();
                root = std::move(node);
            } else {
                open.back()->children.push_back(std::move(node));
            }
            open.push_back(raw);
        } else if (r.isCharacters() && !open.empty()) {
            open.back()->text += r.text();
        } else if (r.isEndElement()) {
            open.back()->text = open.back()->text.trimmed();
            open.pop_back();
        }
    }
    return r.hasError() ? nullptr : std::move(root);
}

double number(const QString& text)
{
    return text.toDouble(); // the document's decimals have a point, whatever the locale
}

constexpr double kCent = 0.01;
constexpr double kEpsilon = 1e-9;

// A rate and a nature together name one group of lines and one summary.
QString groupKey(const QString& rate, const QString& nature)
{
    return QString::number(number(rate), 'f', 2) + u'|' + nature;
}

} // namespace

QStringList exchangeSystemFaults(const QByteArray& xml, QDate received)
{
    QStringList faults;
    const std::unique_ptr<Node> root = parse(xml);
    if (!root)
        return {QStringLiteral("00200: il file non è un documento XML leggibile")};
    const auto fault = [&](const char* code, const QString& what) {
        faults << QString::fromLatin1(code) + QStringLiteral(": ") + what;
    };

    const Node* header = root->child(u"FatturaElettronicaHeader");
    const Node* body = root->child(u"FatturaElettronicaBody");
    if (!header || !body)
        return {QStringLiteral("00200: manca l'intestazione o il corpo")};
    const Node* transmission = header->child(u"DatiTrasmissione");
    const QString format = transmission ? transmission->at(u"FormatoTrasmissione") : QString();
    const QString recipient = transmission ? transmission->at(u"CodiceDestinatario") : QString();

    // 00428: the transmission format is the one the root's version names.
    if (format != root->version)
        fault("00428", QStringLiteral("FormatoTrasmissione %1, versione %2").arg(format, root->version));
    // 00427: seven characters for private parties (FPR12), six for public administrations (FPA12).
    if ((format == u"FPR12" && recipient.size() != 7) || (format == u"FPA12" && recipient.size() != 6))
        fault("00427", QStringLiteral("CodiceDestinatario %1 con formato %2").arg(recipient, format));
    // 00426: a PEC address goes only with the conventional code 0000000.
    if (transmission && transmission->has(u"PECDestinatario") && recipient != u"0000000")
        fault("00426", QStringLiteral("PECDestinatario con CodiceDestinatario %1").arg(recipient));

    // 00417: the customer is identified by a VAT number or a tax code.
    const Node* customer = header->child(u"CessionarioCommittente");
    if (!customer ||
        (!customer->has(u"DatiAnagrafici/IdFiscaleIVA") && !customer->has(u"DatiAnagrafici/CodiceFiscale")))
        fault("00417", QStringLiteral("cessionario senza IdFiscaleIVA né CodiceFiscale"));

    const Node* general = body->child(u"DatiGenerali");
    const Node* document = general ? general->child(u"DatiGeneraliDocumento") : nullptr;
    const QString type = document ? document->at(u"TipoDocumento") : QString();
    // 00471: in an invoice the issuer and the customer are not one and the same.
    const Node* issuer = header->child(u"CedentePrestatore");
    const QString issuerVat = issuer ? issuer->at(u"DatiAnagrafici/IdFiscaleIVA/IdCodice") : QString();
    const QString customerVat = customer ? customer->at(u"DatiAnagrafici/IdFiscaleIVA/IdCodice") : QString();
    if ((type == u"TD01" || type == u"TD06" || type == u"TD24") && !issuerVat.isEmpty() &&
        issuerVat == customerVat)
        fault("00471", QStringLiteral("cedente e cessionario con la stessa partita IVA"));
    // 00425: the number holds at least one digit.
    const QString documentNumber = document ? document->at(u"Numero") : QString();
    if (!std::any_of(documentNumber.begin(), documentNumber.end(), [](QChar c) { return c.isDigit(); }))
        fault("00425", QStringLiteral("Numero «%1» senza cifre").arg(documentNumber));
    // 00403: not dated after the day it is received.
    const QDate date = QDate::fromString(document ? document->at(u"Data") : QString(), Qt::ISODate);
    if (received.isValid() && date.isValid() && date > received)
        fault("00403", QStringLiteral("Data %1 successiva alla ricezione").arg(date.toString(Qt::ISODate)));

    const Node* goods = body->child(u"DatiBeniServizi");
    if (!goods)
        return faults << QStringLiteral("00200: manca DatiBeniServizi");

    // The lines.
    QHash<QString, double> linesSum; // by rate and nature
    for (const Node* line : goods->all(u"DettaglioLinee")) {
        const QString n = line->at(u"NumeroLinea");
        const QString rate = line->at(u"AliquotaIVA");
        const QString nature = line->at(u"Natura");
        // 00400 / 00401: a nature at rate zero, and only there.
        if (number(rate) == 0 && nature.isEmpty())
            fault("00400", QStringLiteral("linea %1: aliquota zero senza Natura").arg(n));
        if (number(rate) != 0 && !nature.isEmpty())
            fault("00401", QStringLiteral("linea %1: Natura con aliquota %2").arg(n, rate));
        // 00424: a rate is a percentage (22.00), never a fraction (0.22).
        if (number(rate) > 0 && number(rate) < 1)
            fault("00424", QStringLiteral("linea %1: aliquota %2 non in percentuale").arg(n, rate));
        // 00423: the total is the unit price, less its discounts or plus its surcharges in order
        // (an amount per unit where given, else the percentage of the price so far), times the
        // quantity (1 when there is none), to a cent.
        double price = number(line->at(u"PrezzoUnitario"));
        for (const Node* change : line->all(u"ScontoMaggiorazione")) {
            const bool surcharge = change->at(u"Tipo") == u"MG";
            // 00438: a discount names its percentage or its amount.
            if (!change->has(u"Percentuale") && !change->has(u"Importo"))
                fault("00438",
                      QStringLiteral("linea %1: ScontoMaggiorazione senza Percentuale né Importo").arg(n));
            const double by = change->has(u"Importo") ? number(change->at(u"Importo"))
                                                      : price * number(change->at(u"Percentuale")) / 100;
            price += surcharge ? by : -by;
        }
        const double quantity = line->has(u"Quantita") ? number(line->at(u"Quantita")) : 1.0;
        const double expected = price * quantity;
        const double total = number(line->at(u"PrezzoTotale"));
        if (std::fabs(total - expected) > kCent + kEpsilon)
            fault("00423", QStringLiteral("linea %1: PrezzoTotale %2, atteso %3")
                               .arg(n, line->at(u"PrezzoTotale"), QString::number(expected, 'f', 8)));
        linesSum[groupKey(rate, nature)] += total;
    }

    // The summaries.
    QHash<QString, bool> summarised;
    for (const Node* summary : goods->all(u"DatiRiepilogo")) {
        const QString rate = summary->at(u"AliquotaIVA");
        const QString nature = summary->at(u"Natura");
        const QString key = groupKey(rate, nature);
        summarised[key] = true;
        // 00429 / 00430: a nature at rate zero, and only there.
        if (number(rate) == 0 && nature.isEmpty())
            fault("00429", QStringLiteral("riepilogo: aliquota zero senza Natura"));
        if (number(rate) != 0 && !nature.isEmpty())
            fault("00430", QStringLiteral("riepilogo: Natura con aliquota %1").arg(rate));
        if (number(rate) > 0 && number(rate) < 1)
            fault("00424", QStringLiteral("riepilogo: aliquota %1 non in percentuale").arg(rate));
        // 00445: since 2021 the natures N2, N3 and N6 are given with their sub-codes.
        if (nature == u"N2" || nature == u"N3" || nature == u"N6")
            fault("00445", QStringLiteral("riepilogo: Natura generica %1").arg(nature));
        // 00420: split payment (S) is not for reverse charge (N6.x).
        if (summary->at(u"EsigibilitaIVA") == u"S" && nature.startsWith(u"N6"))
            fault("00420", QStringLiteral("riepilogo: scissione dei pagamenti con Natura %1").arg(nature));
        // 00443 / 00444: a summary sums lines of its rate and nature.
        if (!linesSum.contains(key))
            fault(nature.isEmpty() ? "00443" : "00444",
                  QStringLiteral("riepilogo %1 %2 senza linee").arg(rate, nature));
        // 00421: the tax is the taxable amount times the rate, to a cent.
        const double taxable = number(summary->at(u"ImponibileImporto"));
        const double tax = number(summary->at(u"Imposta"));
        if (std::fabs(tax - taxable * number(rate) / 100) > kCent + kEpsilon)
            fault("00421", QStringLiteral("riepilogo %1: Imposta %2 su imponibile %3")
                               .arg(rate, summary->at(u"Imposta"), summary->at(u"ImponibileImporto")));
        // 00422: the taxable amount is the sum of its lines' totals plus its Arrotondamento, within
        // the euro the exchange system allows.
        const double lines = linesSum.value(key) + number(summary->at(u"Arrotondamento"));
        if (std::fabs(taxable - lines) > 1.0 + kEpsilon)
            fault("00422", QStringLiteral("riepilogo %1: ImponibileImporto %2, somma delle linee %3")
                               .arg(rate, summary->at(u"ImponibileImporto"), QString::number(lines, 'f', 8)));
    }
    // 00419: every rate and nature of the lines has its summary.
    for (auto it = linesSum.cbegin(); it != linesSum.cend(); ++it)
        if (!summarised.contains(it.key()))
            fault("00419", QStringLiteral("linee %1 senza riepilogo").arg(it.key()));
    return faults;
}

} // namespace tarvello::testing

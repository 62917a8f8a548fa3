#include "articlereport.h"

namespace tarvello::ArticleCard
{

namespace
{

struct Row {
    const char16_t* title;
    const char16_t* control;
    const char16_t* suffix;
};

// Row k of the printed card: its title and the control whose text it shows.
constexpr Row kRows[cardReportRowCount] = {
    {u"Codice articolo:", u"txtCodice", nullptr},
    {u"Tipologia:", u"txtTipologia", nullptr},
    {u"Marca:", u"txtMarca", nullptr},
    {u"Modello:", u"txtModello", nullptr},
    {u"Descrizione:", u"txtDescrizione", nullptr},
    {u"Accessori:", u"txtAccessori", nullptr},
    {u"Fornitore:", u"txtFornitore", nullptr},
    {u"Recapito preferenziale:", u"txtRecapiti", nullptr},
    {u"Data acquisto:", u"txtData", nullptr},
    {u"Documento acquisto:", u"txtDocumento", nullptr},
    {u"Modalità ordine merce:", u"txtOrdine", nullptr},
    {u"Giacenza:", u"txtGiacenza", nullptr},
    {u"Costo:", u"txtCosto", nullptr},
    {u"Valore (costo x giacenza):", u"txtValore", nullptr},
    {u"Preavviso sottoscorta:", u"txtSottoscorta", u" pezzi rimasti"},
    {u"Prezzo:", u"txtPrezzo", nullptr},
    {u"Aliquota IVA:", u"txtPercIva", nullptr},
    {u"Prezzo con IVA:", u"txtPrezzo_con_Iva", nullptr},
    {u"Collocazione in magazzino:", u"txtCollocazione", nullptr},
    {u"Altezza:", u"memConsumo", nullptr},
    {u"Larghezza:", u"memAderenza", nullptr},
    {u"Lunghezza:", u"memRumore", nullptr},
    {u"Scadenza:", u"memOnde", nullptr},
    {u"Note:", u"txtNote", nullptr},
};

} // namespace

ReportLayout reportLayout()
{
    CardReportTexts titles;
    for (size_t i = 0; i < titles.size(); ++i)
        titles[i] = QString::fromUtf16(kRows[i].title);
    return cardReportLayout(QStringLiteral("SCHEDA ARTICOLO"),
                            cardReportEmblem(QStringLiteral(":/emblema_articolo.svg")), titles);
}

CardReportTexts reportValues(const std::function<QString(const QString& control)>& controlText)
{
    CardReportTexts values;
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = controlText(QString::fromUtf16(kRows[i].control));
        if (kRows[i].suffix)
            values[i] += QString::fromUtf16(kRows[i].suffix);
    }
    return values;
}

ReportDocument report(const CardReportTexts& values, const QDateTime& printedAt)
{
    ReportDocument document(reportLayout());
    fillCardReport(document, values, printedAt);
    return document;
}

} // namespace tarvello::ArticleCard

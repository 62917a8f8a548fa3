#include "invoiceprint.h"

#include "core/text.h"
#include "invoicedocument.h"

namespace tarvello
{

namespace
{

const QColor kLavender(0xE6, 0xE6, 0xFA);
const QColor kOrange(0xFF, 0xA5, 0x00);

TextStyle arial(double points, bool bold = false, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    return TextStyle::font(QStringLiteral("Arial"), points).withBold(bold).withAlignment(alignment);
}

QString two(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

struct Column {
    const char16_t* heading;
    const char16_t* title;
    const char16_t* rowName;
    double left;
    double width;
    Qt::Alignment alignment;
};
const Column kColumns[] = {
    {u"titQuant", u"Quant.", u"txtQuant", 4, 13, Qt::AlignHCenter},
    {u"titCodice", u"Codice art.", u"txtCodice", 19, 39, Qt::AlignLeft},
    {u"titDesc", u"Descrizione", u"txtDesc", 60, 75, Qt::AlignLeft},
    {u"titPrezzo", u"Prezzo", u"txtPrezzo", 137, 17, Qt::AlignRight},
    {u"titPercSconto", u"% Sc.", u"txtPercSconto", 156, 11, Qt::AlignHCenter},
    {u"titImporto", u"Imp. tot.", u"txtImporto", 169, 17.2, Qt::AlignRight},
};

struct Total {
    const char16_t* heading;
    const char16_t* title;
    double headingLeft;
    double headingWidth;
    bool orange;
    const char16_t* value;
    double valueLeft;
    double valueWidth;
};
const Total kTotals[] = {
    {u"titTotImponibile", u"TOT. IMPONIBILE", 3, 31.8, false, u"txtTotImponibile", 4, 29.6},
    {u"titPercIva", u"% IVA", 35, 22, false, u"txtPercIva", 35.8, 20.5},
    {u"titTotImposta", u"TOT. IMPOSTA", 57.2, 32.4, false, u"txtTotImposta", 58.2, 29.6},
    {u"titTotIva", u"TOT. IVA INCLUSA", 89.6, 32.8, false, u"txtTotIva", 91, 29.6},
    {u"titTotEsente", u"TOT. ESENTE", 122.6, 32.2, false, u"txtTotEsente", 123.8, 29.6},
    {u"titTotFattura", u"TOT. DOCUMENTO", 155, 32, true, u"txtTotFattura", 156, 29.6},
};

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

QString invoicePdfName()
{
    return QStringLiteral("Fattura.pdf");
}

PdfProperties invoicePdfProperties()
{
    return PdfProperties(QStringLiteral("Fattura"), QStringLiteral("Fattura"));
}

ReportLayout invoicePrintLayout()
{
    ReportLayout layout(PageSize::A4, Orientation::Portrait, QMarginsF(10, 10, 10, 10));
    layout.setDocumentName(QStringLiteral("Fattura"));
    ReportBand& p = layout.page();
    const ShapeStyle box = ShapeStyle::rectangle();
    const ShapeStyle lavenderBox = ShapeStyle::rectangle().withFill(kLavender);

    // Frame and header
    p.addShape(QStringLiteral("shpGabbia"), {1, 1, 188, 275}, box);
    p.addPicture(QStringLiteral("imgLogo"), {3, 4, 77, 38});
    p.addShape(QStringLiteral("shpNumFatt"), {84, 3, 103, 12}, lavenderBox);
    p.addText(QStringLiteral("txtNumFatt"), {87, 4.5, 97, 4}, arial(9, true));
    p.addText(QStringLiteral("txtData"), {87, 9.5, 97, 4}, arial(9));

    // Issuer
    p.addText(QStringLiteral("txtDitta"), {3, 46, 77, 5}, arial(9, true));
    p.addText(QStringLiteral("txtViaDitta"), {3, 50.5, 77, 5}, arial(9, true));
    p.addText(QStringLiteral("txtCittaDitta"), {3, 55, 77, 5}, arial(9, true));
    p.addText(QStringLiteral("txtIvaDitta"), {3, 59.5, 77, 5}, arial(8));
    p.addText(QStringLiteral("txtLibero01"), {3, 65, 77, 4}, arial(8));
    p.addText(QStringLiteral("txtLibero02"), {3, 69.5, 77, 4}, arial(8));

    // Customer and payment
    p.addText(QStringLiteral("titSpettabile"), {84, 17, 77, 5}, arial(8), QStringLiteral("Spettabile"));
    p.addText(QStringLiteral("txtCliente"), {84, 23, 103, 5}, arial(9, true));
    p.addText(QStringLiteral("txtViaCliente"), {84, 27.5, 103, 5}, arial(9, true));
    p.addText(QStringLiteral("txtCittaCliente"), {84, 32, 103, 5}, arial(9, true));
    p.addText(QStringLiteral("txtIvaCliente"), {84, 38, 103, 5}, arial(8));
    p.addText(QStringLiteral("txtCodFiscCliente"), {84, 42.5, 103, 5}, arial(8));
    p.addText(QStringLiteral("titRiferimenti"), {84, 48, 100, 5}, arial(8), QStringLiteral("Riferimenti:"));
    p.addText(QStringLiteral("txtRiferimenti"), {84, 52.5, 103, 5}, arial(8));
    p.addShape(QStringLiteral("shpBanca"), {84, 58, 103, 17}, lavenderBox);
    p.addText(QStringLiteral("txtPagamento"), {86, 60, 98, 5}, arial(8));
    p.addText(QStringLiteral("txtBanca"), {86, 65, 98, 5}, arial(8));
    p.addText(QStringLiteral("txtIban"), {86, 70, 98, 5}, arial(8));

    // Notes
    p.addHorizontalLine(QStringLiteral("linNote"), {3, 75}, 81);
    p.addText(QStringLiteral("txtNote"), {3, 76, 184, 4}, arial(8, false, Qt::AlignLeft | Qt::AlignVCenter));

    // Article table
    p.addShape(QStringLiteral("shpArticoli"), {3, 81.5, 184, 157}, box);
    p.addVerticalLine(QStringLiteral("linSepara06"), {18, 81.5}, 157);
    p.addVerticalLine(QStringLiteral("linSepara05"), {59, 81.5}, 157);
    p.addVerticalLine(QStringLiteral("linSepara07"), {136, 81.5}, 157);
    p.addVerticalLine(QStringLiteral("linSepara09"), {155, 81.5}, 157);
    p.addVerticalLine(QStringLiteral("linSepara08"), {168, 81.5}, 157);
    p.addHorizontalLine(QStringLiteral("linSepara01"), {3, 87}, 184);
    for (const Column& c : kColumns) {
        p.addText(s(c.heading), {c.left, 82.5, c.width, 4}, arial(8, true, Qt::AlignHCenter | Qt::AlignTop),
                  s(c.title));
        for (int row = 1; row <= 30; ++row)
            p.addText(s(c.rowName) + two(row), {c.left, 88 + 5.0 * (row - 1), c.width, 4.5},
                      arial(8, false, c.alignment | Qt::AlignTop));
    }

    // Totals strip
    p.addShape(QStringLiteral("shpRiepilogo"), {3, 240, 184, 9.5}, box);
    int separator = 10;
    for (double left : {35.0, 57.2, 89.6, 122.6, 155.0})
        p.addVerticalLine(QStringLiteral("linSepara") + QString::number(separator++), {left, 240}, 9.6);
    p.addHorizontalLine(QStringLiteral("linSepara02"), {3, 244.5}, 184);
    for (const Total& t : kTotals) {
        p.addText(s(t.heading), {t.headingLeft, 240.1, t.headingWidth, 4.4},
                  arial(8, true, Qt::AlignHCenter | Qt::AlignVCenter)
                      .withBackground(t.orange ? kOrange : kLavender),
                  s(t.title));
        const bool rate = QStringView(t.value) == u"txtPercIva";
        const Qt::Alignment alignment = rate ? Qt::AlignHCenter : Qt::AlignRight;
        p.addText(s(t.value), {t.valueLeft, rate ? 245.0 : 245.4, t.valueWidth, 3.8},
                  arial(8, t.orange, alignment | Qt::AlignTop));
    }

    // Transport box
    p.addShape(QStringLiteral("shpDatiVeicolo"), {3, 251, 184, 17}, box);
    p.addHorizontalLine(QStringLiteral("linSepara03"), {3, 257}, 184);
    p.addHorizontalLine(QStringLiteral("linSepara04"), {3, 262.5}, 184);
    p.addVerticalLine(QStringLiteral("Line1"), {122.6, 251}, 6);
    p.addVerticalLine(QStringLiteral("Line2"), {144, 257}, 11);
    p.addText(QStringLiteral("txtVeicolo"), {4, 252, 117.4, 4}, arial(8));
    p.addText(QStringLiteral("txtMarca"), {123.8, 252, 62.2, 4}, arial(8));
    p.addText(QStringLiteral("txtColore"), {4, 258, 139, 4}, arial(8));
    p.addText(QStringLiteral("txtImmatricolazione"), {145, 258, 41, 4}, arial(8));
    p.addText(QStringLiteral("txtAlimentazione"), {4, 263.4, 139, 4}, arial(8));
    p.addText(QStringLiteral("txtTarga"), {145, 263.4, 41, 4}, arial(8));

    // Footer notes
    p.addText(QStringLiteral("titPrivacy"), {3, 269, 184, 3.5}, arial(6),
              QStringLiteral(
                  "I dati personali del Cliente saranno trattati ai sensi della normativa vigente sulla "
                  "privacy esclusivamente per l'erogazione del servizio e non saranno forniti a terzi."));
    p.addText(
        QStringLiteral("titConai"), {3, 272.5, 184, 3.2}, arial(6),
        QStringLiteral("La presente fattura proforma non ha valore fiscale. La fattura fiscale sarà emessa "
                       "contestualmente al pagamento dei corrispettivi."));
    return layout;
}

void fillInvoicePrint(ReportDocument& d, const InvoiceDocument& invoice, const QImage& logo)
{
    // Every text as the screen shows it, without the blanks around it.
    const auto place = [](const InvoiceParty& p) -> QString {
        return trimmed(p.postcode) + u' ' + trimmed(p.town) + u' ' + trimmed(p.province);
    };
    const InvoiceParty& issuer = invoice.issuer;
    const InvoiceParty& customer = invoice.customer;
    d.setOrientation(Orientation::Portrait);
    d.setPicture(QStringLiteral("imgLogo"), logo);
    d.setText(QStringLiteral("txtNumFatt"), QStringLiteral("Fattura Proforma n. ") + trimmed(invoice.number));
    d.setText(QStringLiteral("txtData"), QStringLiteral("Data emissione:  ") + trimmed(invoice.date));
    d.setText(QStringLiteral("txtDitta"), trimmed(issuer.name));
    d.setText(QStringLiteral("txtViaDitta"), trimmed(issuer.street));
    d.setText(QStringLiteral("txtCittaDitta"), place(issuer));
    d.setText(QStringLiteral("txtIvaDitta"), QStringLiteral("P.IVA: ") + trimmed(issuer.vatNumber) +
                                                 QStringLiteral("  C.F. ") + trimmed(issuer.taxCode));
    d.setText(QStringLiteral("txtLibero01"), trimmed(invoice.free1));
    d.setText(QStringLiteral("txtLibero02"), trimmed(invoice.free2));
    d.setText(QStringLiteral("txtCliente"), trimmed(customer.name));
    d.setText(QStringLiteral("txtViaCliente"), trimmed(customer.street));
    d.setText(QStringLiteral("txtCittaCliente"), place(customer));
    // The customer's VAT number and tax code lines vanish when there is nothing to show.
    const QString vat = trimmed(customer.vatNumber);
    const QString taxCode = trimmed(customer.taxCode);
    d.setText(QStringLiteral("txtIvaCliente"), vat.isEmpty() ? QString() : QStringLiteral("P.IVA: ") + vat);
    d.setText(QStringLiteral("txtCodFiscCliente"),
              taxCode.isEmpty() ? QString() : QStringLiteral("C.F. ") + taxCode);
    d.setText(QStringLiteral("txtRiferimenti"), trimmed(invoice.references));
    d.setText(QStringLiteral("txtPagamento"), QStringLiteral("Pagamento: ") + trimmed(invoice.payment));
    d.setText(QStringLiteral("txtBanca"), QStringLiteral("Banca d'appoggio: ") + trimmed(invoice.bank));
    d.setText(QStringLiteral("txtIban"), QStringLiteral("IBAN: ") + trimmed(invoice.iban));
    d.setText(QStringLiteral("txtNote"), QStringLiteral("Note: ") + trimmed(invoice.note));
    for (int k = 1; k <= InvoiceRecord::Rows; ++k) {
        const InvoiceRow& row = invoice.row(k);
        const QString nn = two(k);
        const std::pair<const char16_t*, const QString*> columns[] = {
            {u"txtQuant", &row.quantity}, {u"txtCodice", &row.code},         {u"txtDesc", &row.description},
            {u"txtPrezzo", &row.price},   {u"txtPercSconto", &row.discount}, {u"txtImporto", &row.amount}};
        for (const auto& [object, text] : columns)
            d.setText(QString::fromUtf16(object) + nn, trimmed(*text));
    }
    const std::pair<const char16_t*, const QString*> totals[] = {
        {u"txtTotImponibile", &invoice.taxableTotal}, {u"txtPercIva", &invoice.vatRate},
        {u"txtTotImposta", &invoice.vatAmount},       {u"txtTotIva", &invoice.totalWithVat},
        {u"txtTotEsente", &invoice.exemptTotal},      {u"txtTotFattura", &invoice.invoiceTotal}};
    for (const auto& [object, text] : totals)
        d.setText(QString::fromUtf16(object), trimmed(*text));
    const InvoiceTransport& t = invoice.transport;
    d.setText(QStringLiteral("txtVeicolo"), QStringLiteral("Destinazione merce:  ") + trimmed(t.destination));
    d.setText(QStringLiteral("txtMarca"), QStringLiteral("Vettore:  ") + trimmed(t.carrier));
    d.setText(QStringLiteral("txtColore"),
              QStringLiteral("Aspetto esteriore dei beni:  ") + trimmed(t.goodsLook));
    d.setText(QStringLiteral("txtImmatricolazione"), QStringLiteral("Porto:  ") + trimmed(t.port));
    d.setText(QStringLiteral("txtAlimentazione"),
              QStringLiteral("Causale del trasporto:  ") + trimmed(t.reason));
    d.setText(QStringLiteral("txtTarga"), QStringLiteral("Numero colli:  ") + trimmed(t.packages));
}

} // namespace tarvello

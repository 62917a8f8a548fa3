#pragma once

#include "archive/invoicerecord.h"

#include <QString>

#include <array>

namespace tarvello
{

// One proforma invoice as a thing of its own, without any widget: what the invoice screen shows,
// what the record stores, and what the printed invoice, the electronic invoice and the save read.
// Its figures are texts exactly as the screen shows them ("439,815", "22", "24,41"), so whoever
// reads the document reads the very numbers the user saw; `calculateInvoice` (calculation.h) is
// the one place they are worked out.

struct InvoiceParty {
    QString name;
    QString street;
    QString postcode;
    QString town;
    QString province;
    QString vatNumber;
    QString taxCode;

    friend bool operator==(const InvoiceParty&, const InvoiceParty&) = default;
};

struct InvoiceRow {
    QString quantity;
    QString code;
    QString description;
    QString price;    // unit price before VAT
    QString discount; // percent
    QString amount;   // worked out by the calculation, up to four decimals
    bool exempt = false;

    // Whether anything of an article is on the row (a line of description alone counts).
    bool hasArticle() const;
    // Whether the calculation takes the row: it has a quantity or a price.
    bool hasFigures() const;

    friend bool operator==(const InvoiceRow&, const InvoiceRow&) = default;
};

// The six transport details of the "Altre informazioni" window, stored under the names of the
// record's fields they have always had.
struct InvoiceTransport {
    QString destination; // Veicolo: "Destinazione merce"
    QString carrier;     // Marca: "Vettore"
    QString goodsLook;   // Colore: "Aspetto esteriore dei beni"
    QString port;        // Immatricolazione: "Porto"
    QString reason;      // Alimentazione: "Causale del trasporto"
    QString packages;    // Targa: "Numero colli"

    friend bool operator==(const InvoiceTransport&, const InvoiceTransport&) = default;
};

struct InvoiceDocument {
    QString number;
    QString date;
    InvoiceParty issuer;
    QString free1, free2; // the issuer's two free lines
    InvoiceParty customer;
    QString references;
    QString payment;
    QString bank;
    QString iban;
    InvoiceTransport transport;

    // Row k (1..30) is rows[k - 1].
    std::array<InvoiceRow, InvoiceRecord::Rows> rows;
    QString vatRate; // percent, one for the whole invoice
    QString taxableTotal;
    QString vatAmount;
    QString totalWithVat;
    QString exemptTotal;
    QString invoiceTotal;

    QString note;
    bool paid = false;

    InvoiceRow& row(int k) { return rows[size_t(k - 1)]; }
    const InvoiceRow& row(int k) const { return rows[size_t(k - 1)]; }

    friend bool operator==(const InvoiceDocument&, const InvoiceDocument&) = default;
};

// The document and the record's texts, one per field in the record's order (the boxes as "Sì" or
// "No"), both ways. Texts go across unchanged: trimming and cutting to capacity are the record's.
using InvoiceTexts = std::array<QString, InvoiceRecord::FieldCount>;
InvoiceDocument documentFromTexts(const InvoiceTexts& texts);
InvoiceTexts textsOf(const InvoiceDocument& document);

// A stored invoice as a document, each text as the record holds it; and the record a document
// makes (every text trimmed, in Windows-1252, cut to its capacity).
InvoiceDocument documentFromRecord(const Record& record);
Record recordOf(const InvoiceDocument& document);

} // namespace tarvello

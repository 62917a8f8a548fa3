#pragma once

#include "invoicedocument.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace tarvello::EInvoice
{

// The electronic invoice (FatturaPA 1.2.2) made from the invoice on the screen, without any
// widget: the choices the proforma lacks, the customer's card in the customer archive, our own
// checks, the document itself, the remembered settings and the file it is written to.

// ---------------------------------------------------------------- choices

struct Choice {
    QString code;  // as the document writes it: "TD01", "RF19", "N2.2", "MP05"
    QString label; // as the window shows it
};

// The first of each list is the default.
const QList<Choice>& documentTypes();    // TD01 invoice, TD24 deferred invoice, TD06 parcel
const QList<Choice>& taxRegimes();       // RF01 ordinary, RF19 flat-rate
const QList<Choice>& exemptNatures();    // N4, N2.1, N2.2, N3.1 .. N3.6
const QList<Choice>& paymentMethods();   // MP05 bank transfer, MP01 cash, MP08 card
const QList<Choice>& collectabilities(); // I immediate, D deferred, S split payment (EsigibilitaIVA)
bool isChoice(const QList<Choice>& list, QStringView code);

// ---------------------------------------------------------------- settings

// Section "Fattura Elettronica" of Numerazione.ini, after the numbering and the issuing company,
// which it never touches: the last progressive number used and the two choices the window
// remembers from one invoice to the next.
QString settingsSection(); // "Fattura Elettronica"

struct Settings {
    QString progressive;  // "Progressivo": the last one used, five characters 0-9 A-Z
    QString taxRegime;    // "Regime Fiscale"
    QString exemptNature; // "Natura Esenti"
    QString certificate;  // "Certificato": the signing certificate's file, never its password

    friend bool operator==(const Settings&, const Settings&) = default;
};

// Missing or unknown choices read as the defaults; a progressive that is not five characters of
// 0-9 and A-Z reads as none.
Settings readSettings(const QString& iniPath);
// One rewrite of the file; the other sections stay as they are. False when it could not be written
// (or read: a file that exists but cannot be read is never replaced).
bool writeSettings(const QString& iniPath, const Settings& settings);

// The progressive numbers count in base 36 with five characters: "00001" .. "00009", "0000A" ..
// "ZZZZZ". The one after a blank or malformed text is "00001"; there is none after "ZZZZZ".
bool isProgressive(QStringView text);
std::optional<QString> nextProgressive(QStringView last);

// The folder the documents are written to, inside the program's folder.
QString folderName(); // "FattureElettroniche"
// "IT01234567890_0000A.xml"
QString fileName(QStringView issuerVatNumber, QStringView progressive);

// The next progressive after the one remembered whose file is not yet in the folder (a file left
// by an older Numerazione.ini is never overwritten). None when the numbers are used up.
std::optional<QString> proposeProgressive(const QString& iniPath, const QString& documentsFolder,
                                          QStringView issuerVatNumber);

// ---------------------------------------------------------------- the customer archive

// What the customer card adds to the invoice's own customer data.
struct CustomerCard {
    QString surname;
    QString name;
    QString company;
    QString recipientCode; // CodiceDest
    QString pec;
};

struct CustomerLookup {
    enum class Outcome { Found, NotFound, Unreadable };
    Outcome outcome = Outcome::NotFound;
    CustomerCard card;
    qint64 position = 0; // one-based, when found
};

// The card of Clienti.pro whose tax code or VAT number is the invoice's (compared without blanks
// and case). The card that matches best wins: both numbers over one, then a card with a recipient
// code or a PEC, then the first in the archive. A missing archive is not created: no card matches.
CustomerLookup findCustomer(const QString& customersPath, QStringView taxCode, QStringView vatNumber);

// ---------------------------------------------------------------- the document

struct Options {
    QString documentType;
    QString taxRegime;
    QString exemptNature;
    QString paymentMethod;
    QString number; // of the fiscal invoice, as typed
    QString date;   // of the fiscal invoice, "dd/mm/yyyy"
    // For a customer with neither a recipient code nor a PEC: deliver through the customer's tax
    // drawer (recipient code "0000000").
    bool useTaxDrawer = true;
    QString progressive;
    QDate today; // an invoice may not be dated after it
    // The customer's country (ISO 3166, "IT" for Italy): a foreign customer is written as the
    // filling guide asks (recipient code XXXXXXX, the country, no Italian checks of its codes).
    QString country = QStringLiteral("IT");
    QString collectability = QStringLiteral("I"); // EsigibilitaIVA of the taxed summary
    // The customer's declaration of intent, which sales of nature N3.5 must name: the protocol
    // number of its receipt ("21123456789012345-000001") and the receipt's date, "dd/mm/yyyy".
    QString intentProtocol;
    QString intentDate;
    // IdTrasmittente: the tax code of whoever transmits the file; empty for the issuer (its tax
    // code, or its VAT number when it has none).
    QString transmitterTaxCode;
};

// The proforma's number and date, the remembered regime and nature, the first of the other lists,
// the country a foreign VAT number's prefix names ("DE123456789": Germany), else Italy.
Options defaultOptions(const InvoiceDocument& invoice, const Settings& settings);
// Split payment for a public administration (a recipient code of six characters), else immediate.
QString proposedCollectability(const CustomerLookup& customer);

// Whether the nature carries the virtual stamp duty on its amounts above 77,47 euro: every one we
// offer but the sales abroad and their like (N3.1 to N3.4).
bool natureCarriesStampDuty(QStringView nature);

// The declarations of intent the window remembers, one per customer (by VAT number or tax code),
// in DichiarazioniIntento.ini of the program's folder: they belong to a period of sales, not to
// the customer's card.
QString intentsFileName(); // "DichiarazioniIntento.ini"
struct Intent {
    QString protocol;
    QString date;
};
Intent readIntent(const QString& iniPath, QStringView customerKey);
bool writeIntent(const QString& iniPath, QStringView customerKey, const Intent& intent);
// The key a customer's declaration is kept under: its VAT number, else its tax code.
QString intentKey(const InvoiceDocument& invoice);

// One DatiRiepilogo: the figures as the document writes them ("22.00", "100.00").
struct Summary {
    QString rate;
    QString nature;   // empty for a taxed rate
    QString rounding; // Arrotondamento, empty when none
    QString taxable;  // ImponibileImporto
    QString tax;      // Imposta
};

struct Document {
    QByteArray xml; // UTF-8
    QString fileName;
    QString progressive;
    QString format;        // FPR12, or FPA12 for a public administration
    QString recipientCode; // CodiceDestinatario
    QString pec;           // PECDestinatario, when the document carries it
    QString documentType;
    QString number; // as the document writes it
    QDate date;
    QString issuer; // the names as the document writes them
    QString issuerVat;
    QString customer;
    QString customerVat; // empty when the customer has none
    QString customerTaxCode;
    bool customerFromArchive = false;
    std::vector<int> lineRows; // the invoice row (1..30) of each DettaglioLinee, in order
    QList<Summary> summaries;
    QString total;          // ImportoTotaleDocumento: the proforma's total
    QString payment;        // ImportoPagamento: the total, less the VAT under split payment
    QString country;        // the customer's
    QString collectability; // of the taxed summary: I, D or S
    bool stampDuty = false; // DatiBollo: virtual stamp duty of 2,00 euro
    QString stampDutyWhy;   // why it is or is not applied, for the window; empty without exempt rows
    QStringList causale;
};

struct Built {
    std::optional<Document> document;
    // Why there is no document: what is wrong and, after an empty line, what to do about it.
    QString refusal;
};

// Our own rules first (the issuer's VAT number, the customer's codes, the rows, the total...);
// a document is made only when they hold. The figures are the invoice's own, as the calculation
// left them (the screen calculates before it hands the invoice over): each row's amount as the
// screen shows it, the taxable and exempt totals, the VAT and the total. The schema check is
// separate (einvoiceschema.h).
Built build(const InvoiceDocument& invoice, const CustomerLookup& customer, const Options& options);

// What the window shows of a document before it is written, in lines of Italian.
QString describe(const Document& document);

// What one progressive number makes: the file's bytes and name, or why there is none (the text
// for the user).
struct MadeFile {
    QByteArray bytes;
    QString fileName;
    QString refusal;
};
using MakeFile = std::function<MadeFile(const QString& progressive)>;

struct Saved {
    QString fileName;    // as written, on success
    QString progressive; // the number it took
    QString failure;     // the Italian message, empty on success
    bool ok() const { return failure.isEmpty(); }
};

// Writes one document into `documentsFolder` (created when missing) so that none is ever lost or
// written over, from however many programs at once: under the folder's lock, the next progressive
// after the one Numerazione.ini remembers whose file is not in the folder is given to `make`; its
// bytes go to a temporary file that is flushed and then linked to its final name, which fails
// rather than replace a file; the number is remembered (with `remembered`'s choices) once the file
// is on the disk, and a number whose file could not be written is not used up. The lock is held
// only for this, never across a question to the user.
Saved save(const QString& documentsFolder, const QString& iniPath, const Settings& remembered,
           QStringView issuerVatNumber, const MakeFile& make);

// ---------------------------------------------------------------- text the schema accepts

// Text of the "Latin" kinds (names, addresses, descriptions, notes): Basic Latin and Latin-1,
// Windows-1252's typographic characters spelled in plain ones ("€" -> "EUR", curly quotes ->
// straight ones, "Œ" -> "OE"), letters with other accents without them, control characters as
// blanks, blanks at either end dropped.
QString latinText(QStringView text);
// Text of the plain kinds (the invoice number): Basic Latin only, accents dropped ("è" -> "e").
QString basicLatinText(QStringView text);
// Notes in pieces of at most 200 characters, broken at a blank where there is one.
QStringList causalePieces(QStringView text);

// ---------------------------------------------------------------- help

QString helpTitle();
QString helpText();

} // namespace tarvello::EInvoice

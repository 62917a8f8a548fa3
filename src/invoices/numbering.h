#pragma once

#include <QString>

#include <optional>

namespace tarvello
{

// Numerazione.ini, beside the program, keeps the numbering of the invoices (written by the
// numbering dialog) and the issuing company's data (written when the invoice screen closes).
// Nothing of it is kept in memory: every use reads the file afresh.
QString numberingIniName(); // "Numerazione.ini"
QString numberingIniPath(const QString& programFolder);

// Section "Numerazione Fatture", as stored (a missing file, section or key reads as empty).
struct NumberingSettings {
    QString start;       // "Inizio": the start number; empty means 1
    QString yearSetting; // "Indicazione Anno Solare": "Sì" or "No"

    // Only the exact text "Sì" asks for the year; "si", "SI" or nothing give a plain number.
    bool yearSuffix() const;
};

NumberingSettings readNumberingSettings(const QString& iniPath);
// Writes "Inizio" (the start text, trimmed) and then "Indicazione Anno Solare" ("Sì" or "No"),
// both in one rewrite of the file. Other sections and keys are kept. Returns false when the
// file could not be written; the caller must tell the user.
bool writeNumberingSettings(const QString& iniPath, QStringView startText, bool yearSuffix);

// The start field as the numbering dialog and New see it: a blank start is "1".
QString startTextOrDefault(QStringView startText);

// The numbering dialog's start field on leaving it: blank or not a number gives "1", anything
// else its value rounded to a whole number (halves upwards), in plain decimal.
QString normaliseStartNumber(QStringView text);

// The number New proposes: the start (a whole number; blank means 1) plus the invoices already
// in the year's file, followed by "/" and the four-digit current year when asked for. Nothing
// when the start is not a whole number.
std::optional<QString> formInvoiceNumber(QStringView startText, bool yearSuffix, qint64 invoiceCount,
                                         int currentYear);

// The number of whole records of an invoice file, which is created empty when missing. Nothing
// when the file cannot be opened or created.
std::optional<qint64> countInvoices(const QString& invoiceFilePath);

// Everything New needs, read afresh, in New's order: settings, count, number.
struct InvoiceNumberProposal {
    enum class Outcome {
        Proposed,      // number holds the proposal
        ArchiveFailed, // the invoice file could not be opened: nothing else was done
        StartNotWhole, // the file was counted but the start number is not a whole number
    };
    Outcome outcome = Outcome::ArchiveFailed;
    NumberingSettings settings; // with a blank start already replaced by "1"
    qint64 invoiceCount = 0;
    QString number;
};

// The year is today's year, not the year of the invoice file.
InvoiceNumberProposal proposeInvoiceNumber(const QString& iniPath, const QString& invoiceFilePath,
                                           int currentYear);

// Section "Ditta Emittente": the issuing company and the invoice defaults the invoice screen
// keeps from one use to the next.
struct CompanyData {
    QString name;      // Nome            txtDitta
    QString street;    // Indirizzo       txtViaDitta
    QString postcode;  // CAP             txtCapDitta
    QString town;      // Comune          txtCittaDitta
    QString province;  // Provincia       txtProvDitta
    QString vatNumber; // Partita IVA     txtIvaDitta
    QString taxCode;   // Codice Fiscale  txtCodFiscDitta
    QString free1;     // Campo Libero 1  txtLibero01
    QString free2;     // Campo Libero 2  txtLibero02
    QString payment;   // Pagamento       txtPagamento
    QString bank;      // Banca Appoggio  txtBanca
    QString iban;      // Iban            txtIban
    QString vatRate;   // Aliquota Iva    txtPercIva

    friend bool operator==(const CompanyData&, const CompanyData&) = default;
};

CompanyData readCompanyData(const QString& iniPath);
// Writes the thirteen values trimmed, in the order above, in one rewrite of the file. Returns
// false when the file could not be written; the caller must tell the user.
bool writeCompanyData(const QString& iniPath, const CompanyData& company);

} // namespace tarvello

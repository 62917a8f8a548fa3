#pragma once

#include "einvoice.h"

#include <optional>

namespace tarvello::EInvoice
{

// The certificate a document for a public administration is signed with, and the password the
// user typed for it this time (never kept beyond the one "Crea").
struct Signer {
    QString certificate; // a PKCS#12 file, .p12 or .pfx
    QString password;
};

// The file of one progressive number, as save() asks for it: the document built with that number,
// checked against the official schema in `schemaFolder`, and, with a signer, signed and its
// signature verified (the file is then the .xml.p7m).
MadeFile makeFile(const InvoiceDocument& invoice, const CustomerLookup& customer, Options options,
                  const QString& schemaFolder, const std::optional<Signer>& signer,
                  const QString& progressive);

} // namespace tarvello::EInvoice

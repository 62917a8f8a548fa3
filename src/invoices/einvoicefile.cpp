#include "einvoicefile.h"

#include "einvoiceschema.h"
#include "einvoicesign.h"

namespace tarvello::EInvoice
{

MadeFile makeFile(const InvoiceDocument& invoice, const CustomerLookup& customer, Options options,
                  const QString& schemaFolder, const std::optional<Signer>& signer,
                  const QString& progressive)
{
    options.progressive = progressive;
    const Built built = build(invoice, customer, options);
    if (!built.document)
        return {{}, {}, built.refusal};
    const Document& document = *built.document;
    const SchemaCheck check = checkAgainstSchema(document.xml, schemaFolder);
    switch (check.outcome) {
    case SchemaCheck::Outcome::Valid:
        break;
    case SchemaCheck::Outcome::Invalid:
        return {{}, {}, explainProblem(check.problems.first(), document.lineRows)};
    case SchemaCheck::Outcome::SchemaMissing:
    case SchemaCheck::Outcome::SchemaUnusable:
        return {{}, {}, schemaMissingMessage(schemaFolder)};
    }
    if (!signer)
        return {document.xml, document.fileName, {}};
    const SignResult signedDocument = sign(document.xml, signer->certificate, signer->password);
    if (!signedDocument.ok())
        return {{}, {}, signedDocument.message};
    // Our own signature, checked as the exchange system will check it, before anyone is told.
    const VerifyResult verified = verifySignature(signedDocument.p7m, document.xml);
    if (!verified.ok())
        return {{}, {}, verified.message};
    return {signedDocument.p7m, signedFileName(document.fileName), {}};
}

} // namespace tarvello::EInvoice

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace tarvello::EInvoice
{

struct Document;

// The official schema of the electronic invoice and the signature schema it imports, shipped
// beside the program. The import names the local file, so checking needs no network, and none
// is ever used.
QString schemaFileName();          // "Schema_del_file_xml_FatturaPA_v1.2.2.xsd"
QString signatureSchemaFileName(); // "xmldsig-core-schema.xsd"

// One fault the schema finds in a document.
struct SchemaProblem {
    // The element's names from below the root down to it, each with its place among the
    // elements of the same name ("DettaglioLinee" 2 is the second line).
    QStringList path;
    QList<int> places;
    QString value;     // the element's text, for a leaf
    bool wrongPlace;   // an element missing, or one where none is expected
    QString expected;  // then: the element the schema expected there, when it says
    QString technical; // the validator's own words, for the log
};

struct SchemaCheck {
    enum class Outcome {
        Valid,
        Invalid,       // problems holds what is wrong, in the document's order
        SchemaMissing, // a schema file is not in the folder
        SchemaUnusable // the schema files are there but cannot be read as a schema
    };
    Outcome outcome = Outcome::SchemaMissing;
    QList<SchemaProblem> problems;
};

// Checks `xml` against the schema files in `schemaFolder`.
SchemaCheck checkAgainstSchema(const QByteArray& xml, const QString& schemaFolder);

// What the window tells the user about a document the schema refuses, in Italian: the field, what
// is wrong with it and, after an empty line, what to fix on the invoice or the customer's card.
// `lineRows` gives the invoice row of each line of the document.
QString explainProblem(const SchemaProblem& problem, const std::vector<int>& lineRows);
// The message for the schema files that are missing or cannot be used.
QString schemaMissingMessage(const QString& schemaFolder);

} // namespace tarvello::EInvoice

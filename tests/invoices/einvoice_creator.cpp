// A second (third, fourth) program creating electronic invoices in one folder, as a workstation
// does when its user presses "Crea": the same invoice, `count` times, through the program's own
// numbering and writing. Each document it is told was created is printed as "OK <file name>", each
// failure as "FAIL <message>", so the test knows exactly what every program reported.
//
//     einvoice_creator FOLDER COUNT SCHEMA_FOLDER
#include "invoices/calculation.h"
#include "invoices/einvoice.h"
#include "invoices/einvoicefile.h"
#include "invoices/numbering.h"

#include <QDir>
#include <QString>

#include <cstdio>

using namespace tarvello;

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: einvoice_creator FOLDER COUNT SCHEMA_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int count = QString::fromLatin1(argv[2]).toInt();
    const QString schemaFolder = QString::fromLocal8Bit(argv[3]);

    InvoiceDocument invoice;
    invoice.number = QStringLiteral("7");
    invoice.date = QStringLiteral("05/03/2026");
    invoice.issuer = {QStringLiteral("Tarvello Forniture S.r.l."),
                      QStringLiteral("Via Roma 1"),
                      QStringLiteral("47121"),
                      QStringLiteral("Forli"),
                      QStringLiteral("FC"),
                      QStringLiteral("01234567897"),
                      QString()};
    invoice.customer = {
        QStringLiteral("Rossi Mario"),     QStringLiteral("Via Verdi 2"), QStringLiteral("40121"),
        QStringLiteral("Bologna"),         QStringLiteral("BO"),          QString(),
        QStringLiteral("RSSMRA80A01H501U")};
    invoice.row(1) = {
        QStringLiteral("3"), QString(), QStringLiteral("Lezione"), QStringLiteral("33,33"), QString(),
        QString(),           false};
    invoice.vatRate = QStringLiteral("22");
    calculateInvoice(invoice);

    EInvoice::Options options = EInvoice::defaultOptions(invoice, {});
    options.taxRegime = QStringLiteral("RF01");
    options.exemptNature = QStringLiteral("N4");
    const EInvoice::CustomerLookup nobody;
    const QString documents = QDir(folder).filePath(EInvoice::folderName());
    const QString ini = numberingIniPath(folder);
    for (int i = 0; i < count; ++i) {
        const EInvoice::Saved saved = EInvoice::save(
            documents, ini, {{}, options.taxRegime, options.exemptNature, {}}, invoice.issuer.vatNumber,
            [&](const QString& progressive) {
                return EInvoice::makeFile(invoice, nobody, options, schemaFolder, std::nullopt, progressive);
            });
        if (saved.ok())
            std::printf("OK %s\n", qPrintable(saved.fileName));
        else
            std::printf("FAIL %s\n", qPrintable(saved.failure.simplified()));
        std::fflush(stdout);
    }
    return 0;
}

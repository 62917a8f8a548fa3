// Writes invoices for ever the way the invoice screen does with articles imported from the
// warehouse: each article's units are taken through the stock journal, then the invoice is either
// saved (and its imports settled) or left unsaved (and its units given back). The crash test
// kills it at random moments; it prints a line after each invoice only so the test knows it runs.
//
//     crash_importer FOLDER SEED FIRST_NUMBER
#include "archive/cardarchive.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "archive/stockjournal.h"
#include "core/numbers.h"
#include "warehouse/productsearch.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <random>

using namespace tarvello;
namespace IR = InvoiceRecord;
namespace SJ = StockJournal;

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    std::mt19937 random(unsigned(std::atoi(argv[2])));
    const qint64 first = std::atoll(argv[3]);
    const QString products = QDir(folder).filePath(ProductRecord::fileName());
    const QString invoices = QDir(folder).filePath(IR::fileName(QStringLiteral("2026")));
    const qint64 productCount = QFileInfo(products).size() / ProductRecord::Size;
    SJ::Session session(folder);
    for (qint64 n = first;; ++n) {
        const QString holder = QStringLiteral("fattura-%1").arg(n);
        const QString number = QString::number(n);
        Record invoice(IR::layout());
        invoice.setText(IR::NumFatt, number);
        const int rows = 1 + int(random() % 3);
        for (int row = 1; row <= rows; ++row) {
            SJ::Entry entry;
            entry.holder = holder;
            entry.invoiceFile = QFileInfo(invoices).fileName();
            entry.invoiceNumber = number;
            entry.product = qint64(random() % quint64(productCount));
            entry.quantity = double(1 + random() % 3);
            SJ::Taking taking(session, entry);
            if (!taking.ok())
                return 1;
            const ProductSearch::Import import = ProductSearch::takeFromStock(
                products, entry.product, formatNumber(entry.quantity),
                [&](const Record& stored, double before, double after) {
                    return taking.intend(stored.text(ProductRecord::Codice), before, after);
                });
            if (import.outcome != ProductSearch::Import::Outcome::Done || !taking.confirm())
                return 1;
            invoice.setText(IR::rowField(IR::Codice, row), import.product->text(ProductRecord::Codice));
            invoice.setText(IR::rowField(IR::Quant, row), formatNumber(entry.quantity));
        }
        if (random() % 3 != 0) {
            if (!CardArchive::save(invoices, IR::Size, invoice.bytes(), {}).ok ||
                !SJ::settle(session, holder))
                return 1;
        } else if (!SJ::giveBack(session, holder).ok) {
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(n));
        std::fflush(stdout);
    }
}

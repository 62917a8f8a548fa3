// Units imported into invoices are never lost nor counted twice, however a program is stopped: a
// program that imports articles into invoices, saves some and leaves others unsaved, is killed
// with SIGKILL at random moments, many times over one folder. After each kill the next start
// settles the journal, and then each product's stock is its first stock less what the saved
// invoices hold of it, its value worked out from that stock.
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "archive/stockjournal.h"
#include "core/numbers.h"
#include "files.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <random>
#include <signal.h>

using namespace tarvello;
namespace PR = ProductRecord;
namespace IR = InvoiceRecord;
namespace SJ = StockJournal;

namespace
{

int killCount()
{
    const int asked = qEnvironmentVariableIntValue("CRASH_KILLS");
    return asked > 0 ? asked : 40;
}

} // namespace

TEST(CrashImports, StockIsTheFirstStockLessWhatSavedInvoicesHold)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString products = QDir(dir.path()).filePath(PR::fileName());
    const QString invoices = QDir(dir.path()).filePath(IR::fileName(QStringLiteral("2026")));
    const QStringList codes = {QStringLiteral("CAVO"), QStringLiteral("VITE"), QStringLiteral("DADO"),
                               QStringLiteral("FARO")};
    const double firstStock = 100000;
    {
        QByteArray bytes;
        for (const QString& code : codes) {
            Record r(PR::layout());
            r.setText(PR::Codice, code);
            r.setText(PR::Giacenza, formatNumber(firstStock));
            r.setText(PR::Costo, u"1,50");
            r.setText(PR::Valore, moneyText(firstStock * 1.5));
            bytes += r.bytes();
        }
        ASSERT_TRUE(writeFile(products, bytes));
    }

    std::mt19937 random(20261211);
    qint64 invoicesSeen = 0;
    const int kills = killCount();
    for (int k = 0; k < kills; ++k) {
        QProcess importer;
        importer.start(QStringLiteral(CRASH_IMPORTER),
                       {dir.path(), QString::number(k), QString::number(qint64(k + 1) * 1000000)});
        ASSERT_TRUE(importer.waitForStarted());
        ASSERT_TRUE(importer.waitForReadyRead(20000)) << "the importer writes no invoice";
        QThread::msleep(random() % 40);
        ::kill(pid_t(importer.processId()), SIGKILL);
        ASSERT_TRUE(importer.waitForFinished());
        ASSERT_EQ(importer.exitStatus(), QProcess::CrashExit) << "the importer stopped by itself: " << k;
        invoicesSeen += importer.readAllStandardOutput().count('\n');

        SCOPED_TRACE("after kill " + std::to_string(k));
        // The next program started on the folder.
        const SJ::GivenBack given = SJ::recover(dir.path());
        EXPECT_TRUE(given.ok);
        EXPECT_TRUE(given.skipped.empty()) << "nobody else touched the stock: the journal always tells";
        EXPECT_EQ(fileBytes(QDir(dir.path()).filePath(SJ::fileName())), QByteArray())
            << "something left held";

        QHash<QString, double> invoiced;
        const QByteArray saved = fileBytes(invoices);
        for (qint64 i = 0; i < saved.size() / IR::Size; ++i) {
            const Record invoice(IR::layout(), saved.mid(i * IR::Size, IR::Size));
            for (int row = 1; row <= IR::Rows; ++row)
                if (const QString code = invoice.text(IR::rowField(IR::Codice, row)).trimmed();
                    !code.isEmpty())
                    invoiced[code] += parseNumber(invoice.text(IR::rowField(IR::Quant, row))).value_or(-1e9);
        }
        const QByteArray stock = fileBytes(products);
        ASSERT_EQ(stock.size(), codes.size() * PR::Size);
        for (qsizetype p = 0; p < codes.size(); ++p) {
            const Record product(PR::layout(), stock.mid(p * PR::Size, PR::Size));
            const double expected = firstStock - invoiced.value(codes[p]);
            EXPECT_EQ(parseNumber(product.text(PR::Giacenza)), expected) << codes[p].toStdString();
            EXPECT_EQ(product.text(PR::Valore), moneyText(expected * 1.5)) << codes[p].toStdString();
        }
    }
    EXPECT_GE(invoicesSeen, kills) << "the kills came before any invoice";
}

#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "archive/stockjournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace tarvello;
namespace PR = ProductRecord;
namespace SJ = StockJournal;

namespace
{

// Two products: 7,5 m of cable at 2,00 (value 15,00) and 100 screws at 0,10 (value 10,00), with
// the units of the imports already taken, as the import leaves them.
class StockJournalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QByteArray bytes;
        for (const auto& [code, stock, cost, value] : {std::tuple{u"CAVO", u"7,5", u"2,00", u"15,00"},
                                                       std::tuple{u"VITE", u"100", u"0,10", u"10,00"}}) {
            Record r(PR::layout());
            r.setText(PR::Codice, code);
            r.setText(PR::Giacenza, stock);
            r.setText(PR::Costo, cost);
            r.setText(PR::Valore, value);
            bytes += r.bytes();
        }
        write(PR::fileName(), bytes);
    }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    Record product(int index) const
    {
        QFile f(dir.filePath(PR::fileName()));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return Record(PR::layout(), f.readAll().mid(index * PR::Size, PR::Size));
    }
    QByteArray journal() const
    {
        QFile f(dir.filePath(SJ::fileName()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
    static SJ::Entry import(const QString& holder, qint64 product, const char16_t* code, double quantity)
    {
        SJ::Entry e;
        e.holder = holder;
        e.invoiceFile = QStringLiteral("2026.fat");
        e.invoiceNumber = QStringLiteral("12/2026");
        e.product = product;
        e.code = QString::fromUtf16(code);
        e.quantity = quantity;
        return e;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(StockJournalTest, ASavedInvoiceKeepsItsUnitsAndALeftOneGivesThemBack)
{
    SJ::Session session(dir.path());
    ASSERT_TRUE(SJ::hold(session, import(QStringLiteral("a"), 0, u"CAVO", 2.5)));
    ASSERT_TRUE(SJ::hold(session, import(QStringLiteral("b"), 1, u"VITE", 20)));
    ASSERT_TRUE(SJ::hold(session, import(QStringLiteral("b"), 0, u"CAVO", 1)));
    EXPECT_EQ(SJ::held(session, QStringLiteral("b")).size(), 2u);

    // Invoice a saved: its cable stays taken.
    ASSERT_TRUE(SJ::settle(session, QStringLiteral("a")));
    EXPECT_TRUE(SJ::held(session, QStringLiteral("a")).empty());
    // Invoice b left without saving: 20 screws and 1 m of cable go back, the values with them.
    const SJ::GivenBack back = SJ::giveBack(session, QStringLiteral("b"));
    EXPECT_TRUE(back.ok);
    EXPECT_EQ(back.entries.size(), 2u);
    EXPECT_EQ(product(0).text(PR::Giacenza), QStringLiteral("8,5"));
    EXPECT_EQ(product(0).text(PR::Valore), QStringLiteral("17,00"));
    EXPECT_EQ(product(1).text(PR::Giacenza), QStringLiteral("120"));
    EXPECT_EQ(product(1).text(PR::Valore), QStringLiteral("12,00"));
    // Given back once only, and nothing left to hold: the journal is empty again.
    EXPECT_TRUE(SJ::giveBack(session, QStringLiteral("b")).entries.empty());
    EXPECT_EQ(product(1).text(PR::Giacenza), QStringLiteral("120"));
    EXPECT_EQ(journal(), QByteArray());
}

TEST_F(StockJournalTest, AtStartWhatAGoneProgramHeldGoesBackUnlessASavedInvoiceTookIt)
{
    // The invoice 12/2026 with a row of screws was saved before the program was killed; the
    // cable of the same invoice, and the screws of another unsaved one, were not.
    Record invoice(InvoiceRecord::layout());
    invoice.setText(InvoiceRecord::NumFatt, u"12/2026");
    invoice.setText(InvoiceRecord::rowField(InvoiceRecord::Codice, 3), u"VITE");
    write(QStringLiteral("2026.fat"), invoice.bytes());
    QString goneId;
    {
        SJ::Session gone(dir.path());
        goneId = gone.id();
        ASSERT_TRUE(SJ::hold(gone, import(QStringLiteral("a"), 1, u"VITE", 20)));
        ASSERT_TRUE(SJ::hold(gone, import(QStringLiteral("a"), 0, u"CAVO", 2.5)));
        SJ::Entry other = import(QStringLiteral("b"), 1, u"VITE", 5);
        other.invoiceNumber = QStringLiteral("13/2026");
        ASSERT_TRUE(SJ::hold(gone, other));
    } // the program is gone: its lock with it, though a killed one leaves its file behind
    QFile left(dir.filePath(SJ::sessionsFolder() + u'/' + goneId + QStringLiteral(".lck")));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    SJ::Session running(dir.path());
    ASSERT_TRUE(SJ::hold(running, import(QStringLiteral("c"), 0, u"CAVO", 1)));

    const SJ::GivenBack back = SJ::recover(dir.path());
    EXPECT_TRUE(back.ok);
    ASSERT_EQ(back.entries.size(), 2u);
    EXPECT_EQ(product(0).text(PR::Giacenza), QStringLiteral("10"));  // 7,5 + 2,5
    EXPECT_EQ(product(1).text(PR::Giacenza), QStringLiteral("105")); // 100 + 5: the 20 were invoiced
    EXPECT_EQ(SJ::recoveredMessage(back),
              QStringLiteral("Il programma non è stato chiuso normalmente mentre una fattura non salvata "
                             "conteneva articoli prelevati dal magazzino.\n\n"
                             "Gli articoli sono stati restituiti al magazzino:\n- CAVO: 2,5\n- VITE: 5"));
    // The running program's import is its own to settle, and a second start gives nothing back.
    EXPECT_EQ(SJ::held(running, QStringLiteral("c")).size(), 1u);
    EXPECT_TRUE(SJ::recover(dir.path()).entries.empty());
    EXPECT_EQ(product(0).text(PR::Giacenza), QStringLiteral("10"));
}

TEST_F(StockJournalTest, UnitsOfARecordThatIsNoLongerTheProductAreNotGivenToAnother)
{
    SJ::Session session(dir.path());
    ASSERT_TRUE(SJ::hold(session, import(QStringLiteral("a"), 0, u"VITE", 3)));
    ASSERT_TRUE(SJ::hold(session, import(QStringLiteral("a"), 7, u"DADO", 1)));
    const SJ::GivenBack back = SJ::giveBack(session, QStringLiteral("a"));
    EXPECT_TRUE(back.entries.empty());
    EXPECT_EQ(back.skipped.size(), 2u);
    EXPECT_EQ(product(0).text(PR::Giacenza), QStringLiteral("7,5"));
    EXPECT_TRUE(SJ::recoveredMessage(back).contains(QStringLiteral("Controllare la giacenza")));
}

TEST_F(StockJournalTest, ALineCutByACrashConfirmsNothingAndTheNextLineStandsAlone)
{
    write(SJ::fileName(), QByteArray("H\tx\tgone\ta\t2026.fat\t1\t0\tCAV"));
    SJ::Session session(dir.path());
    ASSERT_TRUE(SJ::hold(session, import(QStringLiteral("a"), 1, u"VITE", 4)));
    EXPECT_EQ(SJ::held(session, QStringLiteral("a")).size(), 1u);
    EXPECT_TRUE(SJ::recover(dir.path()).entries.empty());
    EXPECT_EQ(product(0).text(PR::Giacenza), QStringLiteral("7,5"));
}

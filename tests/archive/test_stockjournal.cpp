#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "archive/stockjournal.h"
#include "files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <unistd.h>

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
        ASSERT_TRUE(writeFile(dir.filePath(name), bytes));
    }
    Record product(int index) const
    {
        return Record(PR::layout(), recordBytes(dir.filePath(PR::fileName()), index, PR::Size));
    }
    QByteArray journal() const { return fileBytes(dir.filePath(SJ::fileName()), kMissingFile); }
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
    ASSERT_TRUE(writeFile(dir.filePath(SJ::sessionsFolder() + u'/' + goneId + QStringLiteral(".lck"))));
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

// A program stopped between writing a line down and writing the stock: the stock stored at the
// next start tells whether the units went. The cable's stock was 7,5 before the import of 2 and
// 5,5 after it; a give-back of those 2 goes from 5,5 to 7,5. A stock that is neither (changed by
// someone else meanwhile) cannot tell, and the user is asked to check it.
TEST_F(StockJournalTest, AStopBetweenTheJournalAndTheStockIsSettledByTheStockStored)
{
    struct Case {
        const char* name;
        const char* lines;      // what the stopped program left in the journal
        const char16_t* stored; // the cable's stock at the next start
        const char16_t* after;  // the stock once the start has settled it
        size_t givenBack, unsure;
    };
    const char* importCut = "H\tgone-1\tgone\ta\t2026.fat\t12/2026\t0\tCAVO\t2\t7.5\t5.5\n";
    const std::string giveBackCut = std::string(importCut) + "T\tgone-1\nR\tgone-1\t5.5\t7.5\n";
    const Case cases[] = {
        {"import cut after its stock was written", importCut, u"5,5", u"7,5", 1, 0},
        {"import cut before its stock was written", importCut, u"7,5", u"7,5", 0, 0},
        {"import cut, stock changed since", importCut, u"6", u"6", 0, 1},
        {"give-back cut after its stock was written", giveBackCut.c_str(), u"7,5", u"7,5", 1, 0},
        {"give-back cut before its stock was written", giveBackCut.c_str(), u"5,5", u"7,5", 1, 0},
        {"give-back cut, stock changed since", giveBackCut.c_str(), u"6", u"6", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Record cable = product(0);
        cable.setText(PR::Giacenza, c.stored);
        QFile f(dir.filePath(PR::fileName()));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_EQ(f.write(cable.bytes()), PR::Size);
        f.close();
        write(SJ::fileName(), c.lines);

        const SJ::GivenBack back = SJ::recover(dir.path());
        EXPECT_TRUE(back.ok);
        EXPECT_EQ(back.entries.size(), c.givenBack);
        EXPECT_EQ(back.skipped.size(), c.unsure);
        EXPECT_EQ(product(0).text(PR::Giacenza), QString::fromUtf16(c.after));
        // Settled once and for all: nothing is left to settle at the start after.
        EXPECT_EQ(journal(), QByteArray());
        EXPECT_TRUE(SJ::recover(dir.path()).entries.empty());
        EXPECT_EQ(product(0).text(PR::Giacenza), QString::fromUtf16(c.after));
    }
}

// The import writes itself down before the stock, and confirms after it; an import refused (or
// failed) leaves no units held.
TEST_F(StockJournalTest, AnImportIsWrittenDownBeforeItsStockAndConfirmedAfter)
{
    SJ::Session session(dir.path());
    {
        SJ::Taking taking(session, import(QStringLiteral("a"), 0, u"CAVO", 2));
        ASSERT_TRUE(taking.ok());
        ASSERT_TRUE(taking.intend(QStringLiteral("CAVO"), 7.5, 5.5));
        EXPECT_TRUE(journal().startsWith("H\t")); // on the disk before the stock is written
    }
    {
        SJ::Taking taking(session, import(QStringLiteral("a"), 1, u"VITE", 3));
        ASSERT_TRUE(taking.intend(QStringLiteral("VITE"), 100, 97));
        ASSERT_TRUE(taking.confirm());
    }
    {
        SJ::Taking taking(session, import(QStringLiteral("a"), 1, u"VITE", 4));
        ASSERT_TRUE(taking.intend(QStringLiteral("VITE"), 97, 93));
        ASSERT_TRUE(taking.abandon());
    }
    const std::vector<SJ::Entry> held = SJ::held(session, QStringLiteral("a"));
    ASSERT_EQ(held.size(), 2u);
    EXPECT_FALSE(held[0].confirmed);
    EXPECT_TRUE(held[1].confirmed);
    EXPECT_EQ(held[1].quantity, 3);
    // Saving the invoice settles what is confirmed; the unconfirmed import waits for the stock to
    // tell at the next start.
    ASSERT_TRUE(SJ::settle(session, QStringLiteral("a")));
    ASSERT_EQ(SJ::held(session, QStringLiteral("a")).size(), 1u);
}

// Another workstation runs as another user, or on a share that lets this one only read: its
// session file cannot be opened here as the program opens its own. Only a lock taken proves a
// program ended; a file that cannot be opened proves nothing, and its units stay where they are.
TEST_F(StockJournalTest, AProgramWhoseSessionFileCannotBeOpenedIsNotTakenForGone)
{
    const QString lock = dir.filePath(SJ::sessionsFolder() + QStringLiteral("/altra-1.lck"));
    const QByteArray lines = "H\taltra-1-1\taltra-1\ta\t2026.fat\t12/2026\t0\tCAVO\t2\n";
    struct Refusal {
        const char* name;
        std::function<bool()> refuse, allow;
    };
    const auto mode = [&](QFileDevice::Permissions p) {
        return [&, p] { return QFile::setPermissions(lock, p); };
    };
    const auto chattr = [&](const char* flag) {
        return [&, flag] {
            return QProcess::execute(QStringLiteral("chattr"), {QString::fromLatin1(flag), lock}) == 0;
        };
    };
    const QFileDevice::Permissions readWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    std::vector<Refusal> refusals;
    if (geteuid() == 0) { // root ignores permissions: an immutable file opens for reading only
        refusals.push_back({"immutable", chattr("+i"), chattr("-i")});
    } else {
        refusals.push_back({"read only", mode(QFileDevice::ReadOwner), mode(readWrite)});
        refusals.push_back({"no permission at all", mode({}), mode(readWrite)});
    }
    LockedElsewhere other(lock);
    ASSERT_TRUE(other.held());
    write(SJ::fileName(), lines);
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        if (!r.refuse())
            GTEST_SKIP() << "this machine cannot make a file that refuses opening";
        const SJ::GivenBack back = SJ::recover(dir.path());
        r.allow();
        EXPECT_TRUE(back.entries.empty());
        EXPECT_TRUE(back.skipped.empty());
        EXPECT_EQ(SJ::recoveredMessage(back), QString());
        EXPECT_EQ(product(0).text(PR::Giacenza), QStringLiteral("7,5"));
        EXPECT_EQ(journal(), lines);
        EXPECT_TRUE(QFile::exists(lock));
    }
}

// A file named Postazioni where the folder of the sessions should be: the trouble is that file,
// and the user is told so, not that the journal could not be written.
TEST_F(StockJournalTest, AFileInPlaceOfTheSessionsFolderIsNamed)
{
    write(SJ::sessionsFolder(), "non una cartella");
    SJ::Session session(dir.path());
    SJ::Taking taking(session, import(QStringLiteral("a"), 0, u"CAVO", 2));
    EXPECT_FALSE(taking.ok());
    EXPECT_EQ(
        taking.problem(),
        QStringLiteral("Nella cartella del programma c'è un file di nome Postazioni al posto della cartella "
                       "Postazioni, dove ogni postazione segnala la sua presenza: rinominarlo o spostarlo "
                       "altrove."));
    EXPECT_EQ(journal(), kMissingFile);
}

#include "archive/cardarchive.h"
#include "archive/customerrecord.h"
#include "archive/productrecord.h"
#include "core/numbers.h"
#include "files.h"

#include <QDir>

#include <QFile>
#include <QTemporaryDir>
#include <array>

#include <gtest/gtest.h>

using namespace tarvello;
using namespace tarvello::CardArchive;

namespace
{

constexpr int kSize = CustomerRecord::Size;

QByteArray customer(QStringView surname)
{
    Record r(CustomerRecord::layout());
    r.setText(CustomerRecord::Cognome, surname);
    return r.bytes();
}

QString surnameOf(const QByteArray& record)
{
    return Record(CustomerRecord::layout(), record).text(CustomerRecord::Cognome);
}

} // namespace

TEST(CardNavigation, WhereEachArrowGoes)
{
    using K = Move::Kind;
    const std::optional<qint64> fresh;
    struct Case {
        Arrow arrow;
        std::optional<qint64> current;
        qint64 count;
        K kind;
        qint64 position;
    };
    const Case cases[] = {
        // empty archive
        {Arrow::First, fresh, 0, K::Empty, 0},
        {Arrow::Last, fresh, 0, K::Empty, 0},
        {Arrow::Next, fresh, 0, K::EmptyAndClear, 0},
        {Arrow::Next, 2, 0, K::EmptyAndClear, 0},
        {Arrow::Previous, fresh, 0, K::Empty, 0},
        {Arrow::Previous, 3, 0, K::Empty, 0},
        {Arrow::Previous, 1, 0, K::Stay, 0},
        // a new card
        {Arrow::First, fresh, 5, K::Show, 1},
        {Arrow::Last, fresh, 5, K::Show, 5},
        {Arrow::Next, fresh, 5, K::Show, 1},
        {Arrow::Previous, fresh, 5, K::Show, 1},
        // a loaded card
        {Arrow::First, 3, 5, K::Show, 1},
        {Arrow::Last, 3, 5, K::Show, 5},
        {Arrow::Next, 3, 5, K::Show, 4},
        {Arrow::Next, 5, 5, K::Stay, 0},
        {Arrow::Previous, 3, 5, K::Show, 2},
        {Arrow::Previous, 2, 5, K::Show, 1},
        {Arrow::Previous, 1, 5, K::Stay, 0},
        // a position beyond the end (the file was replaced meanwhile) never reads past it
        {Arrow::Previous, 9, 5, K::Show, 5},
        {Arrow::Next, 9, 5, K::Stay, 0},
    };
    for (const Case& c : cases) {
        const Move m = navigate(c.arrow, c.current, c.count);
        EXPECT_EQ(m.kind, c.kind) << int(c.arrow) << " from " << c.current.value_or(0) << " of " << c.count;
        if (c.kind == K::Show) {
            EXPECT_EQ(m.position, c.position) << int(c.arrow) << " from " << c.current.value_or(0);
        }
    }
}

TEST(CardNavigation, PositionLabel)
{
    EXPECT_EQ(positionOf(u""), std::nullopt);
    EXPECT_EQ(positionOf(u"  "), std::nullopt);
    EXPECT_EQ(positionOf(u" 12 "), std::optional<qint64>(12));
    EXPECT_EQ(positionOf(u"0"), std::nullopt);
    EXPECT_EQ(positionOf(u"-3"), std::nullopt);
    EXPECT_EQ(positionOf(u"3a"), std::nullopt);
}

TEST(CardNavigation, StepReadsTheRecordTheArrowGoesTo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    ASSERT_TRUE(writeFile(path, customer(u"Rossi") + customer(u"Bianchi") + customer(u"Verdi")));
    struct Case {
        Arrow arrow;
        const char16_t* label;
        std::optional<qint64> shown;
        const char16_t* surname;
    };
    const Case cases[] = {
        {Arrow::First, u"3", 1, u"Rossi"},      {Arrow::Last, u"", 3, u"Verdi"},
        {Arrow::Next, u"", 1, u"Rossi"},        {Arrow::Next, u" 2 ", 3, u"Verdi"},
        {Arrow::Previous, u"3", 2, u"Bianchi"}, {Arrow::Previous, u"1", std::nullopt, u""},
        {Arrow::Next, u"3", std::nullopt, u""},
    };
    for (const Case& c : cases) {
        const Step s = step(path, kSize, c.arrow, c.label);
        const std::string what =
            std::to_string(int(c.arrow)) + " from '" + QString::fromUtf16(c.label).toStdString() + "'";
        EXPECT_FALSE(s.failed) << what;
        EXPECT_FALSE(s.archiveEmpty) << what;
        EXPECT_FALSE(s.clearPosition) << what;
        EXPECT_EQ(s.shown, c.shown) << what;
        EXPECT_EQ(surnameOf(s.record), QString::fromUtf16(c.surname)) << what;
    }
}

TEST(CardNavigation, StepOnAnEmptyArchiveCreatesItAndSaysSo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    const Step next = step(path, kSize, Arrow::Next, u"2");
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(next.archiveEmpty);
    EXPECT_TRUE(next.clearPosition);
    EXPECT_EQ(next.shown, std::nullopt);
    const Step first = step(path, kSize, Arrow::First, u"");
    EXPECT_TRUE(first.archiveEmpty);
    EXPECT_FALSE(first.clearPosition);
    const Step previous = step(path, kSize, Arrow::Previous, u"1");
    EXPECT_FALSE(previous.archiveEmpty) << "the previous arrow at the first card is silent";
}

TEST(CardNavigation, StepThatCannotReachTheArchiveSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("manca/Clienti.pro"));
    const Step s = step(path, kSize, Arrow::First, u"");
    EXPECT_TRUE(s.failed);
    EXPECT_FALSE(s.archiveEmpty);
    EXPECT_EQ(s.shown, std::nullopt);
    EXPECT_TRUE(s.error.contains(path)) << s.error.toStdString();
}

TEST(CardSave, NewCardAppendsAndAStoredOneOverwritesItsOwnRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    const Saved first = save(path, kSize, customer(u"Rossi"), u"");
    ASSERT_TRUE(first.ok);
    EXPECT_TRUE(first.inserted);
    EXPECT_EQ(first.position, 1);
    EXPECT_EQ(first.message(), QStringLiteral("La scheda corrente è stata inserita in archivio."));

    const Saved second = save(path, kSize, customer(u"Bianchi"), u"  ");
    EXPECT_EQ(second.position, 2);

    const Saved again = save(path, kSize, customer(u"Verdi"), u" 1 ");
    ASSERT_TRUE(again.ok);
    EXPECT_FALSE(again.inserted);
    EXPECT_EQ(again.position, 1);
    EXPECT_EQ(again.message(),
              QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    EXPECT_EQ(fileBytes(path), customer(u"Verdi") + customer(u"Bianchi"));
}

TEST(CardSave, APositionTheCardCouldNotHaveSetWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    ASSERT_TRUE(writeFile(path, customer(u"Rossi")));
    for (const char16_t* label : {u"x", u"0", u"-1", u"3"}) {
        const Saved s = save(path, kSize, customer(u"Verdi"), label);
        EXPECT_FALSE(s.ok) << QString::fromUtf16(label).toStdString();
        EXPECT_FALSE(s.error.isEmpty()) << QString::fromUtf16(label).toStdString();
        EXPECT_EQ(fileBytes(path), customer(u"Rossi")) << QString::fromUtf16(label).toStdString();
    }
    // Just past the last record: the file was replaced meanwhile, and the card is appended.
    const Saved past = save(path, kSize, customer(u"Verdi"), u"2");
    ASSERT_TRUE(past.ok);
    EXPECT_EQ(past.position, 2);
}

TEST(CardFlags, OnlySiAndNoMoveABox)
{
    EXPECT_EQ(flagState(u"Sì"), std::optional<bool>(true));
    EXPECT_EQ(flagState(u" No "), std::optional<bool>(false));
    for (const char16_t* other : {u"", u"SI", u"si", u"S", u"no", u"Si"})
        EXPECT_EQ(flagState(QStringView(other)), std::nullopt) << QString::fromUtf16(other).toStdString();
}

// What leaving a card does, for each state and answer: whether the user is asked, whether the
// card is saved, and whether the caller goes on.
struct LeaveCase {
    const char* name;
    bool changed;
    Reply reply;
    bool saveSucceeds;
    bool asked;
    bool saved;
    bool goesOn;
};

class LeavingACard : public ::testing::TestWithParam<LeaveCase>
{
};

TEST_P(LeavingACard, AsksOnlyWhenChangedAndFollowsTheAnswer)
{
    const LeaveCase& c = GetParam();
    bool asked = false, saved = false;
    const bool goesOn = mayLeave(
        c.changed,
        [&] {
            asked = true;
            return c.reply;
        },
        [&] {
            saved = true;
            return c.saveSucceeds;
        });
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(saved, c.saved);
    EXPECT_EQ(goesOn, c.goesOn);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, LeavingACard,
    ::testing::Values(LeaveCase{"unchanged", false, Reply::Save, true, false, false, true},
                      LeaveCase{"unchangedEvenIfTheAnswerWouldBeCancel", false, Reply::Cancel, true, false,
                                false, true},
                      LeaveCase{"saveThatSucceeds", true, Reply::Save, true, true, true, true},
                      LeaveCase{"saveThatFailsStays", true, Reply::Save, false, true, true, false},
                      LeaveCase{"discard", true, Reply::Discard, true, true, false, true},
                      LeaveCase{"cancel", true, Reply::Cancel, true, true, false, false}),
    [](const ::testing::TestParamInfo<LeaveCase>& info) { return std::string(info.param.name); });

TEST(CardChanges, OnlyADifferenceFromTheLastPictureCounts)
{
    std::array<QString, 3> texts{QStringLiteral("Rossi"), QStringLiteral("Mario"), QString()};
    Changes changes;
    changes.reset(texts);
    EXPECT_FALSE(changes.changed(texts));
    texts[2] = QStringLiteral("a.pdf"); // an attachment applied is a change like any other
    EXPECT_TRUE(changes.changed(texts));
    texts[2].clear(); // put back as it was: nothing left to save
    EXPECT_FALSE(changes.changed(texts));
    texts[0] = QStringLiteral("Rossi ");
    EXPECT_TRUE(changes.changed(texts));
    changes.reset(texts); // saved
    EXPECT_FALSE(changes.changed(texts));
}

// Two workstations on one customer card: the card shown here, and what the other stored
// meanwhile. The table gives the fields each side changed from the shown card (Cognome Rossi,
// Nome Mario, TelCasa 011 111, Note empty) and what the record holds after this card's save.
namespace
{

namespace CR = CustomerRecord;
using Fields = std::vector<std::pair<int, const char*>>;

struct TwoSidesCase {
    const char* name;
    Fields theirs; // the other workstation's save
    Fields mine;   // this card's changes
    OnConflict onConflict;
    Fields after; // the stored record afterwards (fields not named: as shown)
    std::vector<int> conflicts;
};

Record shownCustomer()
{
    Record r(CR::layout());
    r.setText(CR::Cognome, u"Rossi");
    r.setText(CR::Nome, u"Mario");
    r.setText(CR::TelCasa, u"011 111");
    return r;
}

Record changed(Record r, const Fields& fields)
{
    for (const auto& [f, text] : fields)
        r.setText(f, QString::fromUtf8(text));
    return r;
}

std::vector<QString> textsOfRecord(const Record& r)
{
    std::vector<QString> t(r.layout().fields.size());
    textsFromRecord(r, t);
    return t;
}

void PrintTo(const TwoSidesCase& c, std::ostream* os)
{
    *os << c.name;
}

class TwoWorkstations : public ::testing::TestWithParam<TwoSidesCase>
{
};

} // namespace

TEST_P(TwoWorkstations, NeitherUndoesTheOther)
{
    const TwoSidesCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(CR::fileName());
    const Record shown = shownCustomer();
    const QByteArray other = customer(u"Bianchi");
    const QByteArray theirs = changed(shown, c.theirs).bytes();
    ASSERT_TRUE(writeFile(path, other + theirs));

    const std::vector<QString> loaded = textsOfRecord(shown);
    const std::vector<QString> card = textsOfRecord(changed(shown, c.mine));
    const CheckedSave s = save(path, CR::layout(), {loaded, shown.bytes(), card, {}}, u"2", c.onConflict);

    std::vector<int> conflicts;
    for (const Conflict& k : s.conflicts)
        conflicts.push_back(k.field);
    EXPECT_EQ(conflicts, c.conflicts);
    if (!c.conflicts.empty() && c.onConflict == OnConflict::Stop) {
        EXPECT_FALSE(s.ok);
        EXPECT_EQ(fileBytes(path), other + theirs) << "a stopped save wrote something";
        EXPECT_EQ(s.record, theirs) << "the record to reload from";
        return;
    }
    ASSERT_TRUE(s.ok) << s.error.toStdString();
    EXPECT_EQ(s.position, 2);
    const QByteArray expected = changed(shown, c.after).bytes();
    EXPECT_EQ(textsOfRecord(Record(CR::layout(), fileBytes(path).mid(kSize))),
              textsOfRecord(Record(CR::layout(), expected)));
    EXPECT_EQ(fileBytes(path).left(kSize), other);
}

INSTANTIATE_TEST_SUITE_P(
    CardSave, TwoWorkstations,
    ::testing::Values(TwoSidesCase{"onlyTheyChanged",
                                   {{CR::TelCasa, "011 222"}},
                                   {},
                                   OnConflict::Stop,
                                   {{CR::TelCasa, "011 222"}},
                                   {}},
                      TwoSidesCase{"eachChangedAnotherField",
                                   {{CR::TelCasa, "011 222"}},
                                   {{CR::Nome, "Marco"}},
                                   OnConflict::Stop,
                                   {{CR::TelCasa, "011 222"}, {CR::Nome, "Marco"}},
                                   {}},
                      TwoSidesCase{"onlyIChanged",
                                   {},
                                   {{CR::Note, "Cliente dal 2019"}},
                                   OnConflict::Stop,
                                   {{CR::Note, "Cliente dal 2019"}},
                                   {}},
                      TwoSidesCase{"bothTypedTheSame",
                                   {{CR::Note, "Pagato"}},
                                   {{CR::Note, "Pagato "}},
                                   OnConflict::Stop,
                                   {{CR::Note, "Pagato"}},
                                   {}},
                      TwoSidesCase{"bothChangedOneFieldStops",
                                   {{CR::TelCasa, "011 222"}, {CR::Note, "Da loro"}},
                                   {{CR::TelCasa, "011 333"}, {CR::Nome, "Marco"}},
                                   OnConflict::Stop,
                                   {},
                                   {CR::TelCasa}},
                      TwoSidesCase{"overwriteKeepsTheirOtherFields",
                                   {{CR::TelCasa, "011 222"}, {CR::Note, "Da loro"}},
                                   {{CR::TelCasa, "011 333"}, {CR::Nome, "Marco"}},
                                   OnConflict::Overwrite,
                                   {{CR::TelCasa, "011 333"}, {CR::Nome, "Marco"}, {CR::Note, "Da loro"}},
                                   {}}),
    [](const ::testing::TestParamInfo<TwoSidesCase>& info) { return std::string(info.param.name); });

TEST(CardSave, AFieldTheCardLeftAloneKeepsItsStoredBytes)
{
    // A damaged or foreign record may hold a field with blanks around it: a save that did not
    // touch it writes it back byte for byte.
    QTemporaryDir dir;
    const QString path = dir.filePath(CR::fileName());
    Record shown = shownCustomer();
    QByteArray stored = shown.bytes();
    const FieldDef& note = CR::layout().fields[CR::Note];
    stored[note.offset] = char(5);
    stored.replace(note.offset + 1, 5, "  x  ");
    ASSERT_TRUE(writeFile(path, stored));
    shown = Record(CR::layout(), stored);
    const std::vector<QString> loaded = textsOfRecord(shown);
    const std::vector<QString> card = textsOfRecord(changed(shown, {{CR::Nome, "Marco"}}));
    const CheckedSave s = save(path, CR::layout(), {loaded, stored, card, {}}, u"1", OnConflict::Stop);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(fileBytes(path).mid(note.offset, note.capacity + 1),
              stored.mid(note.offset, note.capacity + 1));
}

TEST(CardSave, StockAddedHereCountsBesideStockAddedThere)
{
    // The other workstation took 3 units (stock 10 -> 7, value 20,00 -> 14,00); this card added 5
    // units through the stock window (10 -> 15) and changed the cost (2 -> 3). The stock is 12, the
    // cost 3 and the value worked out from both: 36,00.
    namespace PR = ProductRecord;
    QTemporaryDir dir;
    const QString path = dir.filePath(PR::fileName());
    Record shown(PR::layout());
    shown.setText(PR::Codice, u"CAVO");
    shown.setText(PR::Giacenza, u"10");
    shown.setText(PR::Costo, u"2,00");
    shown.setText(PR::Valore, u"20,00");
    ASSERT_TRUE(writeFile(path, changed(shown, {{PR::Giacenza, "7"}, {PR::Valore, "14,00"}}).bytes()));

    const std::vector<QString> loaded = textsOfRecord(shown);
    const std::vector<QString> card =
        textsOfRecord(changed(shown, {{PR::Giacenza, "15"}, {PR::Costo, "3,00"}, {PR::Valore, "45,00"}}));
    const Difference added[] = {{PR::Giacenza, 5}};
    const Derived value{{PR::Valore}, [](std::vector<QString>& t) {
                            t[PR::Valore] =
                                moneyText(*parseNumber(t[PR::Giacenza]) * *parseNumber(t[PR::Costo]));
                        }};
    const CheckedSave s =
        save(path, PR::layout(), {loaded, shown.bytes(), card, added}, u"1", OnConflict::Stop, value);
    ASSERT_TRUE(s.ok);
    EXPECT_TRUE(s.merged);
    const Record now(PR::layout(), fileBytes(path));
    EXPECT_EQ(now.text(PR::Giacenza), QStringLiteral("12"));
    EXPECT_EQ(now.text(PR::Costo), QStringLiteral("3,00"));
    EXPECT_EQ(now.text(PR::Valore), QStringLiteral("36,00"));

    // Typed over rather than added, the same stock is a conflict the user decides.
    ASSERT_TRUE(writeFile(path, changed(shown, {{PR::Giacenza, "7"}, {PR::Valore, "14,00"}}).bytes()));
    const CheckedSave typed =
        save(path, PR::layout(), {loaded, shown.bytes(), card, {}}, u"1", OnConflict::Stop, value);
    EXPECT_FALSE(typed.ok);
    ASSERT_EQ(typed.conflicts.size(), 1u);
    EXPECT_EQ(typed.conflicts[0].theirs, QStringLiteral("7"));
    EXPECT_EQ(typed.conflicts[0].mine, QStringLiteral("15"));
}

TEST(CardSave, TheConflictQuestionSaysWhatEachSideHas)
{
    const QString q = conflictQuestion({{CR::TelCasa, QStringLiteral("011 222"), QStringLiteral("011 333")},
                                        {CR::Note, QString(), QStringLiteral("Nuovo")}},
                                       CR::layout());
    EXPECT_EQ(
        q, QStringLiteral("Un'altra postazione ha salvato questa scheda dopo che è stata aperta qui, e ha "
                          "cambiato gli stessi campi:\n"
                          "- TelCasa: l'altra postazione ha salvato «011 222», questa scheda ha «011 333»\n"
                          "- Note: l'altra postazione ha salvato «(vuoto)», questa scheda ha «Nuovo»\n\n"
                          "Sì: tenere i dati dell'altra postazione e ricaricare la scheda.\n"
                          "No: salvare i dati di questa scheda al loro posto.\n"
                          "Annulla: tornare alla scheda senza salvare."));
}

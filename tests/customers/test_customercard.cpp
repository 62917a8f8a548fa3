#include "core/dates.h"
#include "customers/customercard.h"

#include <QDateTime>
#include <QSet>

#include <gtest/gtest.h>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace tarvello;
using namespace tarvello::CustomerCard;
namespace CR = tarvello::CustomerRecord;

TEST(CustomerCardFields, EveryEditableFieldOnceWithItsRecordCapacity)
{
    const auto fields = screenFields();
    ASSERT_EQ(fields.size(), 31u);
    EXPECT_EQ(fields.front().control, u"txtCognome");
    EXPECT_EQ(fields.back().control, u"txtCodiceDest");
    QSet<int> seen;
    for (const ScreenField& f : fields) {
        // The control shows the record field of its own name, and accepts exactly its capacity.
        EXPECT_EQ(f.control.mid(3), CR::layout().fields[size_t(f.field)].name())
            << f.control.toString().toStdString();
        EXPECT_EQ(f.capacity, CR::layout().fields[size_t(f.field)].capacity)
            << f.control.toString().toStdString();
        EXPECT_FALSE(seen.contains(f.field));
        seen.insert(f.field);
        EXPECT_EQ(screenField(f.control), &f);
    }
    // The flag and the six attachments have no editor of their own.
    for (int f : {int(CR::Ricontatta), int(CR::File01), int(CR::File02), int(CR::File03), int(CR::Desc01),
                  int(CR::Desc02), int(CR::Desc03)})
        EXPECT_FALSE(seen.contains(f));
    EXPECT_EQ(screenField(u"txtNessuno"), nullptr);
}

TEST(CustomerCardFields, InputRulesOfTheSpecialFields)
{
    struct Case {
        const char16_t* control;
        Refused refused;
        bool digits, trim, upper, leave, province;
    };
    const Case cases[] = {
        {u"txtCognome", Refused::SetA, false, false, false, false, false},
        {u"txtDitta", Refused::SetB, false, false, false, false, false},
        {u"txtSesso", Refused::None, false, false, true, false, false},
        {u"txtProvRes", Refused::SetA, false, true, true, true, true},
        {u"txtProvNasc", Refused::None, false, true, true, true, true},
        {u"txtCapRes", Refused::None, true, true, true, false, false},
        {u"txtPec", Refused::SetA, false, true, false, false, false},
        {u"txtEmail", Refused::None, false, true, false, true, false},
        {u"txtCodFisc", Refused::SetA, false, true, true, false, false},
        {u"txtCarta", Refused::None, true, false, false, false, false},
        {u"txtPartitaIva", Refused::None, true, false, false, false, false},
        {u"txtIban", Refused::SetA, false, true, true, false, false},
        {u"txtCodiceDest", Refused::SetA, false, true, true, false, false},
        {u"txtComuneNasc", Refused::None, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        const ScreenField* f = screenField(QStringView(c.control));
        ASSERT_NE(f, nullptr);
        SCOPED_TRACE(QString::fromUtf16(c.control).toStdString());
        EXPECT_EQ(f->refused, c.refused);
        EXPECT_EQ(f->digitsOnly, c.digits);
        EXPECT_EQ(f->trimWhileTyping, c.trim);
        EXPECT_EQ(f->upperWhileTyping, c.upper);
        EXPECT_EQ(f->tidyOnLeave, c.leave);
        EXPECT_EQ(f->province, c.province);
    }
}

TEST(CustomerCardFields, RefusedCharacters)
{
    struct Case {
        char16_t c;
        bool a, b;
    };
    const Case cases[] = {
        {u'&', true, false}, // a company name may hold "&"
        {u'/', true, true},
        {u'<', true, true},
        {u'>', true, true},
        {u'£', true, true},
        {u'°', true, true},
        {u'è', true, true},
        {u'À', true, true},
        {u'ü', true, true},
        {u'Ñ', true, true},
        {u'ç', true, true},
        {u'ã', false, false}, // not among the accented letters
                              // named
        {u'Å', false, false},
        {u'€', false, false}, // the euro sign passes
        {u'a', false, false},
        {u'Z', false, false},
        {u'1', false, false},
        {u' ', false, false},
        {u'\'', false, false},
        {u'.', false, false},
        {u'@', false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString(QChar(c.c)).toStdString());
        EXPECT_EQ(isRefused(QChar(c.c), Refused::SetA), c.a);
        EXPECT_EQ(isRefused(QChar(c.c), Refused::SetB), c.b);
        EXPECT_FALSE(isRefused(QChar(c.c), Refused::None));
    }
}

TEST(CustomerCardRecord, FlagBytesAtOffset1642)
{
    CardTexts texts;
    texts[CR::Cognome] = QStringLiteral("Rossi");
    texts[CR::Nome] = QStringLiteral("Mario");
    texts[CR::Ricontatta] = recontactFlag(true);
    EXPECT_EQ(toRecord(texts).bytes().mid(1642, 3), QByteArray("\x02\x53\xEC", 3));
    texts[CR::Ricontatta] = recontactFlag(false);
    EXPECT_EQ(toRecord(texts).bytes().mid(1642, 3), QByteArray("\x02\x4E\x6F", 3));
}

TEST(CustomerCardRecord, TextsAreTrimmedCutAndReadBack)
{
    CardTexts texts;
    texts[CR::Cognome] = QStringLiteral("  D'Angelo  ");
    texts[CR::Note] = QString(300, u'n');
    texts[CR::Pec] = QString(60, u'p');
    texts[CR::CodiceDest] = QStringLiteral("ABCDEFGHI");
    texts[CR::ComuneRes] = QStringLiteral("Forlì");
    texts[CR::File02] = QStringLiteral(" contratto.pdf ");
    texts[CR::Ricontatta] = recontactFlag(true);
    const Record record = toRecord(texts);
    ASSERT_EQ(record.bytes().size(), CR::Size);
    EXPECT_EQ(quint8(record.bytes()[0]), 8);
    EXPECT_EQ(quint8(record.bytes()[1383]), 250);
    EXPECT_EQ(quint8(record.bytes()[495]), 60);
    EXPECT_EQ(record.bytes().mid(260, 6), QByteArray("\x05"
                                                     "Forl\xEC"));

    const CardTexts back = fromRecord(record);
    EXPECT_EQ(back[CR::Cognome], QStringLiteral("D'Angelo"));
    EXPECT_EQ(back[CR::Note], QString(250, u'n'));
    EXPECT_EQ(back[CR::Pec], QString(60, u'p'));
    EXPECT_EQ(back[CR::CodiceDest], QStringLiteral("ABCDEFG"));
    EXPECT_EQ(back[CR::ComuneRes], QStringLiteral("Forlì"));
    EXPECT_EQ(back[CR::File02], QStringLiteral("contratto.pdf"));
    EXPECT_EQ(back[CR::Ricontatta], QStringLiteral("Sì"));
    EXPECT_EQ(back[CR::Nome], QString());
}

TEST(CustomerCardRecord, OnlySiAndNoMoveTheCheckBox)
{
    EXPECT_EQ(recontactState(u"Sì"), std::optional<bool>(true));
    EXPECT_EQ(recontactState(u"No"), std::optional<bool>(false));
    for (const char16_t* other : {u"", u"SI", u"si", u"S", u"no", u"Si"})
        EXPECT_EQ(recontactState(QStringView(other)), std::nullopt)
            << QString::fromUtf16(other).toStdString();
}

TEST(CustomerCardSave, SurnameThenNameAreRequired)
{
    struct Case {
        const char16_t* surname;
        const char16_t* name;
        Problem expected;
    };
    const Case cases[] = {
        {u"", u"", Problem::MissingSurname},        {u"   ", u"Mario", Problem::MissingSurname},
        {u"\t", u"Mario", Problem::MissingSurname}, {u"Rossi", u"", Problem::MissingName},
        {u"Rossi", u"  ", Problem::MissingName},    {u"Rossi", u"Mario", Problem::None},
    };
    for (const Case& c : cases) {
        CardTexts t;
        t[CR::Cognome] = QString::fromUtf16(c.surname);
        t[CR::Nome] = QString::fromUtf16(c.name);
        EXPECT_EQ(check(t), c.expected)
            << QString::fromUtf16(c.surname).toStdString() << "/" << QString::fromUtf16(c.name).toStdString();
    }
}

TEST(CustomerCardReport, RowsAreBuiltFromTrimmedTexts)
{
    CardTexts t;
    t[CR::Cognome] = QStringLiteral(" Rossi ");
    t[CR::Nome] = QStringLiteral("Mario");
    t[CR::ComuneNasc] = QStringLiteral("Roma");
    t[CR::ProvNasc] = QStringLiteral("RM");
    t[CR::ComuneRes] = QStringLiteral("Cesena");
    t[CR::DataRil] = QStringLiteral("01/02/2020");
    t[CR::DataSca] = QStringLiteral("01/02/2030");
    t[CR::Note] = QStringLiteral("cliente storico");
    t[CR::CapRes] = QStringLiteral("47521"); // never printed
    const auto rows = reportRows(t);
    EXPECT_EQ(rows[0].title, QStringLiteral("Cognome e nome:"));
    EXPECT_EQ(rows[0].value, QStringLiteral("Rossi Mario"));
    EXPECT_EQ(rows[2].value, QStringLiteral("Roma RM"));
    EXPECT_EQ(rows[6].title, QStringLiteral("Comune di residenza:"));
    EXPECT_EQ(rows[6].value, QStringLiteral("Cesena ")) << "town, blank, empty province";
    EXPECT_EQ(rows[15].title, QStringLiteral("Carta di credito:"));
    EXPECT_EQ(rows[15].value, QStringLiteral("N.   -  Scadenza: ")) << "empty number and expiry";
    EXPECT_EQ(rows[20].value, QStringLiteral("01/02/2020  -  Scadenza: 01/02/2030"));
    EXPECT_EQ(rows[21].title, QStringLiteral("Prodotti e servizi:"));
    EXPECT_EQ(rows[23].title, QStringLiteral("Note:"));
    EXPECT_EQ(rows[23].value, QStringLiteral("cliente storico"));
    for (const ReportRow& r : rows)
        EXPECT_FALSE(r.value.contains(QStringLiteral("47521")));
}

TEST(CustomerCardReport, FooterNamesDateAndTime)
{
    EXPECT_EQ(printedAtText(QDateTime(QDate(2026, 3, 5), QTime(9, 4, 7))),
              QStringLiteral("Stampa eseguita in data 05/03/2026 alle ore 09:04:07"));
}

TEST(CustomerCardHelp, TitleAndTenParagraphs)
{
    EXPECT_EQ(helpTitle(), QStringLiteral("Applicazione Anagrafica Clienti."));
    const QStringList parts = helpText().split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(parts.size(), 10);
    for (const QString& p : parts)
        EXPECT_FALSE(p.trimmed().isEmpty());
    EXPECT_TRUE(parts[4].contains(QStringLiteral("Da ricontattare")));
    EXPECT_TRUE(parts[7].contains(QStringLiteral("Apri")));
}

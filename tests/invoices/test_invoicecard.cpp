#include "files.h"
#include "invoices/invoicecard.h"
#include "qstringprinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;
using namespace tarvello::InvoiceCard;
namespace IR = tarvello::InvoiceRecord;

namespace
{

CardTexts validInvoice()
{
    CardTexts t;
    t[IR::Cliente] = QStringLiteral("Rossi Mario");
    t[IR::NumFatt] = QStringLiteral("7/2024");
    t[IR::Data] = QStringLiteral("5/3/2024");
    return t;
}

} // namespace

TEST(InvoiceCardSave, ChecksCustomerNumberDateAndValidityInThisOrder)
{
    const QString customer = QStringLiteral(
        "Attenzione: per salvare la scheda è necessario indicare il nome o la ragione sociale del cliente.");
    const QString number =
        QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il numero della fattura.");
    const QString date =
        QStringLiteral("Attenzione: per salvare la scheda è necessario indicare la data della fattura.");
    const QString impossible = QStringLiteral(
        "Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario "
        "indicare una data valida nel formato gg/mm/anno.");
    struct Case {
        const char16_t *customer, *number, *date;
        int field; // -1: the invoice may be saved
        QString message;
    };
    const Case cases[] = {
        {u"", u"", u"", IR::Cliente, customer},
        {u"  ", u"1", u"01/01/2024", IR::Cliente, customer},
        {u"Rossi", u"", u"", IR::NumFatt, number}, // the number first, though the date is empty too
        {u"Rossi", u" \t", u"01/01/2024", IR::NumFatt, number},
        {u"Rossi", u"1", u" ", IR::Data, date},
        {u"Rossi", u"1", u"31/02/2024", IR::Data, impossible},
        {u"Rossi", u"1", u"2024-01-05", IR::Data, impossible},
        {u"Rossi", u"1", u"29/02/2023", IR::Data, impossible},
        {u"Rossi", u"1", u"29/02/2024", -1, QString()},
        {u"Rossi", u"1", u"5/3/2024", -1, QString()},
    };
    for (const Case& c : cases) {
        CardTexts t;
        t[IR::Cliente] = QString::fromUtf16(c.customer);
        t[IR::NumFatt] = QString::fromUtf16(c.number);
        t[IR::Data] = QString::fromUtf16(c.date);
        const std::optional<Refusal> refused = check(t);
        const std::string what = QString::fromUtf16(c.customer).toStdString() + "|" +
                                 QString::fromUtf16(c.number).toStdString() + "|" +
                                 QString::fromUtf16(c.date).toStdString();
        if (c.field < 0) {
            EXPECT_FALSE(refused.has_value()) << what;
            continue;
        }
        ASSERT_TRUE(refused.has_value()) << what;
        EXPECT_EQ(refused->field, c.field) << what;
        EXPECT_EQ(refused->message, c.message) << what;
    }
}

TEST(InvoiceCardRecord, TextsAndFlagsBecomeTheRecordAndComeBack)
{
    CardTexts t = validInvoice();
    t[IR::Cliente] = QStringLiteral("  Rossi Mario  ");
    t[IR::Note] = QString(260, u'n'); // a capacity of 250
    t[IR::rowField(IR::Desc, 30)] = QStringLiteral("Ultima riga");
    t[IR::rowField(IR::Prezzo, 1)] = QStringLiteral("12,50");
    for (int field = 0; field < IR::FieldCount; ++field)
        if (isFlag(field))
            t[size_t(field)] = flagText(false);
    t[IR::rowField(IR::Es, 30)] = flagText(true);
    t[IR::Saldata] = flagText(true);

    const Record record = toRecord(t);
    const RecordLayout& layout = IR::layout();
    const auto bytesOf = [&](int field) {
        const FieldDef& f = layout.fields[size_t(field)];
        return record.bytes().mid(f.offset, 3);
    };
    EXPECT_EQ(bytesOf(IR::rowField(IR::Es, 30)), QByteArray("\x02S\xEC"));
    EXPECT_EQ(bytesOf(IR::rowField(IR::Es, 29)), QByteArray("\x02No"));
    EXPECT_EQ(bytesOf(IR::Saldata), QByteArray("\x02S\xEC"));

    const CardTexts back = fromRecord(record);
    EXPECT_EQ(back[IR::Cliente], QStringLiteral("Rossi Mario"));
    EXPECT_EQ(back[IR::Note], QString(250, u'n'));
    EXPECT_EQ(back[IR::rowField(IR::Desc, 30)], QStringLiteral("Ultima riga"));
    EXPECT_EQ(back[IR::rowField(IR::Prezzo, 1)], QStringLiteral("12,50"));
    EXPECT_EQ(back[IR::Data], QStringLiteral("5/3/2024")); // stored as typed, not reformatted
    EXPECT_EQ(back[IR::Saldata], QStringLiteral("Sì"));
    EXPECT_EQ(back[IR::rowField(IR::Es, 1)], QStringLiteral("No"));
}

TEST(InvoiceCardRecord, TheCheckBoxesAreTheThirtyExemptFlagsAndThePaidFlag)
{
    int flags = 0;
    for (int field = 0; field < IR::FieldCount; ++field)
        flags += isFlag(field) ? 1 : 0;
    EXPECT_EQ(flags, 31);
    for (int row : {1, 17, 30})
        EXPECT_TRUE(isFlag(IR::rowField(IR::Es, row))) << row;
    EXPECT_TRUE(isFlag(IR::Saldata));
    for (int field : {int(IR::Targa), IR::rowField(IR::Importo, 30), int(IR::TotImponibile), int(IR::Note)})
        EXPECT_FALSE(isFlag(field)) << field;
}

TEST(InvoiceCardNavigation, OnlyTheFirstArrowWarnsOfAnUnreachableArchive)
{
    using CardArchive::Arrow;
    EXPECT_TRUE(accessFailureIsWarning(Arrow::First));
    for (Arrow arrow : {Arrow::Previous, Arrow::Next, Arrow::Last})
        EXPECT_FALSE(accessFailureIsWarning(arrow)) << int(arrow);
}

// A year of three invoices, numbered "1", " A12 " and "3": which typed numbers another invoice
// already holds, seen from a new invoice (no position) or from a stored one.
struct NumberCase {
    const char* name;
    const char* typed;
    std::optional<qint64> ownPosition;
    bool taken;
};

class InvoiceNumberTaken : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(InvoiceNumberTaken, ComparesTrimmedWhateverTheCaseSkippingTheInvoiceItself)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("2024.fat"));
    QByteArray bytes;
    for (const char* number : {"1", " A12 ", "3"}) {
        Record r(IR::layout());
        r.setText(IR::NumFatt, QString::fromLatin1(number));
        bytes += r.bytes();
    }
    ASSERT_TRUE(writeFile(path, bytes + "fragment")); // a trailing fragment is not an invoice
    const NumberCase& c = GetParam();
    EXPECT_EQ(numberTaken(path, QString::fromLatin1(c.typed), c.ownPosition), std::optional<bool>(c.taken));
}

INSTANTIATE_TEST_SUITE_P(Year, InvoiceNumberTaken,
                         ::testing::Values(NumberCase{"sameNumber", "1", std::nullopt, true},
                                           NumberCase{"typedWithBlanks", " 1 ", std::nullopt, true},
                                           NumberCase{"otherCase", "a12", std::nullopt, true},
                                           NumberCase{"lastRecord", "3", std::nullopt, true},
                                           NumberCase{"freeNumber", "2", std::nullopt, false},
                                           NumberCase{"aPrefixIsNotTheNumber", "12", std::nullopt, false},
                                           NumberCase{"savedOverItself", "1", 1, false},
                                           NumberCase{"storedInvoiceTakingAnother", "3", 1, true}),
                         [](const ::testing::TestParamInfo<NumberCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(InvoiceNumberTaken, TheQuestionNamesTheNumberAsTyped)
{
    EXPECT_EQ(duplicateNumberQuestion(u"  7/b "),
              QStringLiteral("Esiste già in archivio una fattura con il numero 7/b. Salvare comunque?"));
}

#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"

#include <gtest/gtest.h>

using namespace tarvello;

TEST(Records, LayoutsHaveTheirSizesAndFieldCounts)
{
    EXPECT_EQ(ProductRecord::layout().fields.size(), 32u);
    EXPECT_EQ(CustomerRecord::layout().fields.size(), 38u);
    EXPECT_EQ(InvoiceRecord::layout().fields.size(), 246u);
    for (const RecordLayout* l :
         {&ProductRecord::layout(), &CustomerRecord::layout(), &InvoiceRecord::layout()}) {
        const FieldDef& last = l->fields.back();
        EXPECT_EQ(last.offset + last.capacity + 1, l->size);
    }
    const RecordLayout& inv = InvoiceRecord::layout();
    EXPECT_EQ(inv.fields[size_t(inv.indexOf(u"Desc30"))].offset, 3550);
    EXPECT_EQ(inv.fields[size_t(inv.indexOf(u"Es30"))].offset, 4476 + 29 * 3);
    EXPECT_EQ(inv.indexOf(u"Quant01"), InvoiceRecord::rowField(InvoiceRecord::Quant, 1));
    EXPECT_EQ(CustomerRecord::layout().fields[CustomerRecord::Ricontatta].offset, 1642);
    EXPECT_EQ(ProductRecord::layout().fields[ProductRecord::CartellaDesc].offset, 4623);
}

TEST(Records, FieldsAreTrimmedCutAndZeroFilled)
{
    Record rec(CustomerRecord::layout());
    rec.bytes().fill('\xAA'); // leftovers of an earlier record
    rec.setText(CustomerRecord::Cognome, QString(60, u'x'));
    rec.setText(CustomerRecord::Nome, u"  Mario \t");
    rec.setFlag(CustomerRecord::Ricontatta, true);
    const QByteArray& b = rec.bytes();
    EXPECT_EQ(quint8(b[0]), 50);
    EXPECT_EQ(rec.text(CustomerRecord::Cognome), QString(50, u'x'));
    EXPECT_EQ(quint8(b[51]), 5);
    EXPECT_EQ(b.mid(52, 5), QByteArray("Mario"));
    EXPECT_EQ(b.mid(57, 45), QByteArray(45, '\0')) << "unused bytes are zeroed";
    EXPECT_EQ(b.mid(1642, 3), QByteArray("\x02S\xEC"));
    rec.setFlag(CustomerRecord::Ricontatta, false);
    EXPECT_EQ(b.mid(1642, 3), QByteArray("\x02No"));
    rec.setText(CustomerRecord::Pec, QString(60, u'p'));
    EXPECT_EQ(rec.text(CustomerRecord::Pec).size(), 60);
}

TEST(Records, DamagedLengthByteReadsClampedAndLeftoversAreIgnored)
{
    Record rec(CustomerRecord::layout());
    rec.setText(CustomerRecord::ProvRes, u"BO");
    rec.setText(CustomerRecord::ComuneRes, u"Bologna");
    rec.bytes()[257] = char(200); // ProvRes claims 200 bytes in a 2-byte field
    // The byte just after the field (the next field's length byte) made printable, so a reader
    // that strayed by even one byte would show it; trimming would hide a control character.
    rec.bytes()[260] = 'Z';
    EXPECT_EQ(rec.text(CustomerRecord::ProvRes), QStringLiteral("BO"));
    rec.bytes()[260] = char(3); // shorter length, leftovers after it
    EXPECT_EQ(rec.text(CustomerRecord::ComuneRes), QStringLiteral("Bol"));
    rec.setText(CustomerRecord::Cognome, u"Αθήνα");
    EXPECT_EQ(rec.text(CustomerRecord::Cognome), QStringLiteral("?????"));
}

TEST(Records, InvoiceExampleRecord)
{
    using namespace InvoiceRecord;
    Record rec(layout());
    rec.setText(rowField(Quant, 1), u"2");
    rec.setText(rowField(Prezzo, 1), u"10,00");
    rec.setText(rowField(Importo, 1), u"20,00");
    for (int r = 1; r <= Rows; ++r)
        rec.setFlag(rowField(Es, r), false);
    rec.setText(TotImponibile, u"20,00");
    rec.setText(PercIva, u"22");
    rec.setFlag(Saldata, false);
    const QByteArray& b = rec.bytes();
    EXPECT_EQ(b.mid(1086, 2), QByteArray("\x01"
                                         "2"));
    EXPECT_EQ(b.mid(3606, 6), QByteArray("\x05"
                                         "10,00"));
    EXPECT_EQ(b.mid(4146, 6), QByteArray("\x05"
                                         "20,00"));
    EXPECT_EQ(b.mid(4476, 3), QByteArray("\x02No"));
    EXPECT_EQ(b.mid(4566, 6), QByteArray("\x05"
                                         "20,00"));
    EXPECT_EQ(b.mid(4577, 3), QByteArray("\x02"
                                         "22"));
    EXPECT_EQ(b.right(3), QByteArray("\x02No"));
}

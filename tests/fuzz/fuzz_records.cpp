// Any bytes as a record of each of the three archives (a damaged or foreign file): every field
// reads trimmed and within its capacity, the texts a card shows are stored again as the same
// texts, and the fast decoders of the invoice lists read exactly what the general ones read.
#include "archive/recordfields.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/win1252.h"
#include "customers/customercard.h"
#include "fuzzparts.h"
#include "invoices/invoicecard.h"
#include "warehouse/productcard.h"

using namespace tarvello;

namespace
{

template <class Texts>
void checkCard(const RecordLayout& layout, const QByteArray& bytes, Texts (*fromRecord)(const Record&),
               Record (*toRecord)(const Texts&))
{
    const Record stored(layout, bytes.left(layout.size));
    const Texts texts = fromRecord(stored);
    for (size_t i = 0; i < texts.size(); ++i) {
        FUZZ_CHECK(texts[i].size() <= layout.fields[i].capacity, layout.fields[i].name());
        FUZZ_CHECK(trimmed(texts[i]) == texts[i], layout.fields[i].name());
        // A flag a damaged record holds is shown as it is, neither ticked nor cleared.
        (void)CardArchive::flagState(texts[i]);
    }
    const Record saved = toRecord(texts);
    FUZZ_CHECK(saved.bytes().size() == layout.size, QString());
    FUZZ_CHECK(fromRecord(saved) == texts, QString());
    FUZZ_CHECK(toRecord(fromRecord(saved)).bytes() == saved.bytes(), QString());
}

void checkFastDecoders(const QByteArray& bytes)
{
    const Record record(InvoiceRecord::layout(), bytes.left(InvoiceRecord::Size));
    const char* data = record.bytes().constData();
    for (const FieldDef& field : InvoiceRecord::layout().fields) {
        const QString general = decodeField(data, field);
        const RecordFields::FieldText text(data, field);
        FUZZ_CHECK(text.view() == general, field.name());
        const RecordFields::FieldBytes raw(data, field);
        FUZZ_CHECK(raw.size() == general.size(), field.name());
        char16_t chars[256];
        const char16_t* end = raw.decodeTo(chars, raw.size());
        FUZZ_CHECK(QStringView(chars, end) == general, field.name());
        const std::optional<double> slow = parseNumber(general);
        const std::optional<double> fast = RecordFields::number(general);
        FUZZ_CHECK(slow.has_value() == fast.has_value(), general);
        if (slow)
            FUZZ_CHECK(std::memcmp(&*slow, &*fast, sizeof(double)) == 0, general);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkCard<CustomerCard::CardTexts>(CustomerRecord::layout(), bytes, &CustomerCard::fromRecord,
                                       &CustomerCard::toRecord);
    checkCard<ProductCard::CardTexts>(ProductRecord::layout(), bytes, &ProductCard::fromRecord,
                                      &ProductCard::toRecord);
    checkCard<InvoiceCard::CardTexts>(InvoiceRecord::layout(), bytes, &InvoiceCard::fromRecord,
                                      &InvoiceCard::toRecord);
    checkFastDecoders(bytes);
    return 0;
}

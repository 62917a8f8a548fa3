#include "invoicecard.h"

#include "archive/archivefile.h"
#include "core/dates.h"
#include "core/text.h"

namespace tarvello::InvoiceCard
{

using namespace InvoiceRecord;

bool isFlag(int field)
{
    return field == Saldata || (field >= rowField(Es, 1) && field <= rowField(Es, Rows));
}

QString flagText(bool ticked)
{
    return ticked ? Record::yesText() : Record::noText();
}

Record toRecord(const CardTexts& texts)
{
    return CardArchive::recordFromTexts(layout(), texts);
}

CardTexts fromRecord(const Record& record)
{
    CardTexts texts;
    CardArchive::textsFromRecord(record, texts);
    return texts;
}

std::optional<Refusal> check(const CardTexts& texts)
{
    struct Rule {
        int field;
        bool (*fails)(QStringView text);
        const char16_t* message;
    };
    static constexpr Rule rules[] = {
        {Cliente, isBlank,
         u"Attenzione: per salvare la scheda è necessario indicare il nome o la ragione sociale del "
         u"cliente."},
        {NumFatt, isBlank,
         u"Attenzione: per salvare la scheda è necessario indicare il numero della fattura."},
        {Data, isBlank, u"Attenzione: per salvare la scheda è necessario indicare la data della fattura."},
        {Data, [](QStringView date) { return !isValidDate(date); },
         u"Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare "
         u"una "
         u"data valida nel formato gg/mm/anno."},
    };
    for (const Rule& rule : rules)
        if (rule.fails(texts[size_t(rule.field)]))
            return Refusal{rule.field, QString::fromUtf16(rule.message)};
    return std::nullopt;
}

bool accessFailureIsWarning(CardArchive::Arrow arrow)
{
    return arrow == CardArchive::Arrow::First;
}

std::optional<bool> numberTaken(const QString& path, QStringView number, std::optional<qint64> ownPosition)
{
    const QString wanted = trimmed(number);
    const FieldDef& numberField = layout().fields[NumFatt];
    ArchiveFile file(path, Size);
    if (!file.open(ArchiveFile::Access::Read))
        return std::nullopt;
    bool taken = false;
    // Only the number of each record is decoded; the year is read in large blocks.
    const bool read = file.forEach([&](qint64 index, const char* record) {
        if (ownPosition && index + 1 == *ownPosition)
            return true;
        taken = trimmed(decodeField(record, numberField)).compare(wanted, Qt::CaseInsensitive) == 0;
        return !taken;
    });
    if (!file.close() || !read)
        return std::nullopt;
    return taken;
}

QString duplicateNumberQuestion(QStringView number)
{
    return QStringLiteral("Esiste già in archivio una fattura con il numero %1. Salvare comunque?")
        .arg(trimmed(number));
}

} // namespace tarvello::InvoiceCard

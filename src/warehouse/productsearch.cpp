#include "productsearch.h"

#include "archive/archivefile.h"
#include "archive/cardarchive.h"
#include "archive/recordfields.h"
#include "core/numbers.h"
#include "core/text.h"

namespace tarvello::ProductSearch
{

using namespace ProductRecord;

namespace
{

// clang-format off
const Criterion kCriteria[] = {
    {u"txtCodice",       u"Codice articolo:",               Codice},
    {u"txtTipologia",    u"Tipologia:",                     Tipologia},
    {u"txtMarca",        u"Marca:",                         Marca},
    {u"txtModello",      u"Modello:",                       Modello},
    {u"txtDescrizione",  u"Descrizione:",                   Descrizione},
    {u"txtAccessori",    u"Accessori:",                     Accessori},
    {u"txtFornitore",    u"Fornitore:",                     Fornitore},
    {u"txtDocumento",    u"Estremi documento di acquisto:", Documento},
    {u"txtCollocazione", u"Collocazione in magazzino:",     Collocazione},
    {u"txtNote",         u"Note:",                          Note},
};
// clang-format on
static_assert(std::size(kCriteria) == criterionCount);

const FieldDef& def(Field field)
{
    return ProductRecord::layout().fields[size_t(field)];
}

QString field(const char* record, Field f)
{
    return decodeField(record, def(f));
}

} // namespace

std::span<const Criterion> criteria()
{
    return kCriteria;
}

QString listLine(const char* record)
{
    const QString brandAndModel = field(record, Marca) + u' ' + field(record, Modello);
    ResultLine line;
    line.add(field(record, Codice), 30)
        .add(u"  ")
        .add(brandAndModel, 40)
        .add(u"  Costo: ")
        .add(field(record, Costo), 12)
        .add(u"  Giacenza: ")
        .add(field(record, Giacenza), 12)
        .add(u"  Note: ")
        .add(field(record, Note));
    return line.text();
}

QString importLine(const char* record)
{
    ResultLine line;
    line.add(field(record, Codice), 30)
        .add(u"  ")
        .add(field(record, Descrizione), 45)
        .add(u"  Prezzo: ")
        .add(field(record, Prezzo), 15)
        .add(u"  Giacenza: ")
        .add(field(record, Giacenza));
    return line.text();
}

std::optional<bool> isLowStock(const char* record)
{
    // Read on the stack: the whole warehouse is read for this list.
    const std::optional<double> stock =
        RecordFields::number(RecordFields::FieldText(record, def(Giacenza)).view());
    const std::optional<double> reorder =
        RecordFields::number(RecordFields::FieldText(record, def(Sottoscorta)).view());
    if (!stock || !reorder)
        return std::nullopt;
    return !(*stock > *reorder);
}

std::optional<std::vector<ResultEntry>> findProducts(const QString& path, const Matcher& matcher,
                                                     LineKind kind, Progress* progress)
{
    return findMatching(path, ProductRecord::Size, matcher, kind == LineKind::List ? &listLine : &importLine,
                        progress);
}

LowStockList lowStock(const QString& path, Progress* progress)
{
    LowStockList list;
    ArchiveFile file(path, ProductRecord::Size);
    if (!file.open(ArchiveFile::Access::Read))
        return list;
    const bool read = file.forEach(
        [&](qint64 index, const char* record) {
            const std::optional<bool> low = isLowStock(record);
            if (!low)
                ++list.skipped;
            else if (*low)
                list.lines.push_back({listLine(record), index});
            return true;
        },
        progress);
    list.complete = file.close() && read;
    return list;
}

std::optional<Record> readProduct(const QString& path, qint64 index)
{
    return CardArchive::read(path, ProductRecord::layout(), index);
}

Import takeFromStock(const QString& path, qint64 index, QStringView quantity, const WritingDown& writingDown)
{
    Import result;
    ArchiveFile file(path, ProductRecord::Size);
    QByteArray bytes;
    if (index < 0 || !file.open(ArchiveFile::Access::Write) || index >= file.count() || !file.seek(index) ||
        !file.read(bytes)) {
        result.error = file.errorString();
        file.close();
        return result;
    }
    Record product(ProductRecord::layout(), bytes);
    const PriceTools::StockTaken taken =
        PriceTools::takeFromStock(trimmed(quantity), product.text(Giacenza), product.text(Costo));
    if (taken.outcome != PriceTools::StockTaken::Outcome::Taken) {
        file.close();
        result.outcome = taken.outcome == PriceTools::StockTaken::Outcome::AboveStock
                             ? Import::Outcome::AboveStock
                             : Import::Outcome::NotANumber;
        return result;
    }
    if (writingDown) {
        const std::optional<double> before = parseNumber(product.text(Giacenza));
        const std::optional<double> after = parseNumber(taken.stock);
        if (!before || !after || !writingDown(product, *before, *after)) {
            file.close();
            result.outcome = Import::Outcome::NotWrittenDown;
            return result;
        }
    }
    product.setText(Giacenza, taken.stock);
    product.setText(Valore, taken.value);
    // The record goes back whole, in its own place; it counts only once it is on the disk.
    if (!file.seek(index) || !file.write(product.bytes()) || !file.close()) {
        result.error = file.errorString();
        return result;
    }
    result.outcome = Import::Outcome::Done;
    result.product = std::move(product);
    return result;
}

QString resultInstructions()
{
    return QStringLiteral(
        "Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e "
        "premere il pulsante Trova.\n"
        "Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di "
        "nuovo clic su Trova.");
}

QString foundText(qsizetype lines)
{
    return QStringLiteral("Il presente elenco contiene ") + QString::number(lines) +
           QStringLiteral(" schede.");
}

QString doubleClickHint()
{
    return QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic.");
}

QString searchTitle()
{
    return QStringLiteral("Riepilogo articoli in magazzino");
}

QString skippedText(int skipped)
{
    if (skipped <= 0)
        return {};
    return skipped == 1 ? QStringLiteral("1 scheda esclusa: giacenza o sottoscorta non numeriche.")
                        : QString::number(skipped) +
                              QStringLiteral(" schede escluse: giacenza o sottoscorta non numeriche.");
}

QString lowStockTitle()
{
    return QStringLiteral("Materiali in esaurimento");
}

} // namespace tarvello::ProductSearch

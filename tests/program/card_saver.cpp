// Another workstation saving a card: reads record <position> of the archive, sets the fields
// named on the command line ("Cognome=Rossi") and saves it as a card does, with the change check.
// Exits 0 once saved, 3 when the save found a field changed on both sides, 1 when it failed.
#include "archive/cardarchive.h"
#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"

#include <QString>

#include <cstdio>

using namespace tarvello;

int main(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    const QString kind = QString::fromLocal8Bit(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]);
    const QString position = QString::fromLocal8Bit(argv[3]);
    const RecordLayout& layout = kind == u"clienti"     ? CustomerRecord::layout()
                                 : kind == u"magazzino" ? ProductRecord::layout()
                                                        : InvoiceRecord::layout();
    const std::optional<qint64> at = CardArchive::positionOf(position);
    if (!at)
        return 2;
    const std::optional<Record> shown = CardArchive::read(path, layout, *at - 1);
    if (!shown)
        return 1;
    std::vector<QString> loaded(layout.fields.size());
    CardArchive::textsFromRecord(*shown, loaded);
    std::vector<QString> card = loaded;
    for (int i = 4; i < argc; ++i) {
        const QString assignment = QString::fromUtf8(argv[i]);
        const qsizetype equals = assignment.indexOf(u'=');
        const QString name = assignment.left(equals);
        const auto field = std::find_if(layout.fields.begin(), layout.fields.end(),
                                        [&](const FieldDef& f) { return f.name() == name; });
        if (equals < 0 || field == layout.fields.end())
            return 2;
        card[size_t(field - layout.fields.begin())] = assignment.mid(equals + 1);
    }
    const CardArchive::CheckedSave saved = CardArchive::save(path, layout, {loaded, shown->bytes(), card, {}},
                                                             position, CardArchive::OnConflict::Stop);
    if (!saved.conflicts.empty())
        return 3;
    return saved.ok ? 0 : 1;
}

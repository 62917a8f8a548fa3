#include "cardarchive.h"

#include "archivelog.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/win1252.h"
#include "recordstore.h"

#include <cmath>

namespace tarvello::CardArchive
{

Move navigate(Arrow arrow, std::optional<qint64> current, qint64 count)
{
    using K = Move::Kind;
    if (count <= 0) {
        switch (arrow) {
        case Arrow::Next:
            return {K::EmptyAndClear, 0};
        case Arrow::Previous:
            // At the first card the previous arrow is silent, even when the archive is empty.
            return current == 1 ? Move{K::Stay, 0} : Move{K::Empty, 0};
        default:
            return {K::Empty, 0};
        }
    }
    switch (arrow) {
    case Arrow::First:
        return {K::Show, 1};
    case Arrow::Last:
        return {K::Show, count};
    case Arrow::Next:
        if (!current)
            return {K::Show, 1};
        return *current < count ? Move{K::Show, *current + 1} : Move{K::Stay, 0};
    case Arrow::Previous:
        if (!current)
            return {K::Show, 1};
        if (*current <= 1)
            return {K::Stay, 0};
        // A position beyond the end (the file was replaced meanwhile) goes to the last record.
        return {K::Show, qMin(*current - 1, count)};
    }
    return {};
}

std::optional<qint64> positionOf(QStringView label)
{
    const QString text = trimmed(label);
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < 1)
        return std::nullopt;
    return n;
}

Step step(const QString& path, int recordSize, Arrow arrow, QStringView label)
{
    Move move;
    const LoadResult loaded = loadRecord(path, recordSize, [&](qint64 count) -> std::optional<qint64> {
        move = navigate(arrow, positionOf(label), count);
        if (move.kind == Move::Kind::Show)
            return move.position - 1;
        return std::nullopt;
    });
    Step s;
    if (!loaded) {
        s.failed = true;
        s.error = loaded.error;
        s.busy = loaded.busy;
        return s;
    }
    s.clearPosition = move.kind == Move::Kind::EmptyAndClear;
    s.archiveEmpty = move.kind == Move::Kind::Empty || s.clearPosition;
    if (loaded.index) {
        s.shown = *loaded.index + 1;
        s.record = loaded.record;
    }
    return s;
}

Saved save(const QString& path, int recordSize, const QByteArray& record, QStringView label)
{
    Saved saved;
    const std::optional<qint64> position = positionOf(label);
    if (!position && !isBlank(label)) {
        // Not a position a card could have set itself: better not to guess which record.
        saved.error = QStringLiteral("save %1: the card's position \"%2\" is not a record number")
                          .arg(path, label.toString());
        qCWarning(lcArchive).noquote() << saved.error;
        return saved;
    }
    const StoreResult stored = storeRecord(path, recordSize, record, position);
    if (!stored) {
        saved.error = stored.error;
        saved.busy = stored.busy;
        return saved;
    }
    saved.ok = true;
    saved.inserted = !position;
    saved.position = stored.position;
    return saved;
}

std::optional<Record> read(const QString& path, const RecordLayout& layout, qint64 index)
{
    if (index < 0)
        return std::nullopt;
    LoadResult loaded = loadRecord(path, layout.size, index);
    if (!loaded)
        return std::nullopt;
    return Record(layout, std::move(loaded.record));
}

namespace
{

std::vector<QString> textsOf(const Record& record)
{
    std::vector<QString> texts(record.layout().fields.size());
    textsFromRecord(record, texts);
    return texts;
}

// A card's texts as the record would keep them (trimmed, cut to their fields), so that a text
// the card shows with a blank more is not taken for a change.
std::vector<QString> asStored(const RecordLayout& layout, std::span<const QString> texts)
{
    return textsOf(recordFromTexts(layout, texts));
}

// Works out the derived fields of `record` from its other fields.
void workOut(Record& record, const Derived& derived)
{
    if (!derived.workOut)
        return;
    std::vector<QString> texts = textsOf(record);
    derived.workOut(texts);
    for (int f : derived.fields)
        record.setText(f, texts[size_t(f)]);
}

} // namespace

CheckedSave save(const QString& path, const RecordLayout& layout, const Edit& edit, QStringView label,
                 OnConflict onConflict, const Derived& derived)
{
    CheckedSave result;
    const std::optional<qint64> position = positionOf(label);
    // Stored whole, as the plain save does: a new card, one whose shown record is unknown, or
    // one past the last record (the file was replaced meanwhile, and it is appended).
    const auto storeWhole = [&] {
        Record record = recordFromTexts(layout, edit.card);
        workOut(record, derived);
        static_cast<Saved&>(result) = save(path, layout.size, record.bytes(), label);
        if (result.ok)
            result.record = record.bytes();
        return result;
    };
    if (!position || edit.shown.size() != layout.size)
        return storeWhole();
    const LoadResult counted = loadRecord(path, layout.size, [](qint64) { return std::nullopt; });
    if (!counted) {
        result.error = counted.error;
        result.busy = counted.busy;
        return result;
    }
    if (*position > counted.count)
        return storeWhole();

    const std::vector<QString> loaded = asStored(layout, edit.loaded);
    const std::vector<QString> card = asStored(layout, edit.card);
    const std::vector<QString> shown = textsOf(Record(layout, edit.shown));
    const auto isDerived = [&](size_t f) {
        return std::find(derived.fields.begin(), derived.fields.end(), int(f)) != derived.fields.end();
    };
    // Whether the user's answer covers a conflict found now, under the lock: the same field, with
    // the same text stored and the same text on the card as the question showed.
    const auto overwrites = [&](const Conflict& found) {
        switch (onConflict) {
        case OnConflict::Stop:
            return false;
        case OnConflict::Overwrite:
            return true;
        case OnConflict::OverwriteAsked:
            return std::any_of(edit.asked.begin(), edit.asked.end(), [&](const Conflict& a) {
                return a.field == found.field && a.theirs == found.theirs && a.mine == found.mine;
            });
        }
        return false;
    };
    bool stopped = false;
    const UpdateResult updated = updateRecord(path, layout.size, *position - 1, [&](QByteArray& bytes) {
        result.conflicts.clear();
        result.merged = false;
        stopped = false;
        Record record(layout, bytes);
        const std::vector<QString> stored = textsOf(record);
        for (size_t f = 0; f < layout.fields.size(); ++f) {
            if (isDerived(f))
                continue;
            const bool mineChanged = card[f] != loaded[f];
            const bool theirsChanged = stored[f] != shown[f];
            if (theirsChanged && !mineChanged)
                result.merged = true;
            const auto difference = std::find_if(edit.differences.begin(), edit.differences.end(),
                                                 [f](const Difference& d) { return d.field == int(f); });
            if (theirsChanged && mineChanged && difference != edit.differences.end()) {
                // Added to the number stored now; a stored text that is no number (or a sum
                // that no longer fits) is a conflict like any other.
                const std::optional<double> now = parseNumber(stored[f]);
                const QString sum = now ? formatNumber(*now + difference->amount) : QString();
                if (now && std::isfinite(*now + difference->amount) &&
                    toWin1252(sum).size() <= layout.fields[f].capacity) {
                    record.setText(int(f), sum);
                    result.merged = true;
                    continue;
                }
            }
            // A field the card left alone keeps the stored bytes exactly as they are.
            if (!mineChanged || card[f] == stored[f])
                continue;
            if (theirsChanged) {
                result.conflicts.push_back({int(f), stored[f], card[f]});
                if (!overwrites(result.conflicts.back())) {
                    stopped = true;
                    continue;
                }
            }
            record.setText(int(f), card[f]);
        }
        if (stopped)
            return false;
        workOut(record, derived);
        bytes = record.bytes();
        return true;
    });
    result.record = updated.record;
    switch (updated.outcome) {
    case UpdateResult::Outcome::Failed:
        result.error = updated.error;
        result.busy = updated.busy;
        return result;
    case UpdateResult::Outcome::Declined:
        return result; // the conflicts say why
    case UpdateResult::Outcome::Updated:
        result.conflicts.clear(); // none, or overwritten as the user chose
        result.ok = true;
        result.position = *position;
        return result;
    }
    return result;
}

QString conflictQuestion(const std::vector<Conflict>& conflicts, const RecordLayout& layout)
{
    QString fields;
    for (const Conflict& c : conflicts) {
        const FieldDef& def = layout.fields[size_t(c.field)];
        const QString name =
            def.row > 0 ? QStringLiteral("%1 (riga %2)").arg(QString::fromLatin1(def.base)).arg(def.row)
                        : def.name();
        const auto shown = [](const QString& t) { return t.isEmpty() ? QStringLiteral("(vuoto)") : t; };
        fields += QStringLiteral("\n- %1: l'altra postazione ha salvato «%2», questa scheda ha «%3»")
                      .arg(name, shown(c.theirs), shown(c.mine));
    }
    return QStringLiteral("Un'altra postazione ha salvato questa scheda dopo che è stata aperta qui, e ha "
                          "cambiato gli stessi campi:%1\n\n"
                          "Sì: tenere i dati dell'altra postazione e ricaricare la scheda.\n"
                          "No: salvare i dati di questa scheda al loro posto.\n"
                          "Annulla: tornare alla scheda senza salvare.")
        .arg(fields);
}

QString Saved::message() const
{
    return inserted ? Messages::inserted() : Messages::changesSaved();
}

Record recordFromTexts(const RecordLayout& layout, std::span<const QString> texts)
{
    Record record(layout);
    for (size_t i = 0; i < texts.size() && i < layout.fields.size(); ++i)
        record.setText(int(i), texts[i]);
    return record;
}

void textsFromRecord(const Record& record, std::span<QString> texts)
{
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = record.text(int(i));
}

std::optional<bool> flagState(QStringView flag)
{
    const QString f = trimmed(flag);
    if (f == Record::yesText())
        return true;
    if (f == Record::noText())
        return false;
    return std::nullopt;
}

bool mayLeave(bool changed, const std::function<Reply()>& ask, const std::function<bool()>& save)
{
    if (!changed)
        return true;
    switch (ask()) {
    case Reply::Save:
        return save();
    case Reply::Discard:
        return true;
    case Reply::Cancel:
        break;
    }
    return false;
}

namespace Messages
{

QString unsavedChanges()
{
    return QStringLiteral("La scheda corrente contiene modifiche non salvate. Salvarle prima di continuare?");
}

QString changesSaved()
{
    return QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
}
QString inserted()
{
    return QStringLiteral("La scheda corrente è stata inserita in archivio.");
}
QString archiveEmpty()
{
    return QStringLiteral("L'archivio non contiene nessuna scheda.");
}
QString duplicateNeedsSave()
{
    return QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è "
                          "stata inserita in archivio.");
}
QString duplicated()
{
    return QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                          "Al termine premere Salva per inserire la scheda in archivio.");
}
QString pdfDone()
{
    return QStringLiteral("L'esportazione della scheda in PDF è terminata con successo.\r\n\r\n"
                          "Si vuole aprire il file?");
}

} // namespace Messages

} // namespace tarvello::CardArchive

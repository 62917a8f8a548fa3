#include "cardarchive.h"

#include "archivelog.h"
#include "core/text.h"
#include "recordstore.h"

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

#include "archivestress.h"

#include "archive/archivefile.h"
#include "archive/productrecord.h"
#include "archive/recordstore.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

using namespace tarvello;
using namespace tarvello::ProductRecord;

namespace stress
{
namespace
{

const FieldDef& sumField()
{
    return layout().fields[Note];
}

// FNV-1a over every byte of the record but those of the field that holds the sum.
quint64 checkSum(const char* record)
{
    const FieldDef& f = sumField();
    quint64 h = 14695981039346656037ull;
    for (int i = 0; i < Size; ++i) {
        if (i >= f.offset && i <= f.offset + f.capacity)
            continue;
        h ^= static_cast<unsigned char>(record[i]);
        h *= 1099511628211ull;
    }
    return h;
}

QString sumText(quint64 sum)
{
    return QStringLiteral("%1").arg(sum, 16, 16, QLatin1Char('0'));
}

// Text of a length and content that follow from the version, so two versions of a record differ
// in most of their bytes and a record made of two halves cannot add up.
QString filler(std::mt19937& rng, int capacity)
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzàèéìòù ABCDEFGHIJ0123456789");
    const int length = int(rng() % unsigned(capacity + 1));
    QString text(length, u'x');
    for (int i = 0; i < length; ++i)
        text[i] = letters.at(qsizetype(rng() % unsigned(letters.size())));
    return text;
}

std::mt19937 generatorFor(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::seed_seq seq(bytes.begin(), bytes.end());
    return std::mt19937(seq);
}

const char* roleName(Role role)
{
    switch (role) {
    case Role::Writer:
        return "writer";
    case Role::Stock:
        return "stock";
    case Role::Reader:
        return "reader";
    }
    return "";
}

void say(const QString& line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
}

QString versionOf(const QByteArray& record)
{
    return Record(layout(), record).text(Marca);
}

// A record's stock as a whole number; nullopt when it is not one.
std::optional<long long> stockOf(const QByteArray& record)
{
    bool ok = false;
    const long long stock = Record(layout(), record).text(Giacenza).toLongLong(&ok);
    return ok ? std::optional<long long>(stock) : std::nullopt;
}

int workAsWriter(const QString& archive, int id, int operations, std::mt19937& rng)
{
    for (int op = 0; op < operations; ++op) {
        const QString version = QStringLiteral("w%1.%2").arg(id).arg(op);
        const unsigned choice = rng() % 3;
        if (choice == 1) {
            // A shared record: a new version of its texts, its stock as stored right now.
            const qint64 index = qint64(rng() % kSharedRecords);
            const UpdateResult r = updateRecord(archive, Size, index, [&](QByteArray& bytes) {
                const Record stored(layout(), bytes);
                Record next(layout(), makeRecord(stored.text(Codice), version, 0));
                next.setText(Giacenza, stored.text(Giacenza));
                bytes = next.bytes();
                seal(bytes);
                return true;
            });
            if (r)
                say(QStringLiteral("U %1 %2").arg(index).arg(version));
            else
                say(QStringLiteral("F update: %1").arg(r.error));
            continue;
        }
        std::optional<qint64> target;
        QString code;
        if (choice == 2) {
            // Another record, overwritten whole with a record made from what was read a moment
            // earlier, as a card saves.
            const LoadResult loaded = loadRecord(archive, Size, [&](qint64 count) -> std::optional<qint64> {
                if (count <= kSharedRecords)
                    return std::nullopt;
                return kSharedRecords + qint64(rng() % quint64(count - kSharedRecords));
            });
            if (!loaded) {
                say(QStringLiteral("F load: %1").arg(loaded.error));
                continue;
            }
            if (loaded.index) {
                target = *loaded.index;
                code = Record(layout(), loaded.record).text(Codice);
            }
        }
        if (!target)
            code = QStringLiteral("W%1-%2").arg(id).arg(op);
        const StoreResult stored = storeRecord(archive, Size, makeRecord(code, version, 0),
                                               target ? std::optional(*target + 1) : std::nullopt);
        if (!stored)
            say(QStringLiteral("F store: %1").arg(stored.error));
        else if (target)
            say(QStringLiteral("O %1 %2").arg(*target).arg(version));
        else
            say(QStringLiteral("A %1 %2 %3").arg(stored.position - 1).arg(code, version));
    }
    return 0;
}

int workOnStock(const QString& archive, int operations, std::mt19937& rng)
{
    for (int op = 0; op < operations; ++op) {
        const qint64 index = qint64(rng() % kSharedRecords);
        // Mostly small additions and withdrawals; now and then more than any stock holds.
        long long difference = (rng() % 20 == 0) ? -(kFirstStock * 3) : (long long)(rng() % 11) - 5;
        if (difference == 0)
            difference = 1;
        const Adjustment a = adjustNumber(archive, layout(), index, Giacenza, double(difference),
                                          [](Record& record, double, double after) {
                                              if (after < 0)
                                                  return false;
                                              seal(record.bytes());
                                              return true;
                                          });
        switch (a.outcome) {
        case Adjustment::Outcome::Adjusted:
            say(QStringLiteral("J %1 %2").arg(index).arg(difference));
            break;
        case Adjustment::Outcome::Refused:
            say(QStringLiteral("R %1 %2").arg(index).arg(difference));
            break;
        default:
            say(QStringLiteral("F adjust %1: outcome %2 %3").arg(index).arg(int(a.outcome)).arg(a.error));
        }
    }
    return 0;
}

int workAsReader(const QString& archive, int operations, std::mt19937& rng)
{
    qint64 read = 0;
    for (int op = 0; op < operations; ++op) {
        if (rng() % 4 == 0) {
            ArchiveFile file(archive, Size);
            if (!file.open(ArchiveFile::Access::Read)) {
                say(QStringLiteral("F open: %1").arg(file.errorString()));
                continue;
            }
            const bool ok = file.forEach([&](qint64 index, const char* record) {
                ++read;
                if (!isWhole(record))
                    say(QStringLiteral("T %1").arg(index));
                return true;
            });
            if (!ok || !file.close())
                say(QStringLiteral("F read all: %1").arg(file.errorString()));
            continue;
        }
        const LoadResult one = loadRecord(archive, Size, [&](qint64 count) -> std::optional<qint64> {
            return count > 0 ? std::optional<qint64>(qint64(rng() % quint64(count))) : std::nullopt;
        });
        if (!one) {
            say(QStringLiteral("F load: %1").arg(one.error));
            continue;
        }
        if (one.index) {
            ++read;
            if (!isWhole(one.record))
                say(QStringLiteral("T %1").arg(*one.index));
        }
    }
    say(QStringLiteral("S %1").arg(read));
    return 0;
}

// What the workers were told, gathered from their lines.
struct Confirmed {
    QHash<qint64, QString> appended;       // index -> code
    QHash<qint64, QSet<QString>> versions; // index -> every version confirmed there
    QHash<qint64, long long> stockChange;  // shared index -> sum of the confirmed differences
};

void gather(const QString& worker, const QByteArray& output, Confirmed& confirmed, Outcome& outcome)
{
    for (const QByteArray& raw : output.split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.isEmpty())
            continue;
        const QStringList parts = line.split(u' ');
        const QChar kind = line.at(0);
        const qint64 index = parts.value(1).toLongLong();
        if (kind == u'A' && parts.size() == 4) {
            ++outcome.appends;
            if (confirmed.appended.contains(index))
                outcome.problems << QStringLiteral("record %1 was confirmed as appended twice").arg(index);
            confirmed.appended.insert(index, parts[2]);
            confirmed.versions[index].insert(parts[3]);
        } else if ((kind == u'U' || kind == u'O') && parts.size() == 3) {
            ++outcome.overwrites;
            confirmed.versions[index].insert(parts[2]);
        } else if (kind == u'J' && parts.size() == 3) {
            ++outcome.adjustments;
            confirmed.stockChange[index] += parts[2].toLongLong();
        } else if (kind == u'R') {
            ++outcome.refused;
        } else if (kind == u'S' && parts.size() == 2) {
            outcome.recordsRead += index;
        } else if (kind == u'T') {
            outcome.problems
                << QStringLiteral("%1 read record %2 when it was not whole").arg(worker).arg(index);
        } else if (kind == u'F') {
            ++outcome.failures;
            outcome.problems << QStringLiteral("%1: %2").arg(worker, line);
        } else {
            outcome.problems << QStringLiteral("%1 printed \"%2\"").arg(worker, line);
        }
    }
}

void compare(const QString& archive, const Confirmed& confirmed, Outcome& outcome)
{
    const qint64 bytes = QFileInfo(archive).size();
    if (bytes % Size != 0)
        outcome.problems
            << QStringLiteral("the archive has %1 bytes, not a whole number of records").arg(bytes);
    ArchiveFile file(archive, Size);
    if (!file.open(ArchiveFile::Access::Read)) {
        outcome.problems << file.errorString();
        return;
    }
    outcome.records = file.count();
    if (outcome.records != kSharedRecords + outcome.appends)
        outcome.problems << QStringLiteral("%1 records, but %2 shared ones and %3 confirmed appends")
                                .arg(outcome.records)
                                .arg(kSharedRecords)
                                .arg(outcome.appends);
    file.forEach([&](qint64 index, const char* data) {
        const QByteArray record(data, Size);
        if (!isWhole(record)) {
            outcome.problems << QStringLiteral("record %1 is not whole").arg(index);
            return true;
        }
        const QString code = Record(layout(), record).text(Codice);
        const QString version = versionOf(record);
        QSet<QString> allowed = confirmed.versions.value(index);
        if (index < kSharedRecords) {
            allowed.insert(QStringLiteral("start"));
            if (code != QStringLiteral("S%1").arg(index))
                outcome.problems << QStringLiteral("shared record %1 holds the code %2").arg(index).arg(code);
            const long long expected = kFirstStock + confirmed.stockChange.value(index);
            const std::optional<long long> stock = stockOf(record);
            if (stock != expected)
                outcome.problems << QStringLiteral("shared record %1 holds the stock %2, not %3")
                                        .arg(index)
                                        .arg(Record(layout(), record).text(Giacenza))
                                        .arg(expected);
        } else if (code != confirmed.appended.value(index)) {
            outcome.problems << QStringLiteral("record %1 holds the code %2, but %3 was confirmed there")
                                    .arg(index)
                                    .arg(code, confirmed.appended.value(index));
        }
        if (!allowed.contains(version))
            outcome.problems << QStringLiteral("record %1 holds the version %2, never confirmed there")
                                    .arg(index)
                                    .arg(version);
        return true;
    });
    file.close();
}

} // namespace

QByteArray makeRecord(const QString& code, const QString& version, long long stock)
{
    Record r(layout());
    std::mt19937 rng = generatorFor(version + u'/' + code);
    for (int f = 0; f < FieldCount; ++f) {
        if (f != Note)
            r.setText(f, filler(rng, layout().fields[size_t(f)].capacity));
    }
    r.setText(Codice, code);
    r.setText(Marca, version);
    r.setText(Giacenza, QString::number(stock));
    seal(r.bytes());
    return r.bytes();
}

void seal(QByteArray& record)
{
    encodeField(record.data(), sumField(), sumText(checkSum(record.constData())));
}

bool isWhole(const char* record)
{
    return decodeField(record, sumField()) == sumText(checkSum(record));
}

bool isWhole(const QByteArray& record)
{
    return record.size() == Size && isWhole(record.constData());
}

bool prepare(const QString& archive)
{
    for (int i = 0; i < kSharedRecords; ++i)
        if (!storeRecord(archive, Size,
                         makeRecord(QStringLiteral("S%1").arg(i), QStringLiteral("start"), kFirstStock),
                         std::nullopt))
            return false;
    return true;
}

int work(Role role, const QString& archive, int id, int operations, unsigned seed)
{
    // Many programs queue for one lock here; a wait of a few seconds is no failure.
    ArchiveFile::setLockTimeout(120000);
    std::seed_seq seq{seed, unsigned(role), unsigned(id)};
    std::mt19937 rng(seq);
    switch (role) {
    case Role::Writer:
        return workAsWriter(archive, id, operations, rng);
    case Role::Stock:
        return workOnStock(archive, operations, rng);
    case Role::Reader:
        return workAsReader(archive, operations, rng);
    }
    return 2;
}

QString Outcome::summary() const
{
    return QStringLiteral("%1 records at the end; %2 appends, %3 overwrites, %4 stock changes (%5 refused) "
                          "confirmed; %6 records read and checked by the readers; %7 failures; %8 s")
        .arg(records)
        .arg(appends)
        .arg(overwrites)
        .arg(adjustments)
        .arg(refused)
        .arg(recordsRead)
        .arg(failures)
        .arg(seconds, 0, 'f', 1);
}

Outcome run(const QString& program, const QString& archive, const Plan& plan)
{
    Outcome outcome;
    if (!prepare(archive)) {
        outcome.problems << QStringLiteral("the shared records could not be written");
        return outcome;
    }
    struct Worker {
        QString name;
        std::unique_ptr<QProcess> process;
    };
    std::vector<Worker> workers;
    QElapsedTimer timer;
    timer.start();
    const std::pair<Role, int> roles[] = {
        {Role::Writer, plan.writers}, {Role::Stock, plan.stockWorkers}, {Role::Reader, plan.readers}};
    int id = 0;
    for (const auto& [role, count] : roles) {
        for (int i = 0; i < count; ++i, ++id) {
            Worker w{QStringLiteral("%1 %2").arg(QLatin1StringView(roleName(role))).arg(id),
                     std::make_unique<QProcess>()};
            w.process->setProcessChannelMode(QProcess::SeparateChannels);
            w.process->start(program, {QStringLiteral("work"), QLatin1StringView(roleName(role)), archive,
                                       QString::number(id), QString::number(plan.operations),
                                       QString::number(plan.seed)});
            workers.push_back(std::move(w));
        }
    }
    Confirmed confirmed;
    for (Worker& w : workers) {
        if (!w.process->waitForFinished(30 * 60 * 1000)) {
            outcome.problems << QStringLiteral("%1 did not finish: %2").arg(w.name, w.process->errorString());
            w.process->kill();
            w.process->waitForFinished();
        } else if (w.process->exitStatus() != QProcess::NormalExit || w.process->exitCode() != 0) {
            outcome.problems << QStringLiteral("%1 ended with %2: %3")
                                    .arg(w.name)
                                    .arg(w.process->exitCode())
                                    .arg(QString::fromUtf8(w.process->readAllStandardError()));
        }
        gather(w.name, w.process->readAllStandardOutput(), confirmed, outcome);
    }
    outcome.seconds = double(timer.elapsed()) / 1000.0;
    compare(archive, confirmed, outcome);
    return outcome;
}

std::optional<Role> roleNamed(const QString& name)
{
    for (Role r : {Role::Writer, Role::Stock, Role::Reader})
        if (name == QLatin1StringView(roleName(r)))
            return r;
    return std::nullopt;
}

} // namespace stress

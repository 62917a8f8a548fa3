// Saves for ever, the way the cards and the settings do, and reports on its standard output each
// save the program would have confirmed to the user: "A <position> <n>" for a new customer card,
// "O <position> <n>" for a stored card saved again, "I <n>" for the settings file. The crash test
// kills it at random moments and checks that every reported save is on the disk, whole.
#include "archive/cardarchive.h"
#include "archive/customerrecord.h"
#include "core/ini.h"
#include "crashcard.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <random>

using namespace tarvello;
namespace CR = CustomerRecord;

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    std::mt19937 random(unsigned(std::atoi(argv[2])));
    // Each run numbers its saves from its own start, so a later run's saves read as later.
    const qint64 first = std::atoll(argv[3]);
    const QString archive = folder.filePath(CR::fileName());
    const QString settings = folder.filePath(QStringLiteral("Numerazione.ini"));
    qint64 stored = QFileInfo(archive).size() / CR::Size;
    for (qint64 n = first;; ++n) {
        const unsigned what = random() % 3;
        if (what == 0 || stored == 0) {
            const CardArchive::Saved saved = CardArchive::save(archive, CR::Size, crashtest::cardOf(n), {});
            if (!saved.ok)
                return 1;
            stored = saved.position;
            std::printf("A %lld %lld\n", static_cast<long long>(saved.position), static_cast<long long>(n));
        } else if (what == 1) {
            const qint64 position = 1 + qint64(random() % quint64(stored));
            const CardArchive::Saved saved =
                CardArchive::save(archive, CR::Size, crashtest::cardOf(n), QString::number(position));
            if (!saved.ok)
                return 1;
            std::printf("O %lld %lld\n", static_cast<long long>(position), static_cast<long long>(n));
        } else {
            IniFile ini = IniFile::load(settings);
            ini.setValue(u"Fatture", u"Numero", QString::number(n));
            ini.setValue(u"Fatture", u"Controllo", QString(QString::number(n) + u'-').repeated(20));
            if (!ini.save(settings))
                return 1;
            std::printf("I %lld\n", static_cast<long long>(n));
        }
        std::fflush(stdout);
    }
}

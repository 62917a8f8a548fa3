// Several programs on one archive at once (see archivestress.h).
//
//     archive_stress run WRITERS STOCK READERS OPERATIONS [SEED]
//         runs that many worker processes, each doing OPERATIONS actions, on an archive in a
//         temporary folder, and prints the figures; exits with 1 when anything confirmed is
//         missing or a record was not whole.
//     archive_stress work ROLE ARCHIVE ID OPERATIONS SEED
//         one worker (started by `run`).
#include "archivestress.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 7 && args[1] == QStringLiteral("work")) {
        const std::optional<stress::Role> role = stress::roleNamed(args[2]);
        if (!role)
            return 2;
        return stress::work(*role, args[3], args[4].toInt(), args[5].toInt(), args[6].toUInt());
    }
    if ((args.size() == 6 || args.size() == 7) && args[1] == QStringLiteral("run")) {
        stress::Plan plan;
        plan.writers = args[2].toInt();
        plan.stockWorkers = args[3].toInt();
        plan.readers = args[4].toInt();
        plan.operations = args[5].toInt();
        if (args.size() == 7)
            plan.seed = args[6].toUInt();
        QTemporaryDir dir;
        const QString archive = QDir(dir.path()).filePath(QStringLiteral("Magazzino.pro"));
        const int processes = plan.writers + plan.stockWorkers + plan.readers;
        std::printf("%d processes (%d writing, %d changing stock, %d reading) x %d actions, seed %u\n",
                    processes, plan.writers, plan.stockWorkers, plan.readers, plan.operations, plan.seed);
        const stress::Outcome outcome = stress::run(app.applicationFilePath(), archive, plan);
        std::printf("%s\n", qPrintable(outcome.summary()));
        for (const QString& p : outcome.problems)
            std::printf("PROBLEM: %s\n", qPrintable(p));
        return outcome.problems.isEmpty() ? 0 : 1;
    }
    std::fprintf(stderr, "usage: %s run WRITERS STOCK READERS OPERATIONS [SEED]\n", argv[0]);
    return 2;
}

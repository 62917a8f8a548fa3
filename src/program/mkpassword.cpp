// Build and install tool: writes unins000.dll with the scrambled initial password into the
// folder named on the command line. An existing file is kept (it may hold a password the user
// has changed) unless --force is given.
#include "shell/password.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    const bool force = argc == 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--force");
    if (argc != 2 && !force) {
        std::fprintf(stderr, "usage: tarvello_mkpassword [--force] FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[argc - 1]);
    const QString file = QDir(folder).filePath(tarvello::passwordFileName());
    if (!force && QFileInfo::exists(file))
        return 0;
    if (!tarvello::writeInitialPasswordFile(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

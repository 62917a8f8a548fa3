#pragma once

#include "files.h"
#include "program/program.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

// What the programs that grab windows into PNG files, for a person to look at, share: the
// offscreen platform unless the environment names another, the application prepared as the
// program prepares it, and the folder named on the command line (the working folder without one),
// made when missing.
class Screenshots
{
public:
    Screenshots(int& argc, char** argv)
        : m_platform(offscreenUnlessNamed()), m_app(argc, argv),
          m_folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."))
    {
        tarvello::Program::prepareApplication();
        QDir().mkpath(m_folder);
    }

    QString path(const QString& name) const { return QDir(m_folder).filePath(name); }

    // The widget as it is shown, in NAME.png: what is still to be laid out or drawn is done first.
    void save(QWidget* w, const QString& name) const
    {
        QApplication::processEvents();
        w->grab().save(path(name + QStringLiteral(".png")));
    }

    // A document the program wrote, copied beside the pictures under its own name.
    void keep(const QString& document) const
    {
        if (!copyFile(document, path(QFileInfo(document).fileName())))
            qWarning("%s is not kept", qPrintable(document));
    }

private:
    static bool offscreenUnlessNamed()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }

    bool m_platform; // chosen before the application starts
    QApplication m_app;
    QString m_folder;
};

#pragma once

#include "program/program.h"
#include "scriptedservices.h"
#include "shell/password.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

// The whole program on a temporary folder, with scripted services. The folder holds the initial
// password file, as an installation leaves it.
struct TestProgram {
    QTemporaryDir dir;
    ScriptedServices services;
    std::unique_ptr<tarvello::Program> program;

    explicit TestProgram(bool withPasswordFile = true)
    {
        if (withPasswordFile)
            tarvello::writeInitialPasswordFile(path(tarvello::passwordFileName()));
        program = std::make_unique<tarvello::Program>(dir.path(), services);
    }

    // Only the windows `registrations` adds, as in a build without the other applications.
    explicit TestProgram(const tarvello::Program::Registrations& registrations)
    {
        tarvello::writeInitialPasswordFile(path(tarvello::passwordFileName()));
        program = std::make_unique<tarvello::Program>(dir.path(), services, registrations);
    }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }

    QWidget* window(const QString& name) const { return program->window(name); }

    template <class T> T* child(const QString& windowName, const QString& childName) const
    {
        QWidget* w = window(windowName);
        return w ? w->findChild<T*>(childName) : nullptr;
    }
};

// Runs a Qt Test class on the offscreen platform unless the environment says otherwise.
#define TARVELLO_TEST_MAIN(TestClass)                                                                        \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                  \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                         \
        QApplication app(argc, argv);                                                                        \
        tarvello::Program::prepareApplication();                                                             \
        TestClass tc;                                                                                        \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

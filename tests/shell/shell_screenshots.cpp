// Grabs the shell's screens into PNG files in the folder given on the command line, so a person
// can look at them: password, change password, launcher, invoice menu, help, information, credits.
#include "shell/guida.h"
#include "shell/helptexts.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QDialog>
#include <QLineEdit>

using namespace tarvello;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Program::prepareApplication();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    TestProgram t;
    auto save = [&](QWidget* w, const QString& name) {
        w->grab().save(QDir(out).filePath(name + QStringLiteral(".png")));
    };
    t.program->start();
    QWidget* login = t.window(QStringLiteral("frmPassword"));
    QTest::keyClicks(login->findChild<QLineEdit*>(QStringLiteral("txtPassword")), QStringLiteral("chiave"));
    QApplication::processEvents();
    save(login, QStringLiteral("password"));
    QWidget* change = t.window(QStringLiteral("frmCambiaPassword"));
    change->show();
    QApplication::processEvents();
    save(change, QStringLiteral("cambia_password"));
    change->hide();
    QWidget* launcher = t.window(QStringLiteral("frmAvvio"));
    launcher->resize(1366, 768);
    launcher->show();
    QApplication::processEvents();
    save(launcher, QStringLiteral("avvio"));
    QWidget* menu = t.window(QStringLiteral("frmMenuFatture"));
    menu->resize(1366, 768);
    menu->show();
    QApplication::processEvents();
    save(menu, QStringLiteral("menu_fatture"));
    for (const QString& name :
         {QStringLiteral("frmGuida"), QStringLiteral("frmInfo"), QStringLiteral("frmSplash")})
        t.services.modal.insert(name, [&, name](QDialog& d) {
            if (auto* help = qobject_cast<TfrmGuida*>(&d))
                help->setTopic(HelpTexts::launcherTitle(), HelpTexts::launcher());
            QApplication::processEvents();
            save(&d, name.mid(3).toLower());
            return 0;
        });
    showHelp(t.program.operator*(), launcher, HelpTexts::launcherTitle(), HelpTexts::launcher());
    TfrmInfo info(*t.program, launcher);
    t.services.runModal(info);
    TfrmSplash splash(*t.program, launcher);
    t.services.runModal(splash);
    return 0;
}

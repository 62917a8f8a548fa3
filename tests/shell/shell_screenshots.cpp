// Grabs the shell's screens into PNG files in the folder given on the command line, so a person
// can look at them: password, change password, launcher, invoice menu, help, information, credits.
#include "screenshots.h"
#include "shell/guida.h"
#include "shell/helptexts.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QDialog>
#include <QLineEdit>

using namespace tarvello;

namespace
{
// The program as a user of a system-wide install sees it: its data in the per-user folder, which
// the information window names (a temporary folder would show in the guide's picture).
class PerUserFolder final : public AppContext
{
public:
    explicit PerUserFolder(AppContext& program) : m_program(program) {}
    Services& services() override { return m_program.services(); }
    QString folder() const override { return QStringLiteral("/home/anna/.local/share/Tarvello"); }
    QWidget* window(QStringView name) const override { return m_program.window(name); }
    std::unique_ptr<QDialog> createDialog(QStringView name, QWidget* owner) override
    {
        return m_program.createDialog(name, owner);
    }
    bool hasDialog(QStringView name) const override { return m_program.hasDialog(name); }
    void quit() override {}

private:
    AppContext& m_program;
};
} // namespace

int main(int argc, char** argv)
{
    const Screenshots shots(argc, argv);
    TestProgram t;
    t.program->start();
    QWidget* login = t.window(QStringLiteral("frmPassword"));
    QTest::keyClicks(login->findChild<QLineEdit*>(QStringLiteral("txtPassword")), QStringLiteral("chiave"));
    QApplication::processEvents();
    shots.save(login, QStringLiteral("password"));
    QWidget* change = t.window(QStringLiteral("frmCambiaPassword"));
    change->show();
    QApplication::processEvents();
    shots.save(change, QStringLiteral("cambia_password"));
    change->hide();
    // Each screen as it opens, then with the keyboard moved on, to see where the focus is.
    auto keys = [&](QWidget* w, const QList<Qt::Key>& pressed) {
        QApplication::setActiveWindow(w);
        if (!QTest::qWaitForWindowActive(w))
            qWarning("%s did not become active", qPrintable(w->objectName()));
        for (Qt::Key k : pressed)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, k);
        QApplication::processEvents();
    };
    QWidget* launcher = t.window(QStringLiteral("frmAvvio"));
    launcher->resize(1366, 768);
    launcher->show();
    keys(launcher, {});
    shots.save(launcher, QStringLiteral("avvio"));
    keys(launcher, {Qt::Key_Right});
    shots.save(launcher, QStringLiteral("avvio_magazzino"));
    keys(launcher, {Qt::Key_Down, Qt::Key_Right});
    shots.save(launcher, QStringLiteral("avvio_guida"));
    launcher->hide();
    QWidget* menu = t.window(QStringLiteral("frmMenuFatture"));
    menu->resize(1366, 768);
    menu->show();
    keys(menu, {});
    shots.save(menu, QStringLiteral("menu_fatture"));
    keys(menu, {Qt::Key_Tab});
    shots.save(menu, QStringLiteral("menu_fatture_apri"));
    keys(menu, {Qt::Key_Down, Qt::Key_Down});
    shots.save(menu, QStringLiteral("menu_fatture_logo"));
    menu->hide();
    launcher->show();
    for (const QString& name :
         {QStringLiteral("frmGuida"), QStringLiteral("frmInfo"), QStringLiteral("frmSplash")})
        t.services.modal.insert(name, [&, name](QDialog& d) {
            if (auto* help = qobject_cast<TfrmGuida*>(&d))
                help->setTopic(HelpTexts::launcherTitle(), HelpTexts::launcher());
            QApplication::processEvents();
            shots.save(&d, name.mid(3).toLower());
            return 0;
        });
    showHelp(t.program.operator*(), launcher, HelpTexts::launcherTitle(), HelpTexts::launcher());
    PerUserFolder perUser(*t.program);
    TfrmInfo info(perUser, launcher);
    t.services.runModal(info);
    TfrmSplash splash(*t.program, launcher);
    t.services.runModal(splash);
    return 0;
}

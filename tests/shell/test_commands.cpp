// One table line per command: what the button opens, what it hands over, whether it can be
// pressed in a build without that window, and what the status line says over it.
#include "scriptedservices.h"
#include "shell/appcontext.h"
#include "shell/commands.h"
#include "shell/conventions.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace tarvello;

namespace
{

// A build with one secondary window (frmSecondaria, which has a context label) and one main
// screen (frmPrincipale); every other name is missing.
class SmallBuild final : public AppContext
{
public:
    ScriptedServices scripted;
    QWidget mainScreen;
    SmallBuild() { mainScreen.setObjectName(QStringLiteral("frmPrincipale")); }

    Services& services() override { return scripted; }
    QString folder() const override { return {}; }
    QWidget* window(QStringView name) const override
    {
        return name == mainScreen.objectName() ? const_cast<QWidget*>(&mainScreen) : nullptr;
    }
    std::unique_ptr<QDialog> createDialog(QStringView name, QWidget* owner) override
    {
        if (!hasDialog(name))
            return nullptr;
        auto dialog = std::make_unique<QDialog>(owner);
        dialog->setObjectName(name.toString());
        auto* memory = new QLabel(dialog.get());
        memory->setObjectName(QStringLiteral("lblMemory"));
        return dialog;
    }
    bool hasDialog(QStringView name) const override { return name == u"frmSecondaria"; }
    void quit() override {}
};

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableMakesWiringStateAndHint_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("needs");
        QTest::addColumn<bool>("ownAction");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("opened"); // object name of the modal window shown, or empty
        QTest::addColumn<bool>("screenLeft");
        QTest::addColumn<bool>("ranOwn");
        QTest::newRow("secondary window in the build")
            << QStringLiteral("frmSecondaria") << QString() << false << true
            << QStringLiteral("frmSecondaria") << false << false;
        QTest::newRow("secondary window missing")
            << QStringLiteral("frmAssente") << QString() << false << false << QString() << false << false;
        QTest::newRow("main screen takes the screen's place")
            << QStringLiteral("frmPrincipale") << QString() << false << true << QString() << true << false;
        QTest::newRow("main screen whose needed window is missing")
            << QStringLiteral("frmPrincipale") << QStringLiteral("frmAssente") << false << false << QString()
            << false << false;
        QTest::newRow("own action opening a window in the build")
            << QStringLiteral("frmSecondaria") << QString() << true << true << QString() << false << true;
        QTest::newRow("own action opening a missing window")
            << QStringLiteral("frmAssente") << QString() << true << false << QString() << false << false;
        QTest::newRow("own action and no window")
            << QString() << QString() << true << true << QString() << false << true;
    }
    void tableMakesWiringStateAndHint()
    {
        QFETCH(QString, window);
        QFETCH(QString, needs);
        QFETCH(bool, ownAction);
        QFETCH(bool, enabled);
        QFETCH(QString, opened);
        QFETCH(bool, screenLeft);
        QFETCH(bool, ranOwn);

        SmallBuild build;
        QWidget screen;
        screen.setObjectName(QStringLiteral("frmSchermo"));
        auto* button = new QPushButton(QStringLiteral("Apri"), &screen);
        auto* status = new StatusLine(QString(), Qt::darkBlue, &screen);
        screen.show();

        bool ran = false;
        QString toldMemory;
        QString toldTitle;
        build.scripted.modal.insert(QStringLiteral("frmSecondaria"), [&](QDialog& d) {
            toldMemory = childText(&d, QStringLiteral("lblMemory"));
            toldTitle = d.windowTitle();
            return 0;
        });
        const QString hint = QStringLiteral("Apre la finestra richiesta.");
        ScreenCommand command =
            ownAction ? ownCommand(
                            button, hint, [&ran] { ran = true; }, window)
                      : windowCommand(button, hint, window, QStringLiteral("fatture"),
                                      [](QDialog& d) { d.setWindowTitle(QStringLiteral(" Preparata")); });
        command.needs = needs;
        const ScreenCommands commands{command};
        wireCommands(build, &screen, status, commands);
        enableCommands(build, commands);

        QCOMPARE(button->isEnabled(), enabled);
        QCOMPARE(button->toolTip(), hint);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        QCOMPARE(status->text(), hint);

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(build.scripted.modalShown.join(u','), opened);
        if (!opened.isEmpty()) {
            QCOMPARE(toldMemory, QStringLiteral("fatture"));
            QCOMPARE(toldTitle, QStringLiteral(" Preparata"));
        }
        QCOMPARE(screen.isHidden(), screenLeft);
        QCOMPARE(build.mainScreen.isVisible(), screenLeft);
        QCOMPARE(ran, ranOwn);
    }
};

int runCommandTests(int argc, char** argv)
{
    CommandsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_commands.moc"

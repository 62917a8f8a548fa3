#include "commands.h"

#include "appcontext.h"
#include "conventions.h"
#include "services.h"

#include <QAbstractButton>
#include <QDialog>
#include <QHash>
#include <QKeySequence>
#include <QShortcut>

#include <algorithm>

namespace tarvello
{

namespace
{

bool inBuild(AppContext& ctx, const QString& name)
{
    return ctx.hasDialog(name) || ctx.hasWindow(name);
}

// The same key does the same thing on every screen, so it is bound by the button's name.
QKeySequence standardKey(const QString& buttonName)
{
    static const QHash<QString, QKeySequence> keys = {
        {QStringLiteral("cmdSalva"), QKeySequence(Qt::CTRL | Qt::Key_S)},
        {QStringLiteral("cmdNuovo"), QKeySequence(Qt::CTRL | Qt::Key_N)},
        {QStringLiteral("cmdTrova"), QKeySequence(Qt::CTRL | Qt::Key_F)},
        {QStringLiteral("cmdStampa"), QKeySequence(Qt::CTRL | Qt::Key_P)},
        {QStringLiteral("cmdGuida"), QKeySequence(Qt::Key_F1)},
        {QStringLiteral("cmdPrimo"), QKeySequence(Qt::CTRL | Qt::Key_Home)},
        {QStringLiteral("cmdIndietro"), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        {QStringLiteral("cmdAvanti"), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
        {QStringLiteral("cmdUltimo"), QKeySequence(Qt::CTRL | Qt::Key_End)},
    };
    return keys.value(buttonName);
}

} // namespace

ScreenCommand ownCommand(QAbstractButton* button, const QString& hint, std::function<void()> run,
                         const QString& window)
{
    ScreenCommand c;
    c.button = button;
    c.hint = hint;
    c.window = window;
    c.run = std::move(run);
    return c;
}

ScreenCommand windowCommand(QAbstractButton* button, const QString& hint, const QString& window,
                            const QString& context, std::function<void(QDialog&)> prepare)
{
    ScreenCommand c;
    c.button = button;
    c.hint = hint;
    c.window = window;
    c.context = context;
    c.prepare = std::move(prepare);
    return c;
}

const ScreenCommand& commandFor(const ScreenCommands& commands, const QAbstractButton* button)
{
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [button](const ScreenCommand& c) { return c.button == button; });
    Q_ASSERT(found != commands.end());
    return *found;
}

void openCommandWindow(AppContext& ctx, QWidget* screen, const ScreenCommand& command)
{
    if (std::unique_ptr<QDialog> dialog = ctx.createDialog(command.window, screen)) {
        if (!command.context.isEmpty())
            setChildText(dialog.get(), QStringLiteral("lblMemory"), command.context);
        if (command.prepare)
            command.prepare(*dialog);
        ctx.services().runModal(*dialog);
    } else if (QWidget* other = ctx.window(command.window)) {
        // A main screen takes the place of the one it was opened from.
        AppContext::showScreen(other);
        screen->hide();
    }
}

void wireCommands(AppContext& ctx, QWidget* screen, StatusLine* status, const ScreenCommands& commands)
{
    for (const ScreenCommand& c : commands) {
        const QKeySequence key = standardKey(c.button->objectName());
        QString hint = c.hint;
        if (!key.isEmpty()) {
            auto* shortcut = new QShortcut(key, screen);
            shortcut->setContext(Qt::WindowShortcut);
            QAbstractButton* button = c.button;
            QObject::connect(shortcut, &QShortcut::activated, button, [button] {
                // A key does no more than the button: nothing while it is hidden or disabled.
                if (button->isEnabled() && button->isVisible())
                    button->click();
            });
            if (!hint.isEmpty())
                hint += QStringLiteral(" (") + key.toString(QKeySequence::PortableText) + u')';
        }
        if (status && !hint.isEmpty())
            status->addHint(c.button, hint);
        if (c.run)
            QObject::connect(c.button, &QAbstractButton::clicked, screen, c.run);
        else if (!c.window.isEmpty())
            QObject::connect(c.button, &QAbstractButton::clicked, screen,
                             [&ctx, screen, c] { openCommandWindow(ctx, screen, c); });
    }
}

void enableCommands(AppContext& ctx, const ScreenCommands& commands)
{
    for (const ScreenCommand& c : commands) {
        const QString& needed = c.needs.isEmpty() ? c.window : c.needs;
        if (!needed.isEmpty())
            c.button->setEnabled(inBuild(ctx, needed));
    }
}

} // namespace tarvello

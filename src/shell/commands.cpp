#include "commands.h"

#include "appcontext.h"
#include "conventions.h"
#include "services.h"

#include <QAbstractButton>
#include <QDialog>

#include <algorithm>

namespace tarvello
{

namespace
{

bool inBuild(AppContext& ctx, const QString& name)
{
    return ctx.hasDialog(name) || ctx.window(name) != nullptr;
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
        if (status && !c.hint.isEmpty())
            status->addHint(c.button, c.hint);
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

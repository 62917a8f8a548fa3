#include "windowregistry.h"

#include "guida.h"
#include "passwordwindows.h"
#include "shellwindows.h"

#include <QDialog>

namespace tarvello
{

void WindowRegistry::addWindow(const QString& objectName, WindowFactory make)
{
    Q_ASSERT_X(!window(objectName), "WindowRegistry::addWindow", qPrintable(objectName));
    m_windows.emplace_back(objectName, std::move(make));
}

const WindowRegistry::WindowFactory* WindowRegistry::window(QStringView objectName) const
{
    for (const auto& [name, make] : m_windows)
        if (name == objectName)
            return &make;
    return nullptr;
}

void WindowRegistry::addDialog(const QString& objectName, DialogFactory make)
{
    Q_ASSERT_X(!dialog(objectName), "WindowRegistry::addDialog", qPrintable(objectName));
    m_dialogs.emplace_back(objectName, std::move(make));
}

const WindowRegistry::DialogFactory* WindowRegistry::dialog(QStringView objectName) const
{
    for (const auto& [name, make] : m_dialogs)
        if (name == objectName)
            return &make;
    return nullptr;
}

QStringList WindowRegistry::dialogNames() const
{
    QStringList names;
    for (const auto& entry : m_dialogs)
        names.append(entry.first);
    return names;
}

void registerShellWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmPassword>(QStringLiteral("frmPassword"));
    registry.addWindow<TfrmAvvio>(QStringLiteral("frmAvvio"));
    registry.addWindow<TfrmCambiaPassword>(QStringLiteral("frmCambiaPassword"));
    registry.addWindow<TfrmGuida>(QStringLiteral("frmGuida"));
    registry.addWindow<TfrmInfo>(QStringLiteral("frmInfo"));
    registry.addWindow<TfrmSplash>(QStringLiteral("frmSplash"));
    registry.addDialog<TfrmGuida>(QStringLiteral("frmGuida"));
    registry.addDialog<TfrmInfo>(QStringLiteral("frmInfo"));
    registry.addDialog<TfrmSplash>(QStringLiteral("frmSplash"));
}

void registerInvoiceMenu(WindowRegistry& registry)
{
    registry.addWindow<TfrmMenuFatture>(QStringLiteral("frmMenuFatture"));
}

} // namespace tarvello

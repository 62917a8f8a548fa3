#include "windowregistry.h"

#include "guida.h"
#include "passwordwindows.h"
#include "shellwindows.h"

#include <QDialog>

namespace tarvello
{

void WindowRegistry::addWindow(WindowFactory make)
{
    m_windows.push_back(std::move(make));
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
    registry.addWindow<TfrmPassword>();
    registry.addWindow<TfrmAvvio>();
    registry.addWindow<TfrmCambiaPassword>();
    registry.addWindow<TfrmGuida>();
    registry.addWindow<TfrmInfo>();
    registry.addWindow<TfrmSplash>();
    registry.addDialog<TfrmGuida>(QStringLiteral("frmGuida"));
    registry.addDialog<TfrmInfo>(QStringLiteral("frmInfo"));
    registry.addDialog<TfrmSplash>(QStringLiteral("frmSplash"));
}

void registerInvoiceMenu(WindowRegistry& registry)
{
    registry.addWindow<TfrmMenuFatture>();
}

} // namespace tarvello

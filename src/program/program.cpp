#include "program.h"

#include "shell/conventions.h"
#include "shell/keyboard.h"
#include "shell/services.h"
#include "shell/style.h"
#include "shell/windowregistry.h"

#if defined(TARVELLO_HAS_CUSTOMERS) || defined(TARVELLO_HAS_WAREHOUSE)
#include "attachments/registration.h"
#endif

#ifdef TARVELLO_HAS_CHECKS
#include "checks/registration.h"
#endif
#ifdef TARVELLO_HAS_CUSTOMERS
#include "customers/registration.h"
#endif
#ifdef TARVELLO_HAS_WAREHOUSE
#include "warehouse/registration.h"
#endif
#ifdef TARVELLO_HAS_INVOICES
#include "invoices/registration.h"
#endif

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

// The pictures live in a static library, whose resources must be registered by hand.
static void registerPictures()
{
    Q_INIT_RESOURCE(assets);
}

namespace tarvello
{

Program::Program(QString folder, Services& services) : Program(std::move(folder), services, registerThisBuild)
{
}

Program::Program(QString folder, Services& services, const Registrations& registrations)
    : m_folder(std::move(folder)), m_services(services)
{
    installKeyboardConventions();
    registrations(m_registry);
}

void Program::registerThisBuild(WindowRegistry& registry)
{
    // An application left out of this build registers nothing, and the screens leave the entries
    // that would open it disabled.
    registerShellWindows(registry);
#ifdef TARVELLO_HAS_CHECKS
    registerCheckWindows(registry);
#endif
#ifdef TARVELLO_HAS_CUSTOMERS
    registerCustomerWindows(registry);
#endif
#if defined(TARVELLO_HAS_CUSTOMERS) || defined(TARVELLO_HAS_WAREHOUSE)
    // Both cards open it; it stands where the customer card's windows end.
    registerAttachmentWindows(registry);
#endif
#ifdef TARVELLO_HAS_WAREHOUSE
    registerWarehouseWindows(registry);
#endif
    registerInvoiceMenu(registry);
#ifdef TARVELLO_HAS_INVOICES
    registerInvoiceWindows(registry);
#endif
}

Program::~Program()
{
    // Later windows may refer to earlier ones while they go; destroy in reverse order.
    while (!m_windows.empty())
        m_windows.pop_back();
}

QWidget* Program::make(const QString& objectName, const WindowRegistry::WindowFactory& factory) const
{
    if (m_making.contains(objectName))
        qFatal("The window %s asks, while it is being made, for a window that asks for it",
               qPrintable(objectName));
    m_making.append(objectName);
    // Each window is built with its constructor's own calls to other windows; a Program is the
    // AppContext the factories take, so the const of a lookup does not reach them.
    QWidget* w = factory(const_cast<Program&>(*this));
    m_making.removeLast();
    if (w->objectName() != objectName)
        qFatal("The window registered as %s calls itself %s", qPrintable(objectName),
               qPrintable(w->objectName()));
    w->setWindowIcon(QIcon(QStringLiteral(":/icons/logo.svg")));
    m_windows.emplace_back(w);
    return w;
}

void Program::start()
{
    QWidget* login = window(m_registry.windows().front().first);
    login->show();
    login->activateWindow();
}

QWidget* Program::window(QStringView objectName) const
{
    for (const auto& w : m_windows)
        if (w->objectName() == objectName)
            return w.get();
    const WindowRegistry::WindowFactory* factory = m_registry.window(objectName);
    return factory ? make(objectName.toString(), *factory) : nullptr;
}

bool Program::hasWindow(QStringView objectName) const
{
    return m_registry.window(objectName) != nullptr;
}

std::unique_ptr<QDialog> Program::createDialog(QStringView objectName, QWidget* owner)
{
    if (const WindowRegistry::DialogFactory* make = m_registry.dialog(objectName))
        return (*make)(*this, owner);
    return nullptr;
}

QString Program::shippedFilesFolder() const
{
    return m_shippedFiles.isEmpty() ? AppContext::shippedFilesFolder() : m_shippedFiles;
}

QString Program::guidePath() const
{
    return m_guide.isEmpty() ? AppContext::guidePath() : m_guide;
}

void Program::setInstallation(const QString& shippedFiles, const QString& guide)
{
    m_shippedFiles = shippedFiles;
    m_guide = guide;
}

bool Program::hasDialog(QStringView objectName) const
{
    return m_registry.dialog(objectName) != nullptr;
}

void Program::quit()
{
    m_quit = true;
    for (const auto& w : m_windows)
        w->hide();
    QCoreApplication::quit();
}

QList<QWidget*> Program::windows() const
{
    QList<QWidget*> list;
    for (const auto& entry : m_registry.windows())
        list.append(window(entry.first));
    return list;
}

void Program::prepareApplication()
{
    registerPictures();
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setQuitOnLastWindowClosed(false);
    auto* qtItalian = new QTranslator(qApp);
    if (qtItalian->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtItalian);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/logo.svg")));
    useProgramStyleSheet();
}

} // namespace tarvello

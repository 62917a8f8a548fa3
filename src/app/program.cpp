#include "program.h"

#include "checks/checkwindows.h"
#include "customers/allegacartella.h"
#include "customers/clienti.h"
#include "customers/expclienti.h"
#include "customers/ricontatta.h"
#include "customers/trovaclienti.h"
#include "guida.h"
#include "invoices/fatture.h"
#include "invoices/invoicedialogs.h"
#include "invoices/invoiceoutput.h"
#include "passwordwindows.h"
#include "services.h"
#include "shellwindows.h"

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

Program::Program(QString folder, Services& services) : m_folder(std::move(folder)), m_services(services)
{
    registerDialogs();
    createWindows();
}

Program::~Program()
{
    // Later windows may refer to earlier ones while they go; destroy in reverse order.
    while (!m_windows.empty())
        m_windows.pop_back();
}

void Program::createWindows()
{
    // The order of creation; the first window is the main window. Windows of applications this
    // build does not have are simply not in the list.
    const std::vector<WindowFactory> order = {
        [](AppContext& c) { return new TfrmPassword(c); },
        [](AppContext& c) { return new TfrmAvvio(c); },
        [](AppContext& c) { return new TfrmCambiaPassword(c); },
        [](AppContext& c) { return new TfrmGuida(c); },
        [](AppContext& c) { return new TfrmInfo(c); },
        [](AppContext& c) { return new TfrmSplash(c); },
        [](AppContext& c) { return new TfrmCarta(c); },
        [](AppContext& c) { return new TfrmCodFisc(c); },
        [](AppContext& c) { return new TfrmIban(c); },
        [](AppContext& c) { return new TfrmPartitaIva(c); },
        [](AppContext& c) { return new TfrmExpClienti(c); },
        [](AppContext& c) { return new TfrmTrovaClienti(c); },
        [](AppContext& c) { return new TfrmRicontatta(c); },
        [](AppContext& c) { return new TfrmClienti(c); },
        [](AppContext& c) { return new TfrmAllegaCartella(c); },
        [](AppContext& c) { return new TfrmMenuFatture(c); },
        [](AppContext& c) { return new TfrmFatture(c); },
        [](AppContext& c) { return new TfrmLogo(c); },
        [](AppContext& c) { return new TfrmNumerazioneFat(c); },
        [](AppContext& c) { return new TfrmDatiFattura(c); },
        [](AppContext& c) { return new TfrmStampaFat(c); },
        [](AppContext& c) { return new TfrmAnteprimaFat(c); },
        [](AppContext& c) { return new TfrmCrea_PDF_Fat(c); },
    };
    const QIcon icon(QStringLiteral(":/icons/logo.svg"));
    for (const WindowFactory& make : order) {
        QWidget* w = make(*this);
        w->setWindowIcon(icon);
        m_windows.emplace_back(w);
    }
}

void Program::registerDialogs()
{
    m_dialogs = {
        {QStringLiteral("frmLogo"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmLogo>(c, o); }},
        {QStringLiteral("frmNumerazioneFat"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmNumerazioneFat>(c, o); }},
        {QStringLiteral("frmDatiFattura"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmDatiFattura>(c, o); }},
        {QStringLiteral("frmStampaFat"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmStampaFat>(c, o); }},
        {QStringLiteral("frmAnteprimaFat"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmAnteprimaFat>(c, o); }},
        {QStringLiteral("frmCrea_PDF_Fat"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmCrea_PDF_Fat>(c, o); }},
        {QStringLiteral("frmGuida"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmGuida>(c, o); }},
        {QStringLiteral("frmInfo"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmInfo>(c, o); }},
        {QStringLiteral("frmSplash"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmSplash>(c, o); }},
        {QStringLiteral("frmCodFisc"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmCodFisc>(c, o); }},
        {QStringLiteral("frmPartitaIva"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmPartitaIva>(c, o); }},
        {QStringLiteral("frmIban"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmIban>(c, o); }},
        {QStringLiteral("frmCarta"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmCarta>(c, o); }},
        {QStringLiteral("frmAllegaCartella"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmAllegaCartella>(c, o); }},
        {QStringLiteral("frmTrovaClienti"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmTrovaClienti>(c, o); }},
        {QStringLiteral("frmRicontatta"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmRicontatta>(c, o); }},
        {QStringLiteral("frmExpClienti"),
         [](AppContext& c, QWidget* o) { return std::make_unique<TfrmExpClienti>(c, o); }},
    };
}

void Program::start()
{
    QWidget* login = m_windows.front().get();
    login->show();
    login->activateWindow();
}

QWidget* Program::window(QStringView objectName) const
{
    for (const auto& w : m_windows)
        if (w->objectName() == objectName)
            return w.get();
    return nullptr;
}

std::unique_ptr<QDialog> Program::createDialog(QStringView objectName, QWidget* owner)
{
    for (const auto& [name, make] : m_dialogs)
        if (name == objectName)
            return make(*this, owner);
    return nullptr;
}

bool Program::hasDialog(QStringView objectName) const
{
    for (const auto& entry : m_dialogs)
        if (entry.first == objectName)
            return true;
    return false;
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
    for (const auto& w : m_windows)
        list.append(w.get());
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
}

} // namespace tarvello

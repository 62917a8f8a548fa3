#pragma once

#include <QString>

namespace tarvello::HelpTexts
{

QString launcherTitle();
QString launcher();
QString invoicesTitle();
QString invoices();

} // namespace tarvello::HelpTexts

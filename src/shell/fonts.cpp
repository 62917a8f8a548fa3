#include "fonts.h"

#include <QString>

namespace tarvello::Fonts
{
namespace
{

QFont font(const char* family, int points, bool bold = false)
{
    QFont f(QString::fromLatin1(family), points);
    f.setBold(bold);
    return f;
}

} // namespace

QFont cardField()
{
    return font("Verdana", 10);
}

QFont einvoiceField()
{
    return font("Verdana", 10, true);
}

QFont checkField()
{
    return font("Courier New", 20, true);
}

QFont resultList()
{
    QFont f = font("Courier New", 12);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    return f;
}

QFont invoiceCommand()
{
    return font("Tahoma", 8);
}

QFont chartTitle()
{
    return font("Verdana", 20, true);
}

QFont chartFoot()
{
    return font("Verdana", 11, true);
}

} // namespace tarvello::Fonts

#pragma once

#include <QFont>

namespace tarvello::Fonts
{

// The fonts the windows' code must hold as values: those a window measures to size a control,
// and those it paints with. Every other font of the windows is in the style sheet
// (assets/tarvello.qss), picked by a control's name or its typeface (setTypeface); a style sheet's
// font reaches a control only once it is shown, too late for a width worked out before.

// A card's fields (customer and product), Verdana 10: some are made wide enough for their
// longest code or figure.
QFont cardField();
// The code in a check window's field, Courier New 20 bold: the field is made as wide as the
// longest code typed in it.
QFont checkField();
// The lines of a result list, Courier New 12 of fixed pitch: the list lines its columns up and
// measures where each line's total stands.
QFont resultList();
// The invoice screen's commands, Tahoma 8: a command's name shows under its picture only where
// the width it measures fits.
QFont invoiceCommand();
// The electronic invoice's own fields, Verdana 10 bold: its date fields are made as wide as a
// date.
QFont einvoiceField();
// The statistics chart's title (Verdana 20 bold) and foot (Verdana 11 bold), which it paints.
QFont chartTitle();
QFont chartFoot();

} // namespace tarvello::Fonts

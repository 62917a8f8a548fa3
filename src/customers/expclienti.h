#pragma once

#include "output/exportwindow.h"

namespace tarvello
{

// The customer export: the whole of Clienti.pro in a grid of 25 columns, written as the
// spreadsheet document Clienti.xls in the program's folder. Typing into the editable columns
// changes the document, never the archive.
class TfrmExpClienti : public ExportWindow
{
    Q_OBJECT
public:
    explicit TfrmExpClienti(AppContext& ctx, QWidget* owner = nullptr);

    // What makes the shared export window the customer export.
    static ExportDefinition definition();
};

} // namespace tarvello

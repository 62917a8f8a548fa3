#pragma once

#include "output/exportwindow.h"

namespace tarvello
{

// The invoice export: every invoice of the year open on the invoice screen in a grid of 25
// columns, written as the spreadsheet document Fatture.xls in the program's folder (replacing
// the previous export, whatever year it held).
class TfrmExpFatture : public ExportWindow
{
    Q_OBJECT
public:
    explicit TfrmExpFatture(AppContext& ctx, QWidget* owner = nullptr);

    // What makes the shared export window the invoice export.
    static ExportDefinition definition();
};

} // namespace tarvello

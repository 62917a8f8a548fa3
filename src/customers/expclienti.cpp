#include "expclienti.h"

#include "customerexport.h"
#include "shell/appcontext.h"

namespace tarvello
{

TfrmExpClienti::TfrmExpClienti(AppContext& ctx, QWidget* owner) : ExportWindow(ctx, owner, definition()) {}

ExportDefinition TfrmExpClienti::definition()
{
    ExportDefinition d;
    d.objectName = QStringLiteral("frmExpClienti");
    d.caption = CustomerExport::caption();
    d.fileName = CustomerExport::fileName();
    d.sheetName = CustomerExport::sheetName();
    d.helpTitle = CustomerExport::helpTitle();
    d.helpFirstParagraph = CustomerExport::helpFirstParagraph();
    for (const CustomerExport::Column& c : CustomerExport::columns())
        d.columns.append({c.name.toString(), c.gridHeader.toString(), c.gridWidth, c.editable,
                          c.documentHeader.toString(), c.documentWidth, CellAlignment::Left,
                          CustomerExport::keepsAsText(c.name)});
    d.archivePath = [](AppContext& ctx) { return ctx.filePath(CustomerRecord::fileName()); };
    d.recordSize = CustomerRecord::Size;
    d.readRecord = [](const char* record) { return CustomerExport::cells(record); };
    return d;
}

} // namespace tarvello

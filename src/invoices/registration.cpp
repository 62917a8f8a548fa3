#include "registration.h"

#include "fatture.h"
#include "invoicedialogs.h"
#include "invoiceoutput.h"
#include "shell/windowregistry.h"

namespace tarvello
{

// The invoice screen and the dialogs it opens: logo, numbering, extra data, print, preview, PDF.
void registerInvoiceWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmFatture>();
    registry.addWindow<TfrmLogo>();
    registry.addWindow<TfrmNumerazioneFat>();
    registry.addWindow<TfrmDatiFattura>();
    registry.addWindow<TfrmStampaFat>();
    registry.addWindow<TfrmAnteprimaFat>();
    registry.addWindow<TfrmCrea_PDF_Fat>();
    registry.addDialog<TfrmLogo>(QStringLiteral("frmLogo"));
    registry.addDialog<TfrmNumerazioneFat>(QStringLiteral("frmNumerazioneFat"));
    registry.addDialog<TfrmDatiFattura>(QStringLiteral("frmDatiFattura"));
    registry.addDialog<TfrmStampaFat>(QStringLiteral("frmStampaFat"));
    registry.addDialog<TfrmAnteprimaFat>(QStringLiteral("frmAnteprimaFat"));
    registry.addDialog<TfrmCrea_PDF_Fat>(QStringLiteral("frmCrea_PDF_Fat"));
}

} // namespace tarvello

#include "registration.h"

#include "expfatture.h"
#include "fatturaelettronica.h"
#include "fatture.h"
#include "invoicedialogs.h"
#include "invoiceoutput.h"
#include "riepiloghi.h"
#include "shell/appcontext.h"
#include "shell/windowregistry.h"
#include "sospese.h"
#include "statistiche.h"
#include "trovafatture.h"

namespace tarvello
{

// The invoice screen and the dialogs it opens: logo, numbering, extra data, unpaid invoices, export,
// the three summaries, search, print, preview, PDF, electronic invoice.
void registerInvoiceWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmFatture>(QStringLiteral("frmFatture"));
    registry.addWindow<TfrmLogo>(QStringLiteral("frmLogo"));
    registry.addWindow<TfrmStatistiche>(QStringLiteral("frmStatistiche"));
    registry.addWindow<TfrmNumerazioneFat>(QStringLiteral("frmNumerazioneFat"));
    registry.addWindow<TfrmSospese>(QStringLiteral("frmSospese"));
    registry.addWindow<TfrmDatiFattura>(QStringLiteral("frmDatiFattura"));
    registry.addWindow<TfrmExpFatture>(QStringLiteral("frmExpFatture"));
    registry.addWindow<TfrmRiepAnnuale>(QStringLiteral("frmRiepAnnuale"));
    registry.addWindow<TfrmRiepMensile>(QStringLiteral("frmRiepMensile"));
    registry.addWindow<TfrmRiepTrimestrale>(QStringLiteral("frmRiepTrimestrale"));
    registry.addWindow<TfrmTrovaFatture>(QStringLiteral("frmTrovaFatture"));
    registry.addWindow<TfrmStampaFat>(QStringLiteral("frmStampaFat"));
    registry.addWindow<TfrmAnteprimaFat>(QStringLiteral("frmAnteprimaFat"));
    registry.addWindow<TfrmCrea_PDF_Fat>(QStringLiteral("frmCrea_PDF_Fat"));
    registry.addDialog<TfrmLogo>(QStringLiteral("frmLogo"));
    registry.addDialog<TfrmNumerazioneFat>(QStringLiteral("frmNumerazioneFat"));
    registry.addDialog<TfrmDatiFattura>(QStringLiteral("frmDatiFattura"));
    registry.addDialog<TfrmStampaFat>(QStringLiteral("frmStampaFat"));
    registry.addDialog<TfrmAnteprimaFat>(QStringLiteral("frmAnteprimaFat"));
    registry.addDialog<TfrmCrea_PDF_Fat>(QStringLiteral("frmCrea_PDF_Fat"));
    registry.addDialog<TfrmTrovaFatture>(QStringLiteral("frmTrovaFatture"));
    registry.addDialog<TfrmSospese>(QStringLiteral("frmSospese"));
    registry.addDialog<TfrmRiepMensile>(QStringLiteral("frmRiepMensile"));
    registry.addDialog<TfrmRiepTrimestrale>(QStringLiteral("frmRiepTrimestrale"));
    registry.addDialog<TfrmRiepAnnuale>(QStringLiteral("frmRiepAnnuale"));
    registry.addDialog<TfrmExpFatture>(QStringLiteral("frmExpFatture"));
    registry.addDialog<TfrmFatturaElettronica>(QStringLiteral("frmFatturaElettronica"));
    // The invoice screen takes the customers and articles the other applications hand over.
    registry.handoffs().invoiceTarget = [](AppContext& ctx) -> InvoiceTarget* {
        return static_cast<TfrmFatture*>(ctx.window(u"frmFatture"));
    };
}

} // namespace tarvello

#include "invoicescreen.h"

#include "shell/conventions.h"
#include "shell/fonts.h"

#include <QBoxLayout>
#include <QLabel>

#include <algorithm>

namespace tarvello::InvoiceScreen
{

void buildToolBar(QWidget* screen, InvoiceControls& ui, QBoxLayout* strip,
                  const std::function<QLabel*()>& position)
{
    auto make = [screen, &ui](const QString& name, const QString& icon, const QString& text) {
        auto* b = new PictureButton(name, QStringLiteral(":/icons/") + icon + QStringLiteral(".svg"), text,
                                    QSize(30, 30), screen);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFont(Fonts::invoiceCommand());
        b->setFixedWidth(b->iconSize().width() + 8);
        ui.toolBar.push_back(b);
        return b;
    };
    auto gap = [strip] { strip->addSpacing(8); };
    ui.cmdNuovo = make(QStringLiteral("cmdNuovo"), QStringLiteral("nuovo"), QStringLiteral("Nuovo"));
    ui.cmdSalva = make(QStringLiteral("cmdSalva"), QStringLiteral("salva"), QStringLiteral("Salva"));
    ui.cmdPrimo = make(QStringLiteral("cmdPrimo"), QStringLiteral("primo"), QStringLiteral("Prima"));
    ui.cmdIndietro =
        make(QStringLiteral("cmdIndietro"), QStringLiteral("indietro"), QStringLiteral("Precedente"));
    QLabel* lblPosizione = position();
    lblPosizione->setMinimumWidth(56);
    ui.cmdAvanti = make(QStringLiteral("cmdAvanti"), QStringLiteral("avanti"), QStringLiteral("Successiva"));
    ui.cmdUltimo = make(QStringLiteral("cmdUltimo"), QStringLiteral("ultimo"), QStringLiteral("Ultima"));
    ui.cmdTrova = make(QStringLiteral("cmdTrova"), QStringLiteral("trova"), QStringLiteral("Trova"));
    ui.cmdSospese =
        make(QStringLiteral("cmdSospese"), QStringLiteral("sospese"), QStringLiteral("Non saldate"));
    ui.cmdStampa = make(QStringLiteral("cmdStampa"), QStringLiteral("stampa"), QStringLiteral("Stampa"));
    ui.cmdAnteprima =
        make(QStringLiteral("cmdAnteprima"), QStringLiteral("anteprima"), QStringLiteral("Anteprima"));
    ui.cmdPDF = make(QStringLiteral("cmdPDF"), QStringLiteral("pdf"), QStringLiteral("Crea PDF"));
    ui.cmdFatturaElettronica =
        make(QStringLiteral("cmdFatturaElettronica"), QStringLiteral("fatturaelettronica"),
             QStringLiteral("Fattura elettronica"));
    ui.cmdEsporta = make(QStringLiteral("cmdEsporta"), QStringLiteral("esporta"), QStringLiteral("Excel"));
    ui.cmdRiepMensile =
        make(QStringLiteral("cmdRiepMensile"), QStringLiteral("riepmensile"), QStringLiteral("Mensile"));
    ui.cmdRiepTrimestrale = make(QStringLiteral("cmdRiepTrimestrale"), QStringLiteral("rieptrimestrale"),
                                 QStringLiteral("Trimestrale"));
    ui.cmdRiepAnnuale =
        make(QStringLiteral("cmdRiepAnnuale"), QStringLiteral("riepannuale"), QStringLiteral("Annuale"));
    ui.cmdNumerazione =
        make(QStringLiteral("cmdNumerazione"), QStringLiteral("numerazione"), QStringLiteral("Numerazione"));
    ui.cmdGuida = make(QStringLiteral("cmdGuida"), QStringLiteral("guida"), QStringLiteral("Guida"));
    ui.cmdEsci = make(QStringLiteral("cmdEsci"), QStringLiteral("esci"), QStringLiteral("Esci"));

    strip->addWidget(ui.cmdNuovo);
    strip->addWidget(ui.cmdSalva);
    gap();
    strip->addWidget(ui.cmdPrimo);
    strip->addWidget(ui.cmdIndietro);
    strip->addWidget(lblPosizione);
    strip->addWidget(ui.cmdAvanti);
    strip->addWidget(ui.cmdUltimo);
    gap();
    for (PictureButton* b : {ui.cmdTrova, ui.cmdSospese})
        strip->addWidget(b);
    gap();
    for (PictureButton* b :
         {ui.cmdStampa, ui.cmdAnteprima, ui.cmdPDF, ui.cmdFatturaElettronica, ui.cmdEsporta})
        strip->addWidget(b);
    gap();
    for (PictureButton* b : {ui.cmdRiepMensile, ui.cmdRiepTrimestrale, ui.cmdRiepAnnuale})
        strip->addWidget(b);
    gap();
    strip->addWidget(ui.cmdNumerazione);
    strip->addStretch(1);
    strip->addWidget(ui.cmdGuida);
    strip->addWidget(ui.cmdEsci);
}

void fitToolBar(const InvoiceControls& ui, int others, int width)
{
    // Fullest first: every name; the card arrows as arrows alone (their pictures say it all);
    // pictures alone, the names in the hints. A name is shown whole or not at all.
    const auto arrow = [&ui](const PictureButton* b) {
        return b == ui.cmdPrimo || b == ui.cmdIndietro || b == ui.cmdAvanti || b == ui.cmdUltimo;
    };
    const auto named = [&](const PictureButton* b, int level) {
        return level == 0 || (level == 1 && !arrow(b));
    };
    const auto widthOf = [](const PictureButton* b, bool withName) {
        const int picture = b->iconSize().width();
        return (withName ? std::max(picture, b->fontMetrics().horizontalAdvance(b->text())) : picture) + 8;
    };
    int level = 0;
    for (; level < 2; ++level) {
        int needed = others;
        for (const PictureButton* b : ui.toolBar)
            needed += widthOf(b, named(b, level));
        if (needed <= width)
            break;
    }
    for (PictureButton* b : ui.toolBar) {
        const bool withName = named(b, level);
        b->setToolButtonStyle(withName ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
        b->setFixedWidth(widthOf(b, withName));
    }
}

} // namespace tarvello::InvoiceScreen

#include "invoicescreen.h"

#include "calculation.h"
#include "core/text.h"
#include "shell/conventions.h"
#include "shell/keyboard.h"
#include "shell/style.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tarvello::InvoiceScreen
{

QWidget* buildArticlePages(QWidget* screen, InvoiceControls& ui)
{
    QStackedWidget* pages = ui.pages = new QStackedWidget(screen);
    pages->setObjectName(QStringLiteral("pagesArticoli"));
    const QStringList letters = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                 QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F")};
    for (int page = 0; page < 6; ++page) {
        auto* box =
            new QGroupBox(QStringLiteral("Articoli %1 - %2").arg(page * 5 + 1).arg(page * 5 + 5), pages);
        box->setObjectName(QStringLiteral("grpPage") + two(page + 1));
        ui.grpPage[size_t(page)] = box;
        auto* g = new QGridLayout(box);
        g->setContentsMargins(10, 14, 10, 8);
        g->setHorizontalSpacing(6);
        g->setVerticalSpacing(5);
        const QStringList headings = {QString(),
                                      QStringLiteral("Quant."),
                                      QStringLiteral("Codice articolo:"),
                                      QString(),
                                      QStringLiteral("Descrizione:"),
                                      QStringLiteral("Prezzo:"),
                                      QStringLiteral("% Sc."),
                                      QStringLiteral("Importo tot."),
                                      QStringLiteral("Es.")};
        for (int c = 0; c < headings.size(); ++c) {
            if (headings[c].isEmpty())
                continue;
            auto* h = caption(headings[c], box);
            setTone(h, "heading");
            if (c == 5 || c == 6 || c == 7)
                h->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            g->addWidget(h, 0, c);
        }
        for (int i = 0; i < 5; ++i) {
            const int row = page * 5 + i + 1;
            const size_t k = size_t(row - 1);
            const QString nn = two(row);
            auto* number = caption(QString::number(row) + u'.', box);
            number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            ui.txtQuant[k] = edit(box, QStringLiteral("txtQuant") + nn, 6);
            ui.txtCodice[k] = edit(box, QStringLiteral("txtCodice") + nn, 20);
            ui.impMag[k] = smallButton(box, QStringLiteral("impMag") + nn, QStringLiteral("importa"),
                                       QStringLiteral("Importa articolo"));
            ui.txtDesc[k] = edit(box, QStringLiteral("txtDesc") + nn, 55);
            ui.txtPrezzo[k] = edit(box, QStringLiteral("txtPrezzo") + nn, 10);
            ui.txtPercSconto[k] = edit(box, QStringLiteral("txtPercSconto") + nn, 6);
            ui.txtImporto[k] = amountLabel(box, QStringLiteral("txtImporto") + nn);
            ui.chkEs[k] = new QCheckBox(box);
            ui.chkEs[k]->setObjectName(QStringLiteral("chkEs") + nn);
            for (QLineEdit* e : {ui.txtQuant[k], ui.txtPrezzo[k], ui.txtPercSconto[k]})
                e->setAlignment(Qt::AlignRight);
            ui.txtQuant[k]->setMaximumWidth(70);
            ui.txtCodice[k]->setMaximumWidth(170);
            ui.txtPrezzo[k]->setMaximumWidth(110);
            ui.txtPercSconto[k]->setMaximumWidth(64);
            g->addWidget(number, i + 1, 0);
            g->addWidget(ui.txtQuant[k], i + 1, 1);
            g->addWidget(ui.txtCodice[k], i + 1, 2);
            g->addWidget(ui.impMag[k], i + 1, 3);
            g->addWidget(ui.txtDesc[k], i + 1, 4);
            g->addWidget(ui.txtPrezzo[k], i + 1, 5);
            g->addWidget(ui.txtPercSconto[k], i + 1, 6);
            g->addWidget(ui.txtImporto[k], i + 1, 7);
            g->addWidget(ui.chkEs[k], i + 1, 8, Qt::AlignCenter);
        }
        g->setColumnStretch(4, 1);
        g->setRowStretch(6, 1); // spare height goes below the rows, never between them
        auto* arrows = new QVBoxLayout;
        arrows->addStretch(1);
        if (page > 0) {
            auto* b = new PictureButton(QStringLiteral("imgIndietro_") + letters[page],
                                        QStringLiteral(":/icons/indietro.svg"),
                                        QStringLiteral("Articoli precedenti"), QSize(26, 26), box);
            ui.imgIndietro[size_t(page)] = b;
            arrows->addWidget(b);
        }
        if (page < 5) {
            auto* b = new PictureButton(QStringLiteral("imgAvanti_") + letters[page],
                                        QStringLiteral(":/icons/avanti.svg"),
                                        QStringLiteral("Articoli successivi"), QSize(26, 26), box);
            ui.imgAvanti[size_t(page)] = b;
            arrows->addWidget(b);
        }
        arrows->addStretch(1);
        g->addLayout(arrows, 1, 9, 5, 1);
        pages->addWidget(box);
    }
    return pages;
}

void letTabTurnPages(InvoiceControls& ui)
{
    for (PictureButton* arrow : ui.imgAvanti)
        if (arrow)
            arrow->setFocusPolicy(Qt::NoFocus);
    for (PictureButton* arrow : ui.imgIndietro)
        if (arrow)
            arrow->setFocusPolicy(Qt::NoFocus);
    tabAcrossPages(ui.pages);
}

void setUpRowKeys(InvoiceControls& ui, const std::function<void(int page)>& showPage,
                  QList<QWidget*>& highlighted)
{
    for (int row = 1; row <= 30; ++row) {
        const size_t k = size_t(row - 1);
        highlighted << ui.txtQuant[k] << ui.txtCodice[k] << ui.txtDesc[k] << ui.txtPrezzo[k]
                    << ui.txtPercSconto[k];
        setEnterOrder({ui.txtQuant[k], ui.txtCodice[k], ui.txtDesc[k], ui.txtPrezzo[k], ui.txtPercSconto[k],
                       ui.chkEs[k]});
        // From the exempt box, Enter goes on to the next row, turning the page when it must.
        FieldRules::of(ui.chkEs[k])->onEnter([&ui, showPage, row] {
            if (row == 30) {
                ui.txtPercIva->setFocus();
                return;
            }
            if (row % 5 == 0)
                showPage(row / 5 + 1);
            ui.txtQuant[size_t(row)]->setFocus();
        });
        auto emptyRow = [&ui, k](int) {
            ui.txtImporto[k]->clear();
            for (QLabel* t : ui.totals())
                t->clear();
        };
        for (QLineEdit* e : {ui.txtQuant[k], ui.txtPrezzo[k], ui.txtPercSconto[k]})
            FieldRules::of(e)->filter(KeyFilter::Decimal).onKeyDown(emptyRow);
        FieldRules::of(ui.txtQuant[k])->onLeave([e = ui.txtQuant[k]] {
            e->setText(tidyQuantity(e->text()));
        });
        FieldRules::of(ui.txtPrezzo[k])->onLeave([e = ui.txtPrezzo[k]] { e->setText(tidyPrice(e->text())); });
        FieldRules::of(ui.txtPercSconto[k])->onLeave([e = ui.txtPercSconto[k]] {
            e->setText(tidyDiscount(e->text()));
        });
    }
}

ScreenCommands rowCommands(InvoiceControls& ui, const std::function<void(int page)>& showPage,
                           const std::function<void(int row)>& importRow)
{
    ScreenCommands commands;
    for (int row = 1; row <= 30; ++row) {
        commands.push_back(ownCommand(ui.impMag[size_t(row - 1)],
                                      QStringLiteral("Importa i dati dell'articolo dal magazzino."),
                                      [importRow, row] { importRow(row); }));
        commands.push_back(ownCommand(ui.chkEs[size_t(row - 1)],
                                      QStringLiteral("Contrassegna come articolo esente da IVA."), {}));
    }
    for (size_t p = 0; p < 6; ++p) {
        if (ui.imgAvanti[p])
            commands.push_back(ownCommand(ui.imgAvanti[p],
                                          QStringLiteral("Visualizza i prossimi cinque articoli."),
                                          [showPage, p] { showPage(int(p) + 2); }));
        if (ui.imgIndietro[p])
            commands.push_back(ownCommand(ui.imgIndietro[p],
                                          QStringLiteral("Visualizza i cinque articoli precedenti."),
                                          [showPage, p] { showPage(int(p)); }));
    }
    return commands;
}

void clearRows(InvoiceControls& ui)
{
    for (size_t k = 0; k < 30; ++k) {
        for (QLineEdit* e :
             {ui.txtQuant[k], ui.txtCodice[k], ui.txtDesc[k], ui.txtPrezzo[k], ui.txtPercSconto[k]})
            e->clear();
        ui.txtImporto[k]->clear();
        ui.chkEs[k]->setChecked(false);
    }
}

void showFigures(InvoiceControls& ui, const InvoiceDocument& f)
{
    for (int row = 1; row <= 30; ++row) {
        const size_t k = size_t(row - 1);
        setControlText(ui.txtQuant[k], f.row(row).quantity);
        setControlText(ui.txtPrezzo[k], f.row(row).price);
        setControlText(ui.txtPercSconto[k], f.row(row).discount);
        setControlText(ui.txtImporto[k], f.row(row).amount);
    }
    setControlText(ui.txtPercIva, f.vatRate);
    setControlText(ui.txtTotImponibile, f.taxableTotal);
    setControlText(ui.txtTotImposta, f.vatAmount);
    setControlText(ui.txtTotIva, f.totalWithVat);
    setControlText(ui.txtTotEsente, f.exemptTotal);
    setControlText(ui.txtTotFattura, f.invoiceTotal);
}

} // namespace tarvello::InvoiceScreen

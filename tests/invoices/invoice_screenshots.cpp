// Grabs the invoice screen with twelve rows filled in, and its dialogs, into PNG files in the
// folder given on the command line, for a person to look at.
#include "chart/chart.h"
#include "invoices/fatture.h"
#include "invoices/invoicedialogs.h"
#include "invoices/invoicesummary.h"
#include "screenshots.h"
#include "testprogram.h"

#include "namedcontrols.h"
#include "shell/conventions.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace tarvello;

namespace
{

// The statistics chart alone, both kinds, for a normal year, a year of tiny neighbouring slices
// and an empty year.
void chartPictures(const Screenshots& shots)
{
    const std::vector<std::pair<QString, std::array<double, 12>>> years = {
        {QStringLiteral("normale"), {1200, 980, 1430, 1100, 1650, 1720, 1380, 640, 1510, 1290, 1180, 1900}},
        {QStringLiteral("piccole"), {5200, 4100, 33, 1, 2, 0, 1, 4800, 12, 1, 3, 6100}},
        {QStringLiteral("vuoto"), {}},
    };
    for (const auto& [name, values] : years) {
        Chart chart;
        QFont title(QStringLiteral("Verdana"), 14, QFont::Bold);
        chart.setTitle(InvoiceStatistics::heading(u"2025"), title, QColor::fromRgba(0xFFD04498));
        chart.setFoot(InvoiceStatistics::foot(), QFont(QStringLiteral("Verdana"), 9),
                      QColor::fromRgba(0xFF7294F9));
        chart.setLegendTitle(InvoiceStatistics::legendTitle());
        chart.setEmptyText(QStringLiteral("Nessun incasso nell'anno"));
        std::vector<ChartPoint> points;
        for (int m = 0; m < 12; ++m) {
            const auto& p = InvoiceStatistics::monthPoints()[size_t(m)];
            points.push_back({p.label.toString(), QColor::fromRgba(p.colour), values[size_t(m)]});
        }
        chart.setPoints(points);
        for (const Chart::Kind kind : {Chart::Kind::Bars, Chart::Kind::Pie}) {
            chart.setKind(kind);
            chart.render(QSize(1100, 620))
                .save(shots.path(QStringLiteral("grafico_%1_%2.png")
                                     .arg(kind == Chart::Kind::Bars ? u"barre" : u"torta", name)));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    const Screenshots shots(argc, argv);
    chartPictures(shots);
    TestProgram t;
    auto* screen = static_cast<TfrmFatture*>(t.window(QStringLiteral("frmFatture")));
    named<QLabel>(screen, u"lblFile")->setText(t.path(QStringLiteral("2026.fat")));
    screen->resize(1366, 768);
    screen->show();
    named<QLineEdit>(screen, u"txtDitta")->setText(QStringLiteral("Officina Meccanica Rossi S.r.l."));
    named<QLineEdit>(screen, u"txtViaDitta")->setText(QStringLiteral("Via Emilia 142"));
    named<QLineEdit>(screen, u"txtCapDitta")->setText(QStringLiteral("47121"));
    named<QLineEdit>(screen, u"txtCittaDitta")->setText(QStringLiteral("Forlì"));
    named<QComboBox>(screen, u"txtProvDitta")->setEditText(QStringLiteral("FC"));
    named<QLineEdit>(screen, u"txtIvaDitta")->setText(QStringLiteral("01234567890"));
    named<QLineEdit>(screen, u"txtCodFiscDitta")->setText(QStringLiteral("01234567890"));
    named<QLineEdit>(screen, u"txtLibero01")->setText(QStringLiteral("Tel. 0543 123456"));
    named<QLineEdit>(screen, u"txtCliente")->setText(QStringLiteral("Bianchi Laura"));
    named<QLineEdit>(screen, u"txtViaCliente")->setText(QStringLiteral("Corso Garibaldi 8"));
    named<QLineEdit>(screen, u"txtCapCliente")->setText(QStringLiteral("40121"));
    named<QLineEdit>(screen, u"txtCittaCliente")->setText(QStringLiteral("Bologna"));
    named<QComboBox>(screen, u"txtProvCliente")->setEditText(QStringLiteral("BO"));
    named<QLineEdit>(screen, u"txtCodFiscCliente")->setText(QStringLiteral("BNCLRA80A41A944K"));
    named<QLineEdit>(screen, u"txtNumFatt")->setText(QStringLiteral("12/2026"));
    named<QLineEdit>(screen, u"txtData")->setText(QStringLiteral("09/12/2026"));
    named<QLineEdit>(screen, u"txtPagamento")->setText(QStringLiteral("Bonifico bancario a 30 giorni"));
    named<QLineEdit>(screen, u"txtBanca")->setText(QStringLiteral("Banca di Romagna"));
    named<QLineEdit>(screen, u"txtIban")->setText(QStringLiteral("IT60X0542811101000000123456"));
    const QStringList descriptions = {QStringLiteral("Pneumatico 205/55 R16"),
                                      QStringLiteral("Montaggio ed equilibratura"),
                                      QStringLiteral("Olio motore 5W30 (litri)"),
                                      QStringLiteral("Filtro olio"),
                                      QStringLiteral("Filtro aria"),
                                      QStringLiteral("Pastiglie freno anteriori"),
                                      QStringLiteral("Manodopera (ore)"),
                                      QStringLiteral("Liquido lavavetri"),
                                      QStringLiteral("Spazzole tergicristallo"),
                                      QStringLiteral("Lampada H7"),
                                      QStringLiteral("Smaltimento pneumatici usati"),
                                      QStringLiteral("Controllo climatizzatore")};
    for (int i = 0; i < 12; ++i) {
        const size_t k = size_t(i);
        named<QLineEdit>(screen, u"txtQuant", k)->setText(QString::number(i % 4 + 1));
        named<QLineEdit>(screen, u"txtCodice", k)->setText(QStringLiteral("ART-%1").arg(100 + i * 7));
        named<QLineEdit>(screen, u"txtDesc", k)->setText(descriptions[i]);
        named<QLineEdit>(screen, u"txtPrezzo", k)->setText(QStringLiteral("%1,50").arg(10 + i * 6));
        if (i == 6)
            named<QLineEdit>(screen, u"txtPercSconto", k)->setText(QStringLiteral("10"));
        named<QCheckBox>(screen, u"chkEs", k)->setChecked(i == 10);
    }
    named<QLineEdit>(screen, u"txtPercIva")->setText(QStringLiteral("22"));
    named<QLineEdit>(screen, u"txtNote")
        ->setText(QStringLiteral("Merce consegnata presso la sede del cliente."));
    screen->cmdCalcolaClick();
    shots.save(screen, QStringLiteral("fatture_p1"));
    for (const QSize size : {QSize(1024, 740), QSize(1920, 1050), QSize(800, 600)}) {
        screen->resize(size);
        shots.save(screen, QStringLiteral("fatture_%1x%2").arg(size.width()).arg(size.height()));
    }
    screen->resize(1366, 768);
    screen->showPage(3);
    shots.save(screen, QStringLiteral("fatture_p3"));
    for (const QString& name :
         {QStringLiteral("frmNumerazioneFat"), QStringLiteral("frmDatiFattura"), QStringLiteral("frmLogo")}) {
        auto dialog = t.program->createDialog(name, screen);
        dialog->show();
        shots.save(dialog.get(), name.mid(3).toLower());
    }
    // The printed invoice, as Fattura.pdf in the output folder.
    t.services.modal.insert(QStringLiteral("frmCrea_PDF_Fat"), [](QDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnConferma")), Qt::LeftButton);
        return 0;
    });
    t.services.answers.push_back(Answer::No);
    named<PictureButton>(screen, u"cmdPDF")->click();
    shots.keep(t.path(QStringLiteral("Fattura.pdf")));
    // The electronic invoice's window: refusing an invoice whose VAT number is wrong, then ready.
    named<QLineEdit>(screen, u"txtCodFiscCliente")->setText(QStringLiteral("BNCLRA80A41A944R"));
    for (const QString& vat : {QStringLiteral("01234567890"), QStringLiteral("01234567897")}) {
        named<QLineEdit>(screen, u"txtIvaDitta")->setText(vat);
        named<QLineEdit>(screen, u"txtCodFiscDitta")->setText(vat);
        t.services.modal.insert(QStringLiteral("frmFatturaElettronica"), [&](QDialog& d) {
            shots.save(&d, QStringLiteral("fatturaelettronica_%1").arg(vat.right(1)));
            return 0;
        });
        named<PictureButton>(screen, u"cmdFatturaElettronica")->click();
    }
    return 0;
}

// Grabs the invoice lists (search with its results, unpaid invoices, the three summaries, the
// export) and the statistics screen in both chart types into PNG files in the folder given as
// first argument, and writes a real Fatture.xls there, for a person to look at and for a
// spreadsheet program to open. Not a test.

#include "archive/archivefile.h"
#include "archive/invoicerecord.h"
#include "archive/record.h"
#include "invoices/fatture.h"
#include "invoices/riepiloghi.h"
#include "invoices/statistiche.h"
#include "invoices/trovafatture.h"
#include "namedcontrols.h"
#include "screenshots.h"
#include "shell/conventions.h"
#include "shell/services.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

using namespace tarvello;
namespace IR = InvoiceRecord;

namespace
{

struct Sample {
    const char16_t* date;
    const char16_t* customer;
    const char16_t* town;
    const char16_t* taxable;
    const char16_t* tax;
    const char16_t* exempt;
    const char16_t* total;
    bool paid;
};

const Sample kSamples[] = {
    {u"10/01/2026", u"Bianchi Laura", u"Bologna", u"1169,55", u"257,30", u"211,50", u"1638,35", true},
    {u"24/01/2026", u"Officina Verdi S.n.c.", u"Forlì", u"320,00", u"70,40", u"0,00", u"390,40", false},
    {u"03/02/2026", u"Rossi Mario", u"Cesena", u"85,00", u"18,70", u"0,00", u"103,70", true},
    {u"17/03/2026", u"Autotrasporti Neri S.r.l.", u"Ravenna", u"2450,00", u"539,00", u"120,00", u"3109,00",
     false},
    {u"02/04/2026", u"Gialli Paolo", u"Rimini", u"60,00", u"13,20", u"0,00", u"73,20", true},
    {u"15/05/2026", u"Bianchi Laura", u"Bologna", u"410,00", u"90,20", u"0,00", u"500,20", true},
    {u"30/06/2026", u"Moretti Anna", u"Imola", u"1200,00", u"264,00", u"35,00", u"1499,00", false},
    {u"11/07/2026", u"Rossi Mario", u"Cesena", u"95,50", u"21,01", u"0,00", u"116,51", true},
    {u"05/09/2026", u"Officina Verdi S.n.c.", u"Forlì", u"780,00", u"171,60", u"0,00", u"951,60", true},
    {u"21/10/2026", u"Colombo Giulia", u"Faenza", u"150,00", u"33,00", u"0,00", u"183,00", false},
    {u"08/11/2026", u"Autotrasporti Neri S.r.l.", u"Ravenna", u"3100,00", u"682,00", u"0,00", u"3782,00",
     true},
    {u"01/12/2026", u"Gialli Paolo", u"Rimini", u"45,00", u"9,90", u"0,00", u"54,90", false},
};

void writeYear(const QString& path)
{
    ArchiveFile file(path, IR::Size);
    if (!file.open())
        return;
    Record rec(IR::layout());
    int number = 1;
    for (const Sample& s : kSamples) {
        rec.clear();
        rec.setText(IR::NumFatt, QStringLiteral("%1/2026").arg(number++));
        rec.setText(IR::Data, QString::fromUtf16(s.date));
        rec.setText(IR::Cliente, QString::fromUtf16(s.customer));
        rec.setText(IR::CittaCliente, QString::fromUtf16(s.town));
        rec.setText(IR::Pagamento, QStringLiteral("Bonifico bancario a 30 giorni"));
        rec.setText(IR::TotImponibile, QString::fromUtf16(s.taxable));
        rec.setText(IR::PercIva, QStringLiteral("22"));
        rec.setText(IR::TotImposta, QString::fromUtf16(s.tax));
        rec.setText(IR::TotEsente, QString::fromUtf16(s.exempt));
        rec.setText(IR::TotFattura, QString::fromUtf16(s.total));
        rec.setFlag(IR::Saldata, s.paid);
        for (int row = 1; row <= IR::Rows; ++row)
            rec.setFlag(IR::rowField(IR::Es, row), false);
        file.seek(file.count());
        file.write(rec.bytes());
    }
    file.close();
}

} // namespace

int main(int argc, char** argv)
{
    const Screenshots shots(argc, argv);
    TestProgram t;
    t.services.clock = QDateTime(QDate(2026, 12, 9), QTime(10, 30));
    writeYear(t.path(QStringLiteral("2026.fat")));

    auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
    menu->show();
    named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2026"));
    named<QPushButton>(menu, u"btnApriFatture")->click();
    auto* screen = static_cast<TfrmFatture*>(t.window(QStringLiteral("frmFatture")));
    screen->resize(1366, 768);

    t.services.modal.insert(QStringLiteral("frmTrovaFatture"), [&](QDialog& d) {
        auto& w = static_cast<TfrmTrovaFatture&>(d);
        shots.save(&w, QStringLiteral("trova_fatture_criteri"));
        named<QLineEdit>(&w, u"txtCittaCliente")->setText(QStringLiteral("r"));
        named<QPushButton>(&w, u"btnCerca")->click();
        shots.save(&w, QStringLiteral("trova_fatture_risultati"));
        return 0;
    });
    named<PictureButton>(screen, u"cmdTrova")->click();
    t.services.modal.insert(QStringLiteral("frmSospese"), [&](QDialog& d) {
        shots.save(&d, QStringLiteral("non_saldate"));
        return 0;
    });
    named<PictureButton>(screen, u"cmdSospese")->click();
    const auto summary = [&](const QString& name, int choice) {
        t.services.modal.insert(name, [&, name, choice](QDialog& d) {
            // Only the monthly and quarterly summaries ask for their period first.
            if (auto* period = d.findChild<QComboBox*>(QStringLiteral("cboSelezione"))) {
                shots.save(&d, name.mid(3).toLower() + QStringLiteral("_scelta"));
                period->setCurrentIndex(choice);
                named<QPushButton>(&d, u"btnVisualizza")->click();
            }
            shots.save(&d, name.mid(3).toLower());
            return 0;
        });
    };
    summary(QStringLiteral("frmRiepMensile"), 0);
    summary(QStringLiteral("frmRiepTrimestrale"), 0);
    summary(QStringLiteral("frmRiepAnnuale"), 0);
    named<PictureButton>(screen, u"cmdRiepMensile")->click();
    named<PictureButton>(screen, u"cmdRiepTrimestrale")->click();
    named<PictureButton>(screen, u"cmdRiepAnnuale")->click();

    t.services.modal.insert(QStringLiteral("frmExpFatture"), [&](QDialog& d) {
        shots.save(&d, QStringLiteral("esporta_fatture"));
        t.services.answers.push_back(Answer::Yes); // export now
        t.services.answers.push_back(Answer::No);  // do not open it
        if (auto* exportButton = d.findChild<QAbstractButton*>(QStringLiteral("cmdEsporta")))
            exportButton->click();
        return 0;
    });
    named<PictureButton>(screen, u"cmdEsporta")->click();
    shots.keep(t.path(QStringLiteral("Fatture.xls")));

    auto* stats = static_cast<TfrmStatistiche*>(t.window(QStringLiteral("frmStatistiche")));
    stats->show();
    stats->resize(1366, 768);
    named<QLineEdit>(stats, u"txtAnno")->setText(QStringLiteral("2026"));
    named<QPushButton>(stats, u"btnApri")->click();
    named<QPushButton>(stats, u"btnBarre")->click();
    shots.save(stats, QStringLiteral("statistiche_barre"));
    named<QPushButton>(stats, u"btnTorta")->click();
    shots.save(stats, QStringLiteral("statistiche_torta"));
    return 0;
}

// Grabs the customer card (empty and filled, at two screen sizes), its attachments window, the
// customer search (criteria and results), the list of customers to recontact, the customer export
// and the printed card as a PDF into the folder given on the command line, so a person can look at
// them.
#include "attachments/allegacartella.h"
#include "customers/clienti.h"
#include "customers/expclienti.h"
#include "customers/ricontatta.h"
#include "customers/trovaclienti.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "screenshots.h"
#include "shell/conventions.h"
#include "shell/longwork.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace tarvello;

int main(int argc, char** argv)
{
    const Screenshots shots(argc, argv);
    TestProgram t;
    auto* card = qobject_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
    card->resize(1366, 768);
    card->show();
    shots.save(card, QStringLiteral("clienti_vuota_1366"));

    const std::pair<QLineEdit*, const char*> texts[] = {
        {named<QLineEdit>(card, u"txtCognome"), "Rossi"},
        {named<QLineEdit>(card, u"txtNome"), "Mario"},
        {named<QLineEdit>(card, u"txtDitta"), "Rossi & Figli S.r.l."},
        {named<QLineEdit>(card, u"txtSesso"), "M"},
        {named<QLineEdit>(card, u"txtRecapito"), "347 1234567"},
        {named<QLineEdit>(card, u"txtIndirizzoRes"), "Via Emilia 120"},
        {named<QLineEdit>(card, u"txtComuneRes"), "Cesena"},
        {named<QLineEdit>(card, u"txtCapRes"), "47521"},
        {named<QLineEdit>(card, u"txtDataNasc"), "01/01/1980"},
        {named<QLineEdit>(card, u"txtComuneNasc"), "Roma"},
        {named<QLineEdit>(card, u"txtTelCasa"), "0547 123456"},
        {named<QLineEdit>(card, u"txtTelUff"), "0547 654321"},
        {named<QLineEdit>(card, u"txtTelCel"), "347 1234567"},
        {named<QLineEdit>(card, u"txtPec"), "rossiefigli@pec.esempio.it"},
        {named<QLineEdit>(card, u"txtEmail"), "mario.rossi@esempio.it"},
        {named<QLineEdit>(card, u"txtCodFisc"), "RSSMRA80A01H501U"},
        {named<QLineEdit>(card, u"txtCarta"), "4111111111111111"},
        {named<QLineEdit>(card, u"txtScadeCarta"), "12/2028"},
        {named<QLineEdit>(card, u"txtPartitaIva"), "01234567897"},
        {named<QLineEdit>(card, u"txtIban"), "IT60X0542811101000000123456"},
        {named<QLineEdit>(card, u"txtTipoPat"), "Carta d'identità"},
        {named<QLineEdit>(card, u"txtNumPat"), "CA12345AB"},
        {named<QLineEdit>(card, u"txtEnteRil"), "Comune di Cesena"},
        {named<QLineEdit>(card, u"txtDataRil"), "10/05/2021"},
        {named<QLineEdit>(card, u"txtDataSca"), "10/05/2031"},
        {named<QLineEdit>(card, u"txtConducente"), "Pneumatici invernali, tagliandi"},
        {named<QLineEdit>(card, u"txtQuestioni"), "Attende il preventivo per il cambio gomme"},
        {named<QLineEdit>(card, u"txtNote"), "Preferisce essere chiamato al mattino"},
        {named<QLineEdit>(card, u"txtCodiceDest"), "M5UXCR1"},
    };
    for (const auto& [edit, text] : texts)
        edit->setText(QString::fromUtf8(text));
    named<QComboBox>(card, u"txtProvRes")->setEditText(QStringLiteral("FC"));
    named<QComboBox>(card, u"txtProvNasc")->setEditText(QStringLiteral("RM"));
    named<QCheckBox>(card, u"chkRicontatta")->setChecked(true);
    named<QLabel>(card, u"lblPosizione")->setText(QStringLiteral("12"));
    named<QLineEdit>(card, u"txtIban")->setFocus();
    QApplication::setActiveWindow(card);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(named<PictureButton>(card, u"cmdSalva"), &enter);
    shots.save(card, QStringLiteral("clienti_1366"));
    for (const QSize size : {QSize(1920, 1050), QSize(1024, 740), QSize(800, 800)}) {
        card->resize(size);
        shots.save(card, QStringLiteral("clienti_%1x%2").arg(size.width()).arg(size.height()));
    }

    named<QLabel>(card, u"lblFile01")->setText(QStringLiteral("carta identità.jpg"));
    named<QLabel>(card, u"lblDesc01")->setText(QStringLiteral("Carta d'identità fronte e retro"));
    t.services.modal.insert(QStringLiteral("frmAllegaCartella"), [&](QDialog& d) {
        shots.save(&d, QStringLiteral("allega_file"));
        return 0;
    });
    named<QAbstractButton>(card, u"cmdFile")->click();

    // A small archive for the lists and the export.
    {
        named<QLabel>(card, u"lblPosizione")->clear();
        card->cmdSalvaClick();
        const char* people[][6] = {
            {"Bianchi", "Anna", "0543 778899", "BNCNNA75C45D704Z", "Forlì",
             "Rimborso della caparra da definire"},
            {"Verdi", "Giuseppe", "333 1112223", "VRDGPP60M01H501A", "Roma",
             "Attende la consegna dei cerchi"},
            {"Esposito", "Carla", "081 5556677", "SPSCRL88E41F839K", "Napoli", ""},
            {"De Santis", "Luca", "06 1234567", "DSNLCU70A01H501B", "Roma", "Verificare la fattura n. 12"}};
        for (const auto& p : people) {
            card->cmdNuovoClick();
            named<QLineEdit>(card, u"txtCognome")->setText(QString::fromUtf8(p[0]));
            named<QLineEdit>(card, u"txtNome")->setText(QString::fromUtf8(p[1]));
            named<QLineEdit>(card, u"txtRecapito")->setText(QString::fromUtf8(p[2]));
            named<QLineEdit>(card, u"txtCodFisc")->setText(QString::fromUtf8(p[3]));
            named<QLineEdit>(card, u"txtComuneRes")->setText(QString::fromUtf8(p[4]));
            named<QLineEdit>(card, u"txtQuestioni")->setText(QString::fromUtf8(p[5]));
            named<QLineEdit>(card, u"txtNote")->setText(QStringLiteral("Cliente dal 2019"));
            named<QCheckBox>(card, u"chkRicontatta")->setChecked(p[5][0] != 0);
            card->cmdSalvaClick();
        }
    }
    t.services.modal.insert(QStringLiteral("frmTrovaClienti"), [&](QDialog& d) {
        auto& w = static_cast<TfrmTrovaClienti&>(d);
        named<QLineEdit>(&w, u"txtComuneRes")->setText(QStringLiteral("ro"));
        shots.save(&d, QStringLiteral("trova_clienti_criteri"));
        // A long search as the user sees it, part-way: "Attendere...", the bar and Interrompi.
        if (auto* progress = d.findChild<ProgressPanel*>(QStringLiteral("panProgresso"))) {
            named<QLabel>(&w, u"lblAttendere")->show();
            progress->show(QString(), 0.42);
            shots.save(&d, QStringLiteral("trova_clienti_in_corso"));
            progress->hide();
            named<QLabel>(&w, u"lblAttendere")->hide();
        }
        named<QLineEdit>(&w, u"txtComuneRes")->clear();
        named<QPushButton>(&w, u"btnCerca")->click();
        named<QLineEdit>(&w, u"txtTrova")->setText(QStringLiteral("roma"));
        named<QPushButton>(&w, u"btnTrova")->click();
        shots.save(&d, QStringLiteral("trova_clienti_risultati"));
        return 0;
    });
    named<QAbstractButton>(card, u"cmdTrova")->click();
    t.services.modal.insert(QStringLiteral("frmRicontatta"), [&](QDialog& d) {
        named<ResultList>(&d, u"lstRecords")->selectFirst();
        shots.save(&d, QStringLiteral("ricontatta"));
        return 0;
    });
    named<QAbstractButton>(card, u"cmdRicontatta")->click();
    t.services.modal.insert(QStringLiteral("frmExpClienti"), [&](QDialog& d) {
        shots.save(&d, QStringLiteral("esporta_clienti"));
        // The real document too, for opening in a spreadsheet program.
        t.services.answers.push_back(Answer::Yes); // export now
        t.services.answers.push_back(Answer::No);  // do not open it
        if (auto* exportButton = d.findChild<QAbstractButton*>(QStringLiteral("cmdEsporta")))
            exportButton->click();
        return 0;
    });
    named<QAbstractButton>(card, u"cmdEsporta")->click();
    shots.keep(t.path(QStringLiteral("Clienti.xls")));
    t.services.messages.clear();

    t.services.answers.push_back(Answer::No);
    card->cmdPDFClick();
    shots.keep(t.path(QStringLiteral("Cliente.pdf")));
    return 0;
}

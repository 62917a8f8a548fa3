// Grabs the customer card (empty and filled, at two screen sizes), its attachments window, the
// customer search (criteria and results), the list of customers to recontact, the customer export
// and the printed card as a PDF into the folder given on the command line, so a person can look at
// them.
#include "attachments/allegacartella.h"
#include "customers/clienti.h"
#include "customers/expclienti.h"
#include "customers/ricontatta.h"
#include "customers/trovaclienti.h"
#include "output/resultlist.h"
#include "shell/conventions.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

using namespace tarvello;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Program::prepareApplication();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    TestProgram t;
    auto save = [&](QWidget* w, const QString& name) {
        QApplication::processEvents();
        w->grab().save(QDir(out).filePath(name + QStringLiteral(".png")));
    };
    auto* card = qobject_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
    card->resize(1366, 768);
    card->show();
    save(card, QStringLiteral("clienti_vuota_1366"));

    const std::pair<QLineEdit*, const char*> texts[] = {
        {card->txtCognome, "Rossi"},
        {card->txtNome, "Mario"},
        {card->txtDitta, "Rossi & Figli S.r.l."},
        {card->txtSesso, "M"},
        {card->txtRecapito, "347 1234567"},
        {card->txtIndirizzoRes, "Via Emilia 120"},
        {card->txtComuneRes, "Cesena"},
        {card->txtCapRes, "47521"},
        {card->txtDataNasc, "01/01/1980"},
        {card->txtComuneNasc, "Roma"},
        {card->txtTelCasa, "0547 123456"},
        {card->txtTelUff, "0547 654321"},
        {card->txtTelCel, "347 1234567"},
        {card->txtPec, "rossiefigli@pec.esempio.it"},
        {card->txtEmail, "mario.rossi@esempio.it"},
        {card->txtCodFisc, "RSSMRA80A01H501U"},
        {card->txtCarta, "4111111111111111"},
        {card->txtScadeCarta, "12/2028"},
        {card->txtPartitaIva, "01234567897"},
        {card->txtIban, "IT60X0542811101000000123456"},
        {card->txtTipoPat, "Carta d'identità"},
        {card->txtNumPat, "CA12345AB"},
        {card->txtEnteRil, "Comune di Cesena"},
        {card->txtDataRil, "10/05/2021"},
        {card->txtDataSca, "10/05/2031"},
        {card->txtConducente, "Pneumatici invernali, tagliandi"},
        {card->txtQuestioni, "Attende il preventivo per il cambio gomme"},
        {card->txtNote, "Preferisce essere chiamato al mattino"},
        {card->txtCodiceDest, "M5UXCR1"},
    };
    for (const auto& [edit, text] : texts)
        edit->setText(QString::fromUtf8(text));
    card->txtProvRes->setEditText(QStringLiteral("FC"));
    card->txtProvNasc->setEditText(QStringLiteral("RM"));
    card->chkRicontatta->setChecked(true);
    card->lblPosizione->setText(QStringLiteral("12"));
    card->txtIban->setFocus();
    QApplication::setActiveWindow(card);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(card->cmdSalva, &enter);
    save(card, QStringLiteral("clienti_1366"));
    for (const QSize size : {QSize(1920, 1050), QSize(1024, 740), QSize(800, 800)}) {
        card->resize(size);
        save(card, QStringLiteral("clienti_%1x%2").arg(size.width()).arg(size.height()));
    }

    card->lblFile01->setText(QStringLiteral("carta identità.jpg"));
    card->lblDesc01->setText(QStringLiteral("Carta d'identità fronte e retro"));
    t.services.modal.insert(QStringLiteral("frmAllegaCartella"), [&](QDialog& d) {
        save(&d, QStringLiteral("allega_file"));
        return 0;
    });
    card->cmdFileClick();

    // A small archive for the lists and the export.
    {
        card->lblPosizione->clear();
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
            card->txtCognome->setText(QString::fromUtf8(p[0]));
            card->txtNome->setText(QString::fromUtf8(p[1]));
            card->txtRecapito->setText(QString::fromUtf8(p[2]));
            card->txtCodFisc->setText(QString::fromUtf8(p[3]));
            card->txtComuneRes->setText(QString::fromUtf8(p[4]));
            card->txtQuestioni->setText(QString::fromUtf8(p[5]));
            card->txtNote->setText(QStringLiteral("Cliente dal 2019"));
            card->chkRicontatta->setChecked(p[5][0] != 0);
            card->cmdSalvaClick();
        }
    }
    t.services.modal.insert(QStringLiteral("frmTrovaClienti"), [&](QDialog& d) {
        auto& w = static_cast<TfrmTrovaClienti&>(d);
        w.txtComuneRes->setText(QStringLiteral("ro"));
        save(&d, QStringLiteral("trova_clienti_criteri"));
        w.txtComuneRes->clear();
        w.btnCercaClick();
        w.txtTrova->setText(QStringLiteral("roma"));
        w.btnTrovaClick();
        save(&d, QStringLiteral("trova_clienti_risultati"));
        return 0;
    });
    card->cmdTrovaClick();
    t.services.modal.insert(QStringLiteral("frmRicontatta"), [&](QDialog& d) {
        static_cast<TfrmRicontatta&>(d).lstRecords->selectFirst();
        save(&d, QStringLiteral("ricontatta"));
        return 0;
    });
    card->cmdRicontattaClick();
    t.services.modal.insert(QStringLiteral("frmExpClienti"), [&](QDialog& d) {
        save(&d, QStringLiteral("esporta_clienti"));
        // The real document too, for opening in a spreadsheet program.
        t.services.answers.push_back(Answer::Yes); // export now
        t.services.answers.push_back(Answer::No);  // do not open it
        if (auto* exportButton = d.findChild<QAbstractButton*>(QStringLiteral("cmdEsporta")))
            exportButton->click();
        return 0;
    });
    card->cmdEsportaClick();
    QFile::remove(QDir(out).filePath(QStringLiteral("Clienti.xls")));
    QFile::copy(t.path(QStringLiteral("Clienti.xls")), QDir(out).filePath(QStringLiteral("Clienti.xls")));
    t.services.messages.clear();

    t.services.answers.push_back(Answer::No);
    card->cmdPDFClick();
    QFile::remove(QDir(out).filePath(QStringLiteral("Cliente.pdf")));
    QFile::copy(t.path(QStringLiteral("Cliente.pdf")), QDir(out).filePath(QStringLiteral("Cliente.pdf")));
    return 0;
}

#include "cardtesting.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "readonlyfolder.h"
#include "saidtexts.h"
#include "shell/conventions.h"
#include "shell/guida.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

using namespace tarvello;
using namespace cardtesting;
namespace CR = tarvello::CustomerRecord;

class CardTest : public QObject
{
    Q_OBJECT

    static void activate(QWidget* w)
    {
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

private Q_SLOTS:
    void launcherOpensTheCardAndClosingReturns()
    {
        TestProgram t;
        t.program->start();
        QTest::keyClicks(t.child<QLineEdit>(QStringLiteral("frmPassword"), QStringLiteral("txtPassword")),
                         QStringLiteral("chiaveiniziale"));
        QTest::keyClick(t.child<QLineEdit>(QStringLiteral("frmPassword"), QStringLiteral("txtPassword")),
                        Qt::Key_Return);
        QWidget* launcher = t.window(QStringLiteral("frmAvvio"));
        QVERIFY(launcher->isVisible());
        auto* open = t.child<QToolButton>(QStringLiteral("frmAvvio"), QStringLiteral("btnClienti"));
        QVERIFY(open->isEnabled());
        click(open);
        auto* card = qobject_cast<TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
        QVERIFY(card);
        QVERIFY(card->isVisible());
        QVERIFY(card->isMaximized());
        QVERIFY(!launcher->isVisible());
        QCOMPARE(card->windowTitle(), QStringLiteral(" Tarvello - Anagrafica Clienti"));
        QCOMPARE(named<StatusLine>(card, u"panInfo")->text(),
                 QStringLiteral("Pronto per archiviare una nuova scheda..."));
        QCOMPARE(named<StatusLine>(card, u"panInfo")->palette().color(QPalette::Window),
                 QColor(0x30, 0x30, 0xDD));

        click(named<PictureButton>(card, u"cmdEsci"));
        QVERIFY(!card->isVisible());
        QVERIFY(launcher->isVisible());
    }

    void windowOrderPutsTheCardAfterTheChecks()
    {
        TestProgram t;
        QStringList names;
        for (QWidget* w : t.program->windows())
            names.append(w->objectName());
        const qsizetype card = names.indexOf(QStringLiteral("frmClienti"));
        QVERIFY(card > names.indexOf(QStringLiteral("frmSplash")));
        QCOMPARE(names.value(card + 1), QStringLiteral("frmAllegaCartella"));
        QVERIFY(card < names.indexOf(QStringLiteral("frmMenuFatture")));
        QVERIFY(t.program->hasDialog(u"frmAllegaCartella"));
    }

    void everyFieldHasItsCapacity()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        for (const CustomerCard::ScreenField& f : CustomerCard::screenFields()) {
            QWidget* w = card->findChild<QWidget*>(f.control.toString());
            QVERIFY2(w, qPrintable(f.control.toString()));
            auto* edit = qobject_cast<QLineEdit*>(w);
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                QVERIFY(combo->isEditable());
                QCOMPARE(combo->count(), 112);
                QCOMPARE(combo->itemText(0), QStringLiteral("AG"));
                QCOMPARE(combo->itemText(111), QStringLiteral("VV"));
                edit = combo->lineEdit();
            }
            QVERIFY(edit);
            QCOMPARE(edit->maxLength(), f.capacity);
        }
        // A long text typed into a field stops at its capacity.
        type(named<QLineEdit>(card, u"txtCognome"), QString(60, u'x'));
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QString(50, u'x'));
        type(named<QLineEdit>(card, u"txtCodiceDest"), QStringLiteral("abc1234xyz"));
        QCOMPARE(named<QLineEdit>(card, u"txtCodiceDest")->text(), QStringLiteral("ABC1234"));
        for (QLabel* hidden : {named<QLabel>(card, u"lblFile01"), named<QLabel>(card, u"lblFile02"),
                               named<QLabel>(card, u"lblFile03"), named<QLabel>(card, u"lblDesc01"),
                               named<QLabel>(card, u"lblDesc02"), named<QLabel>(card, u"lblDesc03")})
            QVERIFY(!hidden->isVisible());
        QVERIFY(named<QLabel>(card, u"lblPosizione")->isVisible());
        QVERIFY(named<QLabel>(card, u"lblPosizione")->font().bold());
    }

    void typingRules_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("surname refuses & / and accents") << "txtCognome"
                                                         << "Ro&s/si è<>£°"
                                                         << "Rossi ";
        QTest::newRow("surname keeps apostrophe") << "txtCognome"
                                                  << "D'Angelo"
                                                  << "D'Angelo";
        QTest::newRow("company keeps &") << "txtDitta"
                                         << "Rossi & Figli"
                                         << "Rossi & Figli";
        QTest::newRow("company refuses accents") << "txtDitta"
                                                 << "Caffè/Bar"
                                                 << "CaffBar";
        QTest::newRow("euro sign passes") << "txtNome"
                                          << "€uro"
                                          << "€uro";
        QTest::newRow("birth town is free") << "txtComuneNasc"
                                            << "Forlì"
                                            << "Forlì";
        QTest::newRow("postcode digits only") << "txtCapRes"
                                              << "47a1,2 1"
                                              << "47121";
        QTest::newRow("card digits only") << "txtCarta"
                                          << "4111-1111 x1"
                                          << "411111111";
        QTest::newRow("vat digits only") << "txtPartitaIva"
                                         << "IT0123.4"
                                         << "01234";
        QTest::newRow("province upper case") << "txtProvRes"
                                             << "rm"
                                             << "RM";
        QTest::newRow("province refuses set A") << "txtProvRes"
                                                << "è/f"
                                                << "F";
        QTest::newRow("birth province upper case") << "txtProvNasc"
                                                   << " mi"
                                                   << "MI";
        QTest::newRow("sex upper case") << "txtSesso"
                                        << "f"
                                        << "F";
        QTest::newRow("email trimmed") << "txtEmail"
                                       << " mario@esempio.it "
                                       << "mario@esempio.it";
        QTest::newRow("pec trimmed, refuses /") << "txtPec"
                                                << "pec/@esempio.it "
                                                << "pec@esempio.it";
        QTest::newRow("tax code upper and trimmed") << "txtCodFisc"
                                                    << " rssmra80a01h501u "
                                                    << "RSSMRA80A01H501U";
        QTest::newRow("iban upper, refuses accents") << "txtIban"
                                                     << "itè60x"
                                                     << "IT60X";
        QTest::newRow("recipient code upper") << "txtCodiceDest"
                                              << "m5uxcr1"
                                              << "M5UXCR1";
        QTest::newRow("notes are free") << "txtNote"
                                        << "a/b & c è"
                                        << "a/b & c è";
    }
    void typingRules()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TestProgram t;
        TfrmClienti* card = openCard(t);
        QWidget* w = card->findChild<QWidget*>(field);
        QVERIFY(w);
        type(w, typed);
        QCOMPARE(fieldText(w), shown);
    }

    void provinceIsTidiedOnLeavingAndListResetOnEntering()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        activate(card);
        named<QComboBox>(card, u"txtProvRes")->setCurrentIndex(3);
        named<QComboBox>(card, u"txtProvRes")->setEditText(QStringLiteral("ar")); // as a paste might leave it
        named<QLineEdit>(card, u"txtIndirizzoRes")->setFocus();
        QTest::keyClick(named<QLineEdit>(card, u"txtIndirizzoRes"), Qt::Key_Return);
        QVERIFY(named<QComboBox>(card, u"txtProvRes")->hasFocus());
        QCOMPARE(named<QComboBox>(card, u"txtProvRes")->currentIndex(), -1);
        QVERIFY(card->findChild<QWidget*>(QStringLiteral("effProvRes"))->isVisible());
        QVERIFY(!card->findChild<QWidget*>(QStringLiteral("effIndirizzoRes"))->isVisible());
        QTest::keyClick(named<QComboBox>(card, u"txtProvRes"), Qt::Key_Return);
        QVERIFY(named<QLineEdit>(card, u"txtComuneRes")->hasFocus());
        QCOMPARE(named<QComboBox>(card, u"txtProvRes")->currentText(), QStringLiteral("AR"));
    }

    void enterWalksTheFieldsInOrderWithTheHighlight()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        activate(card);
        QVERIFY(named<QLineEdit>(card, u"txtCognome")->hasFocus());
        auto* effCognome = card->findChild<QWidget*>(QStringLiteral("effCognome"));
        auto* effNome = card->findChild<QWidget*>(QStringLiteral("effNome"));
        QVERIFY(effCognome && effNome);
        QVERIFY(effCognome->isVisible());
        QStringList visited;
        for (int i = 0; i < 31; ++i) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            // An editable drop-down may hand the focus to its edit line.
            if (qobject_cast<QLineEdit*>(focus) && qobject_cast<QComboBox*>(focus->parentWidget()))
                focus = focus->parentWidget();
            visited.append(focus->objectName());
            QTest::keyClick(focus, Qt::Key_Return);
        }
        QStringList expected;
        for (const CustomerCard::ScreenField& f : CustomerCard::screenFields())
            expected.append(f.control.toString());
        QCOMPARE(visited, expected);
        QVERIFY(named<QLineEdit>(card, u"txtCognome")->hasFocus()); // the order wraps
        QTest::keyClick(named<QLineEdit>(card, u"txtCognome"), Qt::Key_Return);
        QVERIFY(effNome->isVisible());
        QVERIFY(!effCognome->isVisible());
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QString()); // Enter never reaches the field

        // Tab walks the same way, with the check box between the pending issues and the notes.
        named<QLineEdit>(card, u"txtQuestioni")->setFocus();
        QTest::keyClick(named<QLineEdit>(card, u"txtQuestioni"), Qt::Key_Tab);
        QVERIFY(named<QCheckBox>(card, u"chkRicontatta")->hasFocus());
        QTest::keyClick(named<QCheckBox>(card, u"chkRicontatta"), Qt::Key_Tab);
        QVERIFY(named<QLineEdit>(card, u"txtNote")->hasFocus());
    }

    void shortcutsPressTheirButtons()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        QApplication::setActiveWindow(card);
        QVERIFY(QTest::qWaitForWindowActive(card));
        named<QLineEdit>(card, u"txtCognome")->setFocus();
        QTest::keyClick(named<QLineEdit>(card, u"txtCognome"), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(t.services.modalShown, QStringList{QStringLiteral("frmTrovaClienti")});
        QTest::keyClick(named<QLineEdit>(card, u"txtCognome"), Qt::Key_F1);
        QCOMPARE(t.services.modalShown.size(), 2);
    }

    void statusLineHints()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        const std::pair<QWidget*, QString> cases[] = {
            {named<PictureButton>(card, u"cmdSalva"),
             QStringLiteral("Salva la scheda corrente in archivio. (Ctrl+S)")},
            {named<PictureButton>(card, u"cmdTrova"),
             QStringLiteral("Trova una scheda in archivio. (Ctrl+F)")},
            {named<PictureButton>(card, u"cmdUltimo"),
             QStringLiteral("Visualizza l'ultima scheda in archivio. (Ctrl+End)")},
            {named<PictureButton>(card, u"btnIban"), QStringLiteral("Controlla l'IBAN.")},
            {named<QCheckBox>(card, u"chkRicontatta"),
             QStringLiteral("Annota che il cliente è da ricontattare per questioni in sospeso.")},
        };
        for (const auto& [control, hint] : cases) {
            QEvent enter(QEvent::Enter);
            QApplication::sendEvent(control, &enter);
            QCOMPARE(named<StatusLine>(card, u"panInfo")->text(), hint);
            QCOMPARE(control->toolTip(), hint);
        }
        // Moving over the bare background (its margin) empties the line.
        QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), card->mapToGlobal(QPointF(1, 1)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(card, &move);
        QCOMPARE(named<StatusLine>(card, u"panInfo")->text(), QString());
    }

    void buttonsOfWindowsNotBuiltYetStayDisabled()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        const auto has = [&t](QStringView name) {
            return t.program->hasDialog(name) || t.program->window(name);
        };
        QCOMPARE(named<PictureButton>(card, u"cmdTrova")->isEnabled(), has(u"frmTrovaClienti"));
        QCOMPARE(named<PictureButton>(card, u"cmdRicontatta")->isEnabled(), has(u"frmRicontatta"));
        QCOMPARE(named<PictureButton>(card, u"cmdEsporta")->isEnabled(), has(u"frmExpClienti"));
        for (PictureButton* b :
             {named<PictureButton>(card, u"cmdNuovo"), named<PictureButton>(card, u"cmdSalva"),
              named<PictureButton>(card, u"cmdDuplica"), named<PictureButton>(card, u"cmdFile"),
              named<PictureButton>(card, u"cmdPDF"), named<PictureButton>(card, u"btnCodFisc"),
              named<PictureButton>(card, u"btnPartitaIva"), named<PictureButton>(card, u"btnCarta"),
              named<PictureButton>(card, u"btnIban")})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        QCOMPARE(named<PictureButton>(card, u"cmdTrova")->toolTip(),
                 QStringLiteral("Trova una scheda in archivio. (Ctrl+F)"));
    }

    void aRefusedKeySaysWhyInTheStatusLine()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        type(named<QLineEdit>(card, u"txtComuneRes"), QStringLiteral("Forlì"));
        QCOMPARE(named<QLineEdit>(card, u"txtComuneRes")->text(), QStringLiteral("Forl"));
        QCOMPARE(
            named<StatusLine>(card, u"panInfo")->text(),
            QStringLiteral("Il carattere «ì» non è accettato in questo campo: scrivere «i'» al suo posto."));
        type(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Rossi/"));
        QCOMPARE(named<StatusLine>(card, u"panInfo")->text(),
                 QStringLiteral("Il carattere «/» non è accettato in questo campo."));
    }

    void salvaNeedsSurnameAndName_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString m1 = said::surnameMissing;
        const QString m2 = said::nameMissing;
        QTest::newRow("nothing") << ""
                                 << "" << m1 << "txtCognome";
        QTest::newRow("blank surname") << "   "
                                       << "Mario" << m1 << "txtCognome";
        QTest::newRow("no first name") << "Rossi"
                                       << "" << m2 << "txtNome";
        QTest::newRow("blank first name") << "Rossi"
                                          << "  " << m2 << "txtNome";
    }
    void salvaNeedsSurnameAndName()
    {
        QFETCH(QString, surname);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestProgram t;
        TfrmClienti* card = openCard(t);
        activate(card);
        type(named<QLineEdit>(card, u"txtCognome"), surname);
        type(named<QLineEdit>(card, u"txtNome"), name);
        named<QLineEdit>(card, u"txtDitta")->setFocus();
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastMessage(), message);
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QVERIFY(!QFile::exists(t.path(QStringLiteral("Clienti.pro")))); // the file is not touched
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
    }

    void saveAppendsOnceThenOverwrites()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        const QString archive = t.path(QStringLiteral("Clienti.pro"));
        type(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Rossi"));
        type(named<QLineEdit>(card, u"txtNome"), QStringLiteral("Mario"));
        type(named<QLineEdit>(card, u"txtComuneRes"), QStringLiteral("Cesena"));
        type(named<QComboBox>(card, u"txtProvRes"), QStringLiteral("fc"));
        named<QLabel>(card, u"lblFile01")->setText(QStringLiteral("documento.pdf"));
        click(named<QCheckBox>(card, u"chkRicontatta"));
        QVERIFY(named<QCheckBox>(card, u"chkRicontatta")->isChecked());

        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t.services.lastMessage(), said::inserted);
        QCOMPARE(t.services.lastKind(), MessageKind::Information);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("1"));
        QByteArray bytes = fileBytes(archive);
        QCOMPARE(bytes.size(), 3151);
        QCOMPARE(bytes.mid(1642, 3), QByteArray("\x02\x53\xEC", 3));
        QCOMPARE(bytes.mid(257, 3), QByteArray("\x02"
                                               "FC"));
        QCOMPARE(bytes.mid(1645, 14), QByteArray("\x0D"
                                                 "documento.pdf"));
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(),
                 QStringLiteral("Rossi")); // the card stays as it was

        click(named<QCheckBox>(card, u"chkRicontatta"));
        type(named<QLineEdit>(card, u"txtNote"), QStringLiteral("nuovo recapito"));
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t.services.lastMessage(), said::changesSaved);
        QCOMPARE(t.services.lastKind(), MessageKind::Information);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("1"));
        bytes = fileBytes(archive);
        QCOMPARE(bytes.size(), 3151);
        QCOMPARE(bytes.mid(1642, 3), QByteArray("\x02\x4E\x6F", 3));
        QCOMPARE(Record(CR::layout(), bytes).text(CR::Note), QStringLiteral("nuovo recapito"));

        // A second customer goes after the first: a file of 6302 bytes holds two records.
        click(named<PictureButton>(card, u"cmdNuovo"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QString());
        QVERIFY(!named<QCheckBox>(card, u"chkRicontatta")->isChecked());
        type(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Bianchi"));
        type(named<QLineEdit>(card, u"txtNome"), QStringLiteral("Anna"));
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("2"));
        QCOMPARE(fileBytes(archive).size(), 6302);
        click(named<PictureButton>(card, u"cmdPrimo"));
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QStringLiteral("Rossi"));
        QCOMPARE(named<QComboBox>(card, u"txtProvRes")->currentText(), QStringLiteral("FC"));
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QStringLiteral("documento.pdf"));
        click(named<PictureButton>(card, u"cmdUltimo"));
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QStringLiteral("Bianchi"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("2"));
    }

    void arrowsOnAnEmptyArchive()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        const QString empty = said::archiveEmpty;
        QCOMPARE(empty, QStringLiteral("L'archivio non contiene nessuna scheda."));
        for (PictureButton* arrow :
             {named<PictureButton>(card, u"cmdPrimo"), named<PictureButton>(card, u"cmdIndietro"),
              named<PictureButton>(card, u"cmdAvanti"), named<PictureButton>(card, u"cmdUltimo")}) {
            t.services.messages.clear();
            click(arrow);
            QCOMPARE(t.services.messages.size(), 1);
            QCOMPARE(t.services.lastMessage(), empty);
            QCOMPARE(t.services.lastKind(), MessageKind::Information);
            QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
        }
        QVERIFY(QFile::exists(t.path(QStringLiteral("Clienti.pro")))); // created empty by the first arrow
        QCOMPARE(QFileInfo(t.path(QStringLiteral("Clienti.pro"))).size(), 0);
    }

    void arrowsWalkTheArchive()
    {
        TestProgram t;
        QVERIFY(writeArchive(
            t.path(QStringLiteral("Clienti.pro")),
            {customer(QStringLiteral("Alfa"), QStringLiteral("Uno"), QStringLiteral("Sì"),
                      {{CR::File01, QStringLiteral("a.pdf")}, {CR::Desc01, QStringLiteral("contratto")}}),
             customer(QStringLiteral("Beta"), QStringLiteral("Due"), QStringLiteral("boh")),
             customer(QStringLiteral("Gamma"), QStringLiteral("Tre"), QStringLiteral("No"))}));
        TfrmClienti* card = openCard(t);
        const auto at = [card](const char* surname, const char* position) {
            return named<QLineEdit>(card, u"txtCognome")->text() == QLatin1String(surname) &&
                   named<QLabel>(card, u"lblPosizione")->text() == QLatin1String(position);
        };

        click(named<PictureButton>(card, u"cmdIndietro")); // a new card goes to the first record
        QVERIFY(at("Alfa", "1"));
        QVERIFY(named<QCheckBox>(card, u"chkRicontatta")->isChecked());
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QStringLiteral("a.pdf"));
        QCOMPARE(named<QLabel>(card, u"lblDesc01")->text(), QStringLiteral("contratto"));
        click(named<PictureButton>(card, u"cmdIndietro")); // at the first card: nothing, and no message
        QVERIFY(at("Alfa", "1"));
        click(named<PictureButton>(card, u"cmdAvanti"));
        QVERIFY(at("Beta", "2"));
        QVERIFY2(named<QCheckBox>(card, u"chkRicontatta")->isChecked(),
                 "a flag that is neither Sì nor No leaves the box alone");
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QString());
        click(named<PictureButton>(card, u"cmdAvanti"));
        QVERIFY(at("Gamma", "3"));
        QVERIFY(!named<QCheckBox>(card, u"chkRicontatta")->isChecked());
        click(named<PictureButton>(card, u"cmdAvanti")); // at the last card: nothing, and no message
        QVERIFY(at("Gamma", "3"));
        click(named<PictureButton>(card, u"cmdPrimo"));
        QVERIFY(at("Alfa", "1"));
        click(named<PictureButton>(card, u"cmdUltimo"));
        QVERIFY(at("Gamma", "3"));
        click(named<PictureButton>(card, u"cmdIndietro"));
        QVERIFY(at("Beta", "2"));
        QVERIFY(t.services.messages.isEmpty());

        click(named<PictureButton>(card, u"cmdNuovo"));
        click(named<PictureButton>(card, u"cmdAvanti")); // a new card goes to the first record
        QVERIFY(at("Alfa", "1"));

        // An unsaved change is dropped by an arrow once the user says so, and the record is
        // unchanged.
        named<QLineEdit>(card, u"txtCognome")->setText(QStringLiteral("Modificato"));
        t.services.answers.push_back(Answer::No);
        click(named<PictureButton>(card, u"cmdAvanti"));
        QCOMPARE(t.services.lastMessage(), said::unsavedChanges);
        click(named<PictureButton>(card, u"cmdIndietro"));
        QVERIFY(at("Alfa", "1"));
    }

    void showingTheCardStartsANewOne()
    {
        TestProgram t;
        QVERIFY(
            writeArchive(t.path(QStringLiteral("Clienti.pro")),
                         {customer(QStringLiteral("Alfa"), QStringLiteral("Uno"), QStringLiteral("Sì"))}));
        TfrmClienti* card = openCard(t);
        click(named<PictureButton>(card, u"cmdPrimo"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("1"));
        named<QComboBox>(card, u"txtProvNasc")->setEditText(QStringLiteral("RM"));
        card->close();
        AppContext::showScreen(card);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QString());
        QCOMPARE(named<QComboBox>(card, u"txtProvNasc")->currentText(), QString());
        QVERIFY(!named<QCheckBox>(card, u"chkRicontatta")->isChecked());
    }

    void duplicaKeepsFieldsButNotAttachmentsNorPosition()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        activate(card);
        click(named<PictureButton>(card, u"cmdDuplica"));
        QCOMPARE(t.services.lastMessage(), said::duplicateNeedsSave);
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);

        const QByteArray original =
            customer(QStringLiteral("Rossi"), QStringLiteral("Mario"), QStringLiteral("Sì"),
                     {{CR::Ditta, QStringLiteral("Rossi & Figli")},
                      {CR::ProvRes, QStringLiteral("FC")},
                      {CR::File02, QStringLiteral("visura.pdf")},
                      {CR::Desc02, QStringLiteral("visura camerale")}});
        QVERIFY(writeArchive(t.path(QStringLiteral("Clienti.pro")), {original}));
        click(named<PictureButton>(card, u"cmdUltimo"));
        QCOMPARE(named<QLabel>(card, u"lblFile02")->text(), QStringLiteral("visura.pdf"));
        named<QLineEdit>(card, u"txtNote")->setFocus();

        click(named<PictureButton>(card, u"cmdDuplica"));
        QCOMPARE(t.services.lastMessage(), said::duplicated);
        QCOMPARE(t.services.lastKind(), MessageKind::Information);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
        for (QLabel* l : {named<QLabel>(card, u"lblFile01"), named<QLabel>(card, u"lblFile02"),
                          named<QLabel>(card, u"lblFile03"), named<QLabel>(card, u"lblDesc01"),
                          named<QLabel>(card, u"lblDesc02"), named<QLabel>(card, u"lblDesc03")})
            QCOMPARE(l->text(), QString());
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QStringLiteral("Rossi"));
        QCOMPARE(named<QLineEdit>(card, u"txtDitta")->text(), QStringLiteral("Rossi & Figli"));
        QCOMPARE(named<QComboBox>(card, u"txtProvRes")->currentText(), QStringLiteral("FC"));
        QVERIFY(named<QCheckBox>(card, u"chkRicontatta")->isChecked());
        QVERIFY(named<QLineEdit>(card, u"txtCognome")->hasFocus());

        named<QLineEdit>(card, u"txtNome")->setText(QStringLiteral("Luigi"));
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t.services.lastMessage(), said::inserted);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("2"));
        QCOMPARE(recordAt(t.path(QStringLiteral("Clienti.pro")), 0), original);
        const Record copy(CR::layout(), recordAt(t.path(QStringLiteral("Clienti.pro")), 1));
        QCOMPARE(copy.text(CR::Nome), QStringLiteral("Luigi"));
        QCOMPARE(copy.text(CR::Ditta), QStringLiteral("Rossi & Figli"));
        QCOMPARE(copy.text(CR::File02), QString());
        QCOMPARE(copy.text(CR::Ricontatta), QStringLiteral("Sì"));
    }

    void unwritableArchiveGivesTheAccessMessageAndLeavesEverything()
    {
        TestProgram t;
        const QString archive = t.path(QStringLiteral("Clienti.pro"));
        const QByteArray original = customer(QStringLiteral("Rossi"), QStringLiteral("Mario"));
        QVERIFY(writeArchive(archive, {original}));
        TfrmClienti* card = openCard(t);
        click(named<PictureButton>(card, u"cmdPrimo"));
        named<QLineEdit>(card, u"txtCognome")->setText(QStringLiteral("Verdi"));
        {
            ReadOnlyFolder locked(archive);
            if (!locked.active())
                QSKIP("this machine cannot make a read-only file");
            click(named<PictureButton>(card, u"cmdSalva"));
        }
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(t.services.lastKind(), MessageKind::Error);
        QCOMPARE(fileBytes(archive), original);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QStringLiteral("Verdi"));
    }

    void folderThatRefusesTheArchive()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        type(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Rossi"));
        type(named<QLineEdit>(card, u"txtNome"), QStringLiteral("Mario"));
        ReadOnlyFolder locked(t.dir.path());
        if (!locked.active())
            QSKIP("this machine cannot make a read-only folder");
        click(named<PictureButton>(card, u"cmdSalva"));
        QCOMPARE(t.services.lastMessage(), said::archiveAccess);
        QCOMPARE(t.services.lastKind(), MessageKind::Error);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString()); // still a new card
        QVERIFY(!QFile::exists(t.path(QStringLiteral("Clienti.pro"))));

        click(named<PictureButton>(card, u"cmdAvanti"));
        QCOMPARE(t.services.lastKind(), MessageKind::Error);
        QCOMPARE(t.services.messages.size(), 2);
        QCOMPARE(named<QLineEdit>(card, u"txtCognome")->text(), QStringLiteral("Rossi"));
    }

    void emailButtonStartsAMessage()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        type(named<QLineEdit>(card, u"txtEmail"), QStringLiteral("mario.rossi@esempio.it"));
        click(named<PictureButton>(card, u"btnEmail"));
        QCOMPARE(t.services.opened.size(), 1);
        QCOMPARE(t.services.opened.last().scheme(), QStringLiteral("mailto"));
        QCOMPARE(t.services.opened.last().toString(), QStringLiteral("mailto:mario.rossi@esempio.it"));

        // Whatever is typed stays an address: nothing can smuggle in a header or a command.
        named<QLineEdit>(card, u"txtEmail")->setText(QStringLiteral("a@b.it?cc=x@y.it&body=\"x\" %41"));
        click(named<PictureButton>(card, u"btnEmail"));
        QCOMPARE(t.services.opened.last().scheme(), QStringLiteral("mailto"));
        QCOMPARE(t.services.opened.last().path(), QStringLiteral("a@b.it?cc=x@y.it&body=\"x\" %41"));
        QVERIFY(!t.services.opened.last().hasQuery());

        named<QLineEdit>(card, u"txtEmail")->clear();
        click(named<PictureButton>(card, u"btnEmail"));
        QCOMPARE(t.services.opened.last().toString(), QStringLiteral("mailto:"));
    }

    void helpWindowShowsTheCustomersTopic()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        QString title, text;
        t.services.modal.insert(QStringLiteral("frmGuida"), [&](QDialog& d) {
            title = d.findChild<QLabel*>(QStringLiteral("lblTitolo"))->text();
            text = d.findChild<QPlainTextEdit*>(QStringLiteral("txtGuida"))->toPlainText();
            return 0;
        });
        click(named<PictureButton>(card, u"cmdGuida"));
        QCOMPARE(title, QStringLiteral("Applicazione Anagrafica Clienti."));
        QCOMPARE(text.split(QStringLiteral("\n\n")).size(), 10);
    }

    void taxCodeButtonPicksTheCheck_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("field");
        QTest::newRow("digits: a company's vat number") << "01234567897"
                                                        << "frmPartitaIva"
                                                        << "txtPartitaIva";
        QTest::newRow("letters: a tax code") << "RSSMRA80A01H501U"
                                             << "frmCodFisc"
                                             << "txtCodFisc";
        QTest::newRow("empty: the tax code check") << ""
                                                   << "frmCodFisc"
                                                   << "txtCodFisc";
    }
    void taxCodeButtonPicksTheCheck()
    {
#ifndef TARVELLO_HAS_CHECKS
        QSKIP("This build has no check windows.");
#endif
        QFETCH(QString, code);
        QFETCH(QString, window);
        QFETCH(QString, field);
        TestProgram t;
        TfrmClienti* card = openCard(t);
        type(named<QLineEdit>(card, u"txtCodFisc"), code);
        QString passed = QStringLiteral("<not opened>");
        t.services.modal.insert(window, [&](QDialog& d) {
            passed = d.findChild<QLineEdit*>(field)->text();
            return 0;
        });
        click(named<PictureButton>(card, u"btnCodFisc"));
        QCOMPARE(t.services.modalShown, QStringList{window});
        QCOMPARE(passed, code);
    }

    void checkButtonsPassTheirFields()
    {
#ifndef TARVELLO_HAS_CHECKS
        QSKIP("This build has no check windows.");
#endif
        TestProgram t;
        TfrmClienti* card = openCard(t);
        type(named<QLineEdit>(card, u"txtPartitaIva"), QStringLiteral("01234567897"));
        type(named<QLineEdit>(card, u"txtCarta"), QStringLiteral("4111111111111111"));
        type(named<QLineEdit>(card, u"txtIban"), QStringLiteral("IT60X0542811101000000123456"));
        QHash<QString, QString> passed;
        const std::pair<const char16_t*, const char16_t*> windows[] = {
            {u"frmPartitaIva", u"txtPartitaIva"}, {u"frmCarta", u"txtNumero"}, {u"frmIban", u"txtIban"}};
        for (const auto& [window, field] : windows)
            t.services.modal.insert(QString::fromUtf16(window),
                                    [&passed, field = QString::fromUtf16(field)](QDialog& d) {
                                        passed.insert(d.objectName(), d.findChild<QLineEdit*>(field)->text());
                                        return 0;
                                    });
        click(named<PictureButton>(card, u"btnPartitaIva"));
        click(named<PictureButton>(card, u"btnCarta"));
        click(named<PictureButton>(card, u"btnIban"));
        QCOMPARE(passed.value(QStringLiteral("frmPartitaIva")), QStringLiteral("01234567897"));
        QCOMPARE(passed.value(QStringLiteral("frmCarta")), QStringLiteral("4111111111111111"));
        QCOMPARE(passed.value(QStringLiteral("frmIban")), QStringLiteral("IT60X0542811101000000123456"));
    }

    // A changed note on a stored card, then something that would replace or leave the card,
    // then the user's answer: Sì stores the note first, No drops it, Annulla keeps the card.
    void unsavedChangesAreAskedFor_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("positionAfter"); // "-" for a card that is no longer shown
        const std::pair<const char*, const char*> actions[] = {
            {"avanti", "2"}, {"ultimo", "2"}, {"nuovo", ""}, {"duplica", ""}, {"elenco", "2"}, {"esci", "-"}};
        for (const auto& [action, after] : actions) {
            QTest::addRow("%s-si", action) << action << int(Answer::Yes) << after;
            QTest::addRow("%s-no", action) << action << int(Answer::No) << after;
            QTest::addRow("%s-annulla", action) << action << int(Answer::Cancel) << "1";
        }
    }

    void unsavedChangesAreAskedFor()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(QString, positionAfter);
        TestProgram t;
        const QString archive = t.path(QStringLiteral("Clienti.pro"));
        const QByteArray alfa = customer(QStringLiteral("Alfa"), QStringLiteral("Uno"), QStringLiteral("Sì"));
        QVERIFY(writeArchive(
            archive, {alfa, customer(QStringLiteral("Beta"), QStringLiteral("Due"), QStringLiteral("Sì"))}));
        TfrmClienti* card = openCard(t);
        activate(card);
        click(named<PictureButton>(card, u"cmdPrimo"));
        type(named<QLineEdit>(card, u"txtNote"), QStringLiteral("richiamare"));
        QVERIFY(t.services.messages.isEmpty());

        t.services.answers.push_back(Answer(answer));
        if (action == u"avanti") {
            click(named<PictureButton>(card, u"cmdAvanti"));
        } else if (action == u"ultimo") {
            click(named<PictureButton>(card, u"cmdUltimo"));
        } else if (action == u"nuovo") {
            click(named<PictureButton>(card, u"cmdNuovo"));
        } else if (action == u"duplica") {
            click(named<PictureButton>(card, u"cmdDuplica"));
        } else if (action == u"elenco") {
            t.services.modal.insert(QStringLiteral("frmRicontatta"), [](QDialog& d) {
                auto* list = d.findChild<ResultList*>(QStringLiteral("lstRecords"));
                int row = 0;
                while (row < list->model()->rowCount() && !list->lineText(row).startsWith(u"Beta"))
                    ++row;
                const QRect r = list->visualRect(list->model()->index(row, 0));
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
                return d.result();
            });
            click(named<PictureButton>(card, u"cmdRicontatta"));
        } else {
            click(named<PictureButton>(card, u"cmdEsci"));
        }

        QCOMPARE(t.services.messages.first().text,
                 QStringLiteral(
                     "La scheda corrente contiene modifiche non salvate. Salvarle prima di continuare?"));
        QCOMPARE(t.services.messages.first().kind, MessageKind::ConfirmationOrCancel);
        const QByteArray stored = recordAt(archive, 0);
        if (Answer(answer) == Answer::Yes) {
            QCOMPARE(Record(CR::layout(), stored).text(CR::Note), QStringLiteral("richiamare"));
            QCOMPARE(t.services.messages.at(1).text, said::changesSaved);
        } else {
            QCOMPARE(stored, alfa);
        }
        QCOMPARE(fileBytes(archive).size(), 2 * CR::Size);
        if (positionAfter == u"-") {
            QVERIFY(!card->isVisible());
        } else {
            QVERIFY(card->isVisible());
            QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), positionAfter);
        }
        if (Answer(answer) == Answer::Cancel)
            QCOMPARE(named<QLineEdit>(card, u"txtNote")->text(), QStringLiteral("richiamare"));
    }

    // An attachment confirmed in its window is a change too; a failed save stays on the card.
    void anAppliedAttachmentIsAChangeAndAFailedSaveStays()
    {
        TestProgram t;
        const QString archive = t.path(QStringLiteral("Clienti.pro"));
        QVERIFY(writeArchive(archive, {customer(QStringLiteral("Alfa"), QStringLiteral("Uno"))}));
        TfrmClienti* card = openCard(t);
        click(named<PictureButton>(card, u"cmdPrimo"));
        t.services.modal.insert(QStringLiteral("frmAllegaCartella"), [](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("txtDesc01"))->setText(QStringLiteral("contratto"));
            click(d.findChild<QAbstractButton*>(QStringLiteral("btnApplica")));
            return d.result();
        });
        click(named<PictureButton>(card, u"cmdFile"));
        QCOMPARE(named<QLabel>(card, u"lblDesc01")->text(), QStringLiteral("contratto"));
        t.services.messages.clear();

        // Sì, but the surname is gone: the save is refused and the card stays.
        named<QLineEdit>(card, u"txtCognome")->clear();
        QTest::keyClick(named<QLineEdit>(card, u"txtCognome"), Qt::Key_Space);
        click(named<PictureButton>(card, u"cmdNuovo"));
        QCOMPARE(t.services.messages.size(), 2);
        QCOMPARE(t.services.lastMessage(), said::surnameMissing);
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(named<QLabel>(card, u"lblDesc01")->text(), QStringLiteral("contratto"));

        type(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Alfa"));
        click(named<PictureButton>(card, u"cmdNuovo")); // Sì again: saved, then the new card
        QCOMPARE(Record(CR::layout(), recordAt(archive, 0)).text(CR::Desc01), QStringLiteral("contratto"));
        QCOMPARE(named<QLabel>(card, u"lblPosizione")->text(), QString());
    }

    // Loading, saving and the program's own filling never count as changes of the user.
    void anUntouchedCardNeverAsks()
    {
        TestProgram t;
        QVERIFY(writeArchive(t.path(QStringLiteral("Clienti.pro")),
                             {customer(QStringLiteral("Alfa"), QStringLiteral("Uno"), QStringLiteral("Sì"),
                                       {{CR::File01, QStringLiteral("a.pdf")}}),
                              customer(QStringLiteral("Beta"), QStringLiteral("Due"))}));
        TfrmClienti* card = openCard(t);
        for (PictureButton* b :
             {named<PictureButton>(card, u"cmdAvanti"), named<PictureButton>(card, u"cmdAvanti"),
              named<PictureButton>(card, u"cmdIndietro"), named<PictureButton>(card, u"cmdUltimo"),
              named<PictureButton>(card, u"cmdPrimo"), named<PictureButton>(card, u"cmdNuovo"),
              named<PictureButton>(card, u"cmdPrimo")})
            click(b);
        click(named<PictureButton>(card, u"cmdDuplica"));
        QCOMPARE(t.services.lastMessage(), said::duplicated);
        t.services.messages.clear();
        click(named<PictureButton>(card, u"cmdNuovo"));
        type(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Gamma"));
        type(named<QLineEdit>(card, u"txtNome"), QStringLiteral("Tre"));
        click(named<PictureButton>(card, u"cmdSalva"));
        click(named<PictureButton>(card, u"cmdPrimo"));
        click(named<PictureButton>(card, u"cmdEsci"));
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastMessage(), said::inserted);
        QVERIFY(!card->isVisible());
    }
};

int runCardTests(int argc, char** argv)
{
    CardTest tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_clienti.moc"

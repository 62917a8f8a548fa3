#include "archive/productrecord.h"
#include "core/ini.h"
#include "files.h"
#include "namedcontrols.h"
#include "readonlyfolder.h"
#include "shell/conventions.h"
#include "shell/guida.h"
#include "shell/password.h"
#include "shell/services.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QUrlQuery>

using namespace tarvello;

class ShellTest : public QObject
{
    Q_OBJECT

    static void activate(QWidget* w)
    {
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    // Logs in with the initial password and returns the launcher.
    static QWidget* logIn(TestProgram& t)
    {
        t.program->start();
        auto* field = t.child<QLineEdit>(QStringLiteral("frmPassword"), QStringLiteral("txtPassword"));
        QTest::keyClicks(field, QStringLiteral("chiaveiniziale"));
        QTest::keyClick(field, Qt::Key_Return);
        return t.window(QStringLiteral("frmAvvio"));
    }

    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY2(focus, "nothing has the focus");
        QTest::keyClick(focus, key, modifiers);
    }

    static QString focusName()
    {
        const QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }

    // The entries of the launcher, in the order the keyboard takes them.
    static QList<QWidget*> launcherEntries(TfrmAvvio* l)
    {
        return {named<PictureButton>(l, u"imgSito"),      named<PictureButton>(l, u"btnClienti"),
                named<PictureButton>(l, u"btnMagazzino"), named<PictureButton>(l, u"btnFatture"),
                named<PictureButton>(l, u"imgInfo"),      named<PictureButton>(l, u"imgGuida"),
                named<PictureButton>(l, u"imgCopyright"), named<PictureButton>(l, u"imgEsci")};
    }

    static QList<QWidget*> menuEntries(TfrmMenuFatture* m)
    {
        return {named<QLineEdit>(m, u"txtAnnoFatture"),     named<QPushButton>(m, u"btnApriFatture"),
                named<QPushButton>(m, u"btnApriRiepStats"), named<PictureButton>(m, u"imgEmail"),
                named<PictureButton>(m, u"imgGuida"),       named<PictureButton>(m, u"imgEsci")};
    }

    // How many pixels of `w` change when it takes the focus.
    static int pixelsChangedByFocus(QWidget* w, QWidget* elsewhere)
    {
        elsewhere->setFocus(Qt::TabFocusReason);
        const QImage before = w->grab().toImage();
        w->setFocus(Qt::TabFocusReason);
        const QImage after = w->grab().toImage();
        int changed = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                changed += before.pixel(x, y) != after.pixel(x, y);
        return changed;
    }

private Q_SLOTS:
    void everyPictureLoads()
    {
        // A missing SVG image plug-in would leave every picture button blank without a word.
        int pictures = 0;
        QDirIterator it(QStringLiteral(":/"), QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(QStringLiteral(".svg")) || path.startsWith(QStringLiteral(":/qt-project.org")))
                continue;
            ++pictures;
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
        }
        QVERIFY(pictures >= 15);
    }

    void createsWindowsInOrderWithPasswordFirst()
    {
        TestProgram t;
        QStringList names;
        for (QWidget* w : t.program->windows())
            names.append(w->objectName());
        QCOMPARE(names.mid(0, 6),
                 (QStringList{QStringLiteral("frmPassword"), QStringLiteral("frmAvvio"),
                              QStringLiteral("frmCambiaPassword"), QStringLiteral("frmGuida"),
                              QStringLiteral("frmInfo"), QStringLiteral("frmSplash")}));
        QVERIFY(names.contains(QStringLiteral("frmMenuFatture")));
        for (QWidget* w : t.program->windows())
            QVERIFY2(w->windowTitle().startsWith(u' '), qPrintable(w->objectName()));
        t.program->start();
        QVERIFY(t.window(QStringLiteral("frmPassword"))->isVisible());
        QVERIFY(!t.window(QStringLiteral("frmAvvio"))->isVisible());
    }

    void okFollowsTheFieldAndEnterLogsIn()
    {
        TestProgram t;
        t.program->start();
        QWidget* login = t.window(QStringLiteral("frmPassword"));
        activate(login);
        auto* field = login->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        auto* ok = login->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QCOMPARE(QApplication::focusWidget(), field);
        QVERIFY(login->findChild<QWidget*>(QStringLiteral("effPassword"))->isVisible());
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(field, QStringLiteral("   "));
        QVERIFY(!ok->isEnabled());
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(t.services.messages.isEmpty()); // a blank field: Enter does nothing
        QVERIFY(login->isVisible());
        QTest::keyClicks(field, QStringLiteral("ChiaveIniziale "));
        QVERIFY(ok->isEnabled());
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(t.services.messages.isEmpty());
        QVERIFY(!login->isVisible());
        QVERIFY(t.window(QStringLiteral("frmAvvio"))->isVisible());
        QVERIFY(t.window(QStringLiteral("frmAvvio"))->isMaximized());
    }

    // A program killed while an unsaved invoice held 2,5 m of cable: once the next user is in,
    // the cable is back in the stock and the user is told.
    void loggingInGivesBackWhatAStoppedProgramHeld()
    {
        TestProgram t;
        Record cable(ProductRecord::layout());
        cable.setText(ProductRecord::Codice, u"CAVO");
        cable.setText(ProductRecord::Giacenza, u"7,5");
        cable.setText(ProductRecord::Costo, u"2,00");
        QVERIFY(writeFile(t.path(ProductRecord::fileName()), cable.bytes()));
        QVERIFY(writeFile(t.path(QStringLiteral("PrelieviSospesi.txt")),
                          "H\tx1\tgone-1-1\ta\t2026.fat\t12/2026\t0\tCAVO\t2.5\n"));

        t.program->start();
        QTest::keyClicks(t.child<QLineEdit>(QStringLiteral("frmPassword"), QStringLiteral("txtPassword")),
                         QStringLiteral("ChiaveIniziale"));
        QTest::mouseClick(t.child<QPushButton>(QStringLiteral("frmPassword"), QStringLiteral("cmdOK")),
                          Qt::LeftButton);
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastKind(), MessageKind::Information);
        QCOMPARE(t.services.lastMessage(),
                 QStringLiteral("Il programma non è stato chiuso normalmente mentre una fattura non salvata "
                                "conteneva articoli prelevati dal magazzino.\n\n"
                                "Gli articoli sono stati restituiti al magazzino:\n- CAVO: 2,5"));
        const Record after(ProductRecord::layout(), fileBytes(t.path(ProductRecord::fileName())));
        QCOMPARE(after.text(ProductRecord::Giacenza), QStringLiteral("10"));
        QCOMPARE(after.text(ProductRecord::Valore), QStringLiteral("20,00"));
    }

    void wrongPasswordAndBrokenFile()
    {
        TestProgram t;
        t.program->start();
        auto* field = t.child<QLineEdit>(QStringLiteral("frmPassword"), QStringLiteral("txtPassword"));
        QTest::keyClicks(field, QStringLiteral("sbagliata"));
        QTest::mouseClick(t.child<QPushButton>(QStringLiteral("frmPassword"), QStringLiteral("cmdOK")),
                          Qt::LeftButton);
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastKind(), MessageKind::Plain);
        QCOMPARE(t.services.lastMessage(), QStringLiteral("Attenzione: password errata."));
        QCOMPARE(field->text(), QString());

        writeIniString(t.path(passwordFileName()), u"Accesso", u"Valore", QStringLiteral("NOT-HEX"));
        QTest::keyClicks(field, QStringLiteral("chiaveiniziale"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(t.services.lastMessage(),
                 QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della "
                                "password. Si consiglia di reinstallare il software."));
        QVERIFY(t.window(QStringLiteral("frmPassword"))->isVisible());
    }

    void changingThePasswordWorksAtOnce()
    {
        TestProgram t;
        t.program->start();
        QWidget* login = t.window(QStringLiteral("frmPassword"));
        QTest::mouseClick(login->findChild<QPushButton*>(QStringLiteral("btnCambiaPassword")),
                          Qt::LeftButton);
        QWidget* change = t.window(QStringLiteral("frmCambiaPassword"));
        QVERIFY(change->isVisible());
        QVERIFY(!login->isVisible());
        activate(change);
        auto* oldField = change->findChild<QLineEdit*>(QStringLiteral("txtPasswordOld"));
        auto* newField = change->findChild<QLineEdit*>(QStringLiteral("txtPasswordNew"));
        auto* confirm = change->findChild<QLineEdit*>(QStringLiteral("txtConferma"));
        auto* ok = change->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QCOMPARE(QApplication::focusWidget(), oldField);

        QTest::keyClicks(oldField, QStringLiteral("chiaveiniziale"));
        QTest::keyClick(oldField, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), newField);
        QTest::keyClicks(newField, QStringLiteral("Segreta1"));
        QTest::keyClick(newField, Qt::Key_Return);
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(confirm, QStringLiteral("segreta1"));
        QVERIFY(ok->isEnabled());
        QTest::keyClick(confirm, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), oldField); // Enter never presses OK
        QVERIFY(t.services.messages.isEmpty());

        QTest::mouseClick(ok, Qt::LeftButton); // differs in case only: not confirmed
        QCOMPARE(t.services.lastMessage(),
                 QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. E' "
                                "necessario reinserire entrambi i valori."));
        QCOMPARE(newField->text(), QString());
        QCOMPARE(confirm->text(), QString());
        QCOMPARE(QApplication::focusWidget(), newField);

        QTest::keyClicks(newField, QStringLiteral("Segreta1"));
        QTest::keyClicks(confirm, QStringLiteral("Segreta1"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(t.services.lastMessage(),
                 QStringLiteral("Modifica della password completata con successo."));
        QVERIFY(!change->isVisible());
        QVERIFY(login->isVisible());
        auto* field = login->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        QCOMPARE(field->text(), QString());

        QTest::keyClicks(field, QStringLiteral("chiaveiniziale"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(t.services.lastMessage(), QStringLiteral("Attenzione: password errata."));
        QTest::keyClicks(field, QStringLiteral("SEGRETA1"));
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(t.window(QStringLiteral("frmAvvio"))->isVisible());
    }

    void changeInAReadOnlyFolderFailsAndKeepsThePassword()
    {
        TestProgram t;
        QWidget* change = t.window(QStringLiteral("frmCambiaPassword"));
        change->show();
        ReadOnlyFolder readOnly(t.dir.path());
        if (!readOnly.active())
            QSKIP("this machine cannot make a read-only folder");
        QTest::keyClicks(change->findChild<QLineEdit*>(QStringLiteral("txtPasswordOld")),
                         QStringLiteral("chiaveiniziale"));
        QTest::keyClicks(change->findChild<QLineEdit*>(QStringLiteral("txtPasswordNew")),
                         QStringLiteral("altra"));
        QTest::keyClicks(change->findChild<QLineEdit*>(QStringLiteral("txtConferma")),
                         QStringLiteral("altra"));
        QTest::mouseClick(change->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QCOMPARE(
            t.services.lastMessage(),
            QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                           "password. Si consiglia di reinstallare il software."));
        QVERIFY(change->isVisible());
        QCOMPARE(checkPassword(t.path(passwordFileName()), u"chiaveiniziale"), PasswordCheck::Right);
    }

    void windowsBackFromTheTaskBarKeepWhatWasTyped()
    {
#ifndef TARVELLO_HAS_INVOICES
        QSKIP("This build has no invoices: the launcher does not open the invoice menu.");
#endif
        TestProgram t;
        QWidget* launcher = logIn(t);
        QTest::mouseClick(launcher->findChild<QToolButton*>(QStringLiteral("btnFatture")), Qt::LeftButton);
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        auto* year = named<QLineEdit>(menu, u"txtAnnoFatture");
        year->setText(QStringLiteral("2019"));
        // Restored from the task bar: the window system shows it again (a spontaneous show).
        QShowEvent restored;
        QSpontaneKeyEvent::setSpontaneous(&restored);
        qApp->notify(menu, &restored); // sendEvent would clear the spontaneous mark
        QCOMPARE(year->text(), QStringLiteral("2019"));
        // Opened again by the program: today's year again.
        menu->hide();
        menu->show();
        QCOMPARE(year->text(), QStringLiteral("2026"));

        QWidget* change = t.window(QStringLiteral("frmCambiaPassword"));
        change->show();
        auto* oldField = change->findChild<QLineEdit*>(QStringLiteral("txtPasswordOld"));
        QTest::keyClicks(oldField, QStringLiteral("chiave"));
        QShowEvent again;
        QSpontaneKeyEvent::setSpontaneous(&again);
        qApp->notify(change, &again);
        QCOMPARE(oldField->text(), QStringLiteral("chiave"));
    }

    void passwordWindowsOpenCentred()
    {
        TestProgram t;
        t.program->start();
        for (const char* name : {"frmPassword", "frmCambiaPassword"}) {
            QWidget* w = t.window(QString::fromLatin1(name));
            w->show();
            const QRect screen = w->screen()->availableGeometry();
            QVERIFY2(qAbs(w->frameGeometry().center().x() - screen.center().x()) <= 1, name);
            QVERIFY2(qAbs(w->frameGeometry().center().y() - screen.center().y()) <= 1, name);
            QVERIFY2(w->pos() != QPoint(0, 0), name);
        }
    }

    void invoiceMenuProposesTheYearAndChecksFourDigits()
    {
#ifndef TARVELLO_HAS_INVOICES
        QSKIP("This build has no invoices: the launcher does not open the invoice menu.");
#endif
        TestProgram t;
        QWidget* launcher = logIn(t);
        QTest::mouseClick(launcher->findChild<QToolButton*>(QStringLiteral("btnFatture")), Qt::LeftButton);
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        QVERIFY(menu->isVisible());
        QVERIFY(!launcher->isVisible());
        auto* year = named<QLineEdit>(menu, u"txtAnnoFatture");
        QCOMPARE(year->text(), QStringLiteral("2026"));
        QCOMPARE(named<QLabel>(menu, u"lblMemory")->text(), QStringLiteral("avvio"));
        QCOMPARE(year->maxLength(), 4);

        year->clear();
        QTest::keyClicks(year, QStringLiteral("2a0.2"));
        QCOMPARE(year->text(), QStringLiteral("202"));
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);
        QCOMPARE(t.services.lastMessage(),
                 QStringLiteral("Attenzione: indicare l'anno solare utilizzando quattro cifre."));
        QVERIFY(menu->isVisible());

        QTest::mouseClick(named<PictureButton>(menu, u"imgEsci"), Qt::LeftButton);
        QVERIFY(!menu->isVisible());
        QVERIFY(launcher->isVisible()); // back to the launcher, not to the password
    }

    void launcherTabStopsOnceAtEachEntry()
    {
        TestProgram t;
        auto* launcher = static_cast<TfrmAvvio*>(logIn(t));
        activate(launcher);
        QList<QWidget*> stops;
        for (QWidget* w : launcherEntries(launcher))
            if (w->isEnabled())
                stops << w;
        // The keyboard starts on the first application this build can open.
        const qsizetype first = stops.indexOf(QApplication::focusWidget());
        QVERIFY2(first == 1, qPrintable(focusName()));
        QStringList visited;
        QStringList expected;
        for (qsizetype i = 1; i <= stops.size(); ++i) {
            press(Qt::Key_Tab);
            visited << focusName();
            expected << stops[(first + i) % stops.size()]->objectName();
        }
        QCOMPARE(visited, expected);
        for (qsizetype i = 1; i <= stops.size(); ++i)
            press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(focusName(), stops[first]->objectName());
    }

    void launcherArrowsMoveInRowsAndToTheNearest_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        const auto row = [](const char* name, const char* from, Qt::Key key, const char* to) {
            QTest::newRow(name) << QString::fromLatin1(from) << int(key) << QString::fromLatin1(to);
        };
        row("along the tiles", "btnClienti", Qt::Key_Right, "btnMagazzino");
        row("back along the tiles", "btnFatture", Qt::Key_Left, "btnMagazzino");
        row("no tile after the last", "btnFatture", Qt::Key_Right, "btnFatture");
        row("tiles up to the site strip", "btnFatture", Qt::Key_Up, "imgSito");
        row("site strip down to the middle tile", "imgSito", Qt::Key_Down, "btnMagazzino");
        row("tiles down to the nearest small picture", "btnClienti", Qt::Key_Down, "imgInfo");
        row("small pictures up to the nearest tile", "imgEsci", Qt::Key_Up, "btnFatture");
        row("along the small pictures", "imgGuida", Qt::Key_Right, "imgCopyright");
        row("nothing below the small pictures", "imgInfo", Qt::Key_Down, "imgInfo");
    }
    void launcherArrowsMoveInRowsAndToTheNearest()
    {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        TestProgram t;
        QWidget* launcher = logIn(t);
        activate(launcher);
        for (const QString& name : {from, to})
            if (!launcher->findChild<QWidget*>(name)->isEnabled())
                QSKIP("This build cannot open that application.");
        launcher->findChild<QWidget*>(from)->setFocus(Qt::TabFocusReason);
        press(Qt::Key(key));
        QCOMPARE(focusName(), to);
    }

    void launcherEnterAndSpaceOpenTheEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opens"); // a screen, a modal window, "url" or "quit"
        QTest::newRow("customers, Enter") << "btnClienti" << int(Qt::Key_Return) << "frmClienti";
        QTest::newRow("warehouse, Space") << "btnMagazzino" << int(Qt::Key_Space) << "frmMagazzino";
        QTest::newRow("invoices, keypad Enter") << "btnFatture" << int(Qt::Key_Enter) << "frmMenuFatture";
        QTest::newRow("information, Enter") << "imgInfo" << int(Qt::Key_Return) << "frmInfo";
        QTest::newRow("help, Space") << "imgGuida" << int(Qt::Key_Space) << "frmGuida";
        QTest::newRow("credits, Enter") << "imgCopyright" << int(Qt::Key_Return) << "frmSplash";
        QTest::newRow("site, Enter") << "imgSito" << int(Qt::Key_Return) << "url";
        QTest::newRow("exit, Space") << "imgEsci" << int(Qt::Key_Space) << "quit";
    }
    void launcherEnterAndSpaceOpenTheEntry()
    {
        QFETCH(QString, entry);
        QFETCH(int, key);
        QFETCH(QString, opens);
        TestProgram t;
        QWidget* launcher = logIn(t);
        activate(launcher);
        auto* button = launcher->findChild<QWidget*>(entry);
        if (!button->isEnabled())
            QSKIP("This build cannot open that application.");
        button->setFocus(Qt::TabFocusReason);
        press(Qt::Key(key));
        if (opens == u"quit") {
            QVERIFY(t.program->hasQuit());
        } else if (opens == u"url") {
            QCOMPARE(t.services.opened.size(), 1);
        } else if (QWidget* screen = t.window(opens); screen && !qobject_cast<QDialog*>(screen)) {
            QVERIFY(screen->isVisible());
            QVERIFY(!launcher->isVisible());
        } else {
            QCOMPARE(t.services.modalShown, QStringList{opens});
        }
    }

    void keyboardFocusIsPlainToSee()
    {
        TestProgram t;
        auto* launcher = static_cast<TfrmAvvio*>(logIn(t));
        activate(launcher);
        const QList<QWidget*> launcherStops = launcherEntries(launcher);
        for (QWidget* w : launcherStops) {
            if (!w->isEnabled())
                continue;
            QWidget* elsewhere = launcherStops[(launcherStops.indexOf(w) + 4) % launcherStops.size()];
            // At least a ring all around the entry changes.
            const int ring = 2 * (w->width() + w->height());
            QVERIFY2(pixelsChangedByFocus(w, elsewhere) >= ring, qPrintable(w->objectName()));
        }
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        AppContext::showScreen(menu);
        menu->showNormal();
        menu->resize(1366, 768); // a screen wider than the menu's panel
        activate(menu);
        auto* year = named<QLineEdit>(menu, u"txtAnnoFatture");
        for (QWidget* w : menuEntries(menu)) {
            // Nothing is squeezed below its height, the ring included.
            QVERIFY2(w->height() >= w->sizeHint().height(), qPrintable(w->objectName()));
            if (!w->isEnabled() || w == year) // the field has its yellow highlight
                continue;
            const int ring = 2 * (w->width() + w->height());
            QVERIFY2(pixelsChangedByFocus(w, year) >= ring, qPrintable(w->objectName()));
        }
    }

    void invoiceMenuKeys()
    {
        TestProgram t;
        QWidget* launcher = logIn(t);
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        AppContext::showScreen(menu);
        launcher->hide();
        activate(menu);
        QCOMPARE(focusName(), QStringLiteral("txtAnnoFatture"));
        QStringList visited;
        QStringList expected;
        for (QWidget* w : menuEntries(menu))
            if (w->isEnabled())
                expected << w->objectName();
        visited << focusName();
        for (qsizetype i = 1; i < expected.size(); ++i) {
            press(Qt::Key_Tab);
            visited << focusName();
        }
        QCOMPARE(visited, expected);

        // Left and Right stay in the year; Up and Down move between the rows.
        auto* year = named<QLineEdit>(menu, u"txtAnnoFatture");
        year->setFocus(Qt::TabFocusReason);
        year->setCursorPosition(4);
        press(Qt::Key_Left);
        QCOMPARE(focusName(), QStringLiteral("txtAnnoFatture"));
        QCOMPARE(year->cursorPosition(), 3);
        QCOMPARE(year->text(), QStringLiteral("2026"));
        // A build without the invoices passes over their entries.
        const bool invoices = named<QPushButton>(menu, u"btnApriRiepStats")->isEnabled();
        press(Qt::Key_Down);
        QCOMPARE(focusName(), invoices ? QStringLiteral("btnApriRiepStats") : QStringLiteral("imgGuida"));
        named<PictureButton>(menu, u"imgEsci")->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Left);
        QCOMPARE(focusName(), QStringLiteral("imgGuida"));
        press(Qt::Key_Up);
        QCOMPARE(focusName(), invoices ? QStringLiteral("imgEmail") : QStringLiteral("txtAnnoFatture"));

        // Space and Enter open the entry the keyboard is on.
        named<PictureButton>(menu, u"imgGuida")->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Space);
        press(Qt::Key_Return);
        QCOMPARE(t.services.modalShown,
                 (QStringList{QStringLiteral("frmGuida"), QStringLiteral("frmGuida")}));

        // Esc leaves the menu as its exit does.
        press(Qt::Key_Escape);
        QVERIFY(!menu->isVisible());
        QVERIFY(launcher->isVisible());
    }

    void helpInfoAndCreditsOpenTheirTargets()
    {
        TestProgram t;
        auto* launcher = static_cast<TfrmAvvio*>(logIn(t));
        QStringList titles;
        t.services.modal.insert(QStringLiteral("frmGuida"), [&](QDialog& d) {
            titles.append(named<QLabel>(&d, u"lblTitolo")->text());
            QTest::mouseClick(named<PictureButton>(&d, u"imgPDF"), Qt::LeftButton);
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(named<PictureButton>(launcher, u"imgGuida"), Qt::LeftButton);
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        menu->show();
        QTest::mouseClick(named<PictureButton>(menu, u"imgGuida"), Qt::LeftButton);
        QCOMPARE(titles, (QStringList{QStringLiteral("Uno sguardo a Tarvello."),
                                      QStringLiteral("Applicazione Emissione fatture proforma.")}));
        QCOMPARE(t.services.opened.value(0), QUrl::fromLocalFile(t.path(QStringLiteral("Guida.pdf"))));

        t.services.modal.insert(QStringLiteral("frmInfo"), [](QDialog& d) {
            QTest::mouseClick(named<PictureButton>(&d, u"imgEmail"), Qt::LeftButton);
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(named<PictureButton>(launcher, u"imgInfo"), Qt::LeftButton);
        const QUrl mail = t.services.opened.last();
        QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
        QUrlQuery query(mail);
        QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
                 QStringLiteral("Software Tarvello"));
        QCOMPARE(
            query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
            QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in oggetto:"));

        t.services.modal.insert(QStringLiteral("frmSplash"), [](QDialog& d) {
            QTest::mouseClick(named<LinkLabel>(&d, u"lnkWeb"), Qt::LeftButton);
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(named<PictureButton>(launcher, u"imgCopyright"), Qt::LeftButton);
        QCOMPARE(t.services.opened.last().scheme(), QStringLiteral("https"));
        QCOMPARE(t.services.modalShown,
                 (QStringList{QStringLiteral("frmGuida"), QStringLiteral("frmGuida"),
                              QStringLiteral("frmInfo"), QStringLiteral("frmSplash")}));
    }

    // Installed for several users the data is not beside the program: the information window
    // says where it is, and the help window opens the guide where the installation put it.
    void informationAndHelpFollowTheInstallation()
    {
        TestProgram t;
        auto* launcher = static_cast<TfrmAvvio*>(logIn(t));
        QString shown;
        t.services.modal.insert(QStringLiteral("frmInfo"), [&](QDialog& d) {
            shown = named<QLabel>(&d, u"lblCartella")->text();
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(named<PictureButton>(launcher, u"imgInfo"), Qt::LeftButton);
        QCOMPARE(shown, QStringLiteral("I dati del programma sono nella cartella:\n") + t.dir.path());

        const QString guide = QStringLiteral("/usr/share/doc/tarvello/Guida.pdf");
        t.program->setInstallation(QStringLiteral("/usr/share/tarvello"), guide);
        t.services.modal.insert(QStringLiteral("frmGuida"), [&](QDialog& d) {
            QTest::mouseClick(named<LinkLabel>(&d, u"lnkPDF"), Qt::LeftButton);
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(named<PictureButton>(launcher, u"imgGuida"), Qt::LeftButton);
        QCOMPARE(t.services.opened.value(0), QUrl::fromLocalFile(guide));
        QCOMPARE(t.program->shippedFilesFolder(), QStringLiteral("/usr/share/tarvello"));
    }

    // A desktop "opens" a missing file without a word (its opener starts and finds nothing): the
    // program's own services never hand it over and say it did not open, so the user is told
    // which file is missing. Anything else gets the desktop's own answer.
    void onlyAnExistingFileGoesToTheDesktop()
    {
        QTemporaryDir dir;
        const QString present = QDir(dir.path()).filePath(QStringLiteral("Fattura.pdf"));
        QVERIFY(writeFile(present));
        QList<QUrl> handed;
        bool desktopOpens = true;
        QtServices services([&](const QUrl& url) {
            handed.append(url);
            return desktopOpens;
        });
        const QUrl missing = QUrl::fromLocalFile(QDir(dir.path()).filePath(QStringLiteral("Guida.pdf")));
        const QUrl folder = QUrl::fromLocalFile(dir.path()); // a folder is not the file asked for
        const QUrl web(QStringLiteral("https://www.tarvello.it"));
        QVERIFY(!services.openUrl(missing));
        QVERIFY(!services.openUrl(folder));
        QVERIFY(handed.isEmpty());
        QVERIFY(services.openUrl(QUrl::fromLocalFile(present)));
        QVERIFY(services.openUrl(web));
        desktopOpens = false;
        QVERIFY(!services.openUrl(web));
        QCOMPARE(handed, (QList<QUrl>{QUrl::fromLocalFile(present), web, web}));
    }

    void theInputBoxShowsItsWholeTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("copies") << QStringLiteral("Numero copie da stampare");
        QTest::newRow("short") << QStringLiteral("Copie");
        QTest::newRow("long") << QStringLiteral(
            "Numero di copie del grafico statistico da mandare in stampa");
    }
    // The program's input box is as wide as its title bar needs: the caption in a bold title
    // font beside the window's icon and close button, never cut to "Nume… mpare".
    void theInputBoxShowsItsWholeTitle()
    {
        QFETCH(QString, title);
        QtServices services([](const QUrl&) { return false; });
        int width = -1;
        QString shownTitle;
        QTimer::singleShot(0, qApp, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QInputDialog*>(w); box && box->isVisible()) {
                    width = box->width();
                    shownTitle = box->windowTitle();
                    box->reject();
                }
            }
        });
        QCOMPARE(services.inputText(nullptr, title, QStringLiteral("Copie:"), QStringLiteral("1")),
                 std::optional<QString>());
        QCOMPARE(shownTitle, title);
        QFont bold = QApplication::font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(title) + 100;
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 wide, %2 needed").arg(width).arg(needed)));
    }

    void closingTheLauncherEndsTheProgram()
    {
        TestProgram t;
        QWidget* launcher = logIn(t);
        QVERIFY(!t.program->hasQuit());
        launcher->close();
        QVERIFY(t.program->hasQuit());
        QVERIFY(!t.window(QStringLiteral("frmPassword"))->isVisible());
    }

    void closingThePasswordWindowEndsTheProgram()
    {
        TestProgram t;
        t.program->start();
        QTest::mouseClick(t.child<QPushButton>(QStringLiteral("frmPassword"), QStringLiteral("cmdEsci")),
                          Qt::LeftButton);
        QVERIFY(t.program->hasQuit());
    }
};

int runShellTests(int argc, char** argv)
{
    ShellTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_shell.moc"

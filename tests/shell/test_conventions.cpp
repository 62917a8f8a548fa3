#include "namedcontrols.h"
#include "scriptedservices.h"
#include "shell/conventions.h"
#include "shell/keyboard.h"
#include "shell/previewwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

using namespace tarvello;
using namespace Qt::StringLiterals;

class ConventionsTest : public QObject
{
    Q_OBJECT

    QWidget* makeScreen(QList<QLineEdit*>& fields, int count)
    {
        auto* screen = new QWidget;
        auto* layout = new QVBoxLayout(screen);
        layout->setSpacing(12);
        for (int i = 0; i < count; ++i) {
            auto* e = new QLineEdit(screen);
            e->setObjectName(QStringLiteral("txtCampo%1").arg(i));
            layout->addWidget(e);
            fields.append(e);
        }
        screen->resize(300, 300);
        screen->show();
        QApplication::setActiveWindow(screen);
        if (!QTest::qWaitForWindowActive(screen))
            qWarning("the test window did not become active");
        return screen;
    }

private Q_SLOTS:
    // A fixed-size window on the screens people use: never past the work area (its title bar and
    // frame counted), as wide as its lines want while there is room, never narrower than designed
    // where the screen allows.
    void windowsStayWithinTheScreen_data()
    {
        QTest::addColumn<QSize>("design");
        QTest::addColumn<int>("wanted");
        QTest::addColumn<QSize>("workArea");
        QTest::addColumn<QSize>("size");
        QTest::newRow("summary, 1024x768 with a panel")
            << QSize(1016, 713) << 0 << QSize(1024, 740) << QSize(1008, 700);
        QTest::newRow("summary, 1366x768") << QSize(1016, 713) << 0 << QSize(1366, 768) << QSize(1016, 713);
        QTest::newRow("long lines, 1366x768")
            << QSize(862, 560) << 1500 << QSize(1366, 740) << QSize(1350, 560);
        QTest::newRow("long lines, 1920x1080")
            << QSize(862, 560) << 1500 << QSize(1920, 1050) << QSize(1500, 560);
        QTest::newRow("short lines keep the design")
            << QSize(862, 560) << 700 << QSize(1920, 1050) << QSize(862, 560);
    }
    void windowsStayWithinTheScreen()
    {
        QFETCH(QSize, design);
        QFETCH(int, wanted);
        QFETCH(QSize, workArea);
        QFETCH(QSize, size);
        QCOMPARE(sizeWithinScreen(design, wanted, workArea), size);
    }

    void keyFilters_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("decimal drops the full stop")
            << int(KeyFilter::Decimal) << QStringLiteral("12.50") << QStringLiteral("1250");
        QTest::newRow("decimal keeps the comma")
            << int(KeyFilter::Decimal) << QStringLiteral("a1,5-") << QStringLiteral("1,5");
        QTest::newRow("digits drop the comma")
            << int(KeyFilter::Digits) << QStringLiteral("20,24") << QStringLiteral("2024");
        QTest::newRow("digits drop letters and blanks")
            << int(KeyFilter::Digits) << QStringLiteral("a 7b") << QStringLiteral("7");
    }
    void keyFilters()
    {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QLineEdit edit;
        FieldRules::of(&edit)->filter(KeyFilter(filter));
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), kept);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text().size(), kept.size() - 1);
        // Pasting would bring in what the filter refuses: the clipboard holds a text that fits no
        // filter whole, and nothing of it may arrive.
        QGuiApplication::clipboard()->setText(QStringLiteral("9,5 x"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("9,5 x"));
        const QString before = edit.text();
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), before);
    }

    void numberFieldIsRetypedWhole_data()
    {
        QTest::addColumn<QList<QKeyCombination>>("select");
        QTest::newRow("Ctrl+A") << QList<QKeyCombination>{Qt::ControlModifier | Qt::Key_A};
        QTest::newRow("Home, Shift+End")
            << QList<QKeyCombination>{QKeyCombination(Qt::Key_Home), Qt::ShiftModifier | Qt::Key_End};
        QTest::newRow("End, Shift+Home")
            << QList<QKeyCombination>{QKeyCombination(Qt::Key_End), Qt::ShiftModifier | Qt::Key_Home};
        QTest::newRow("End, Shift+Left")
            << QList<QKeyCombination>{QKeyCombination(Qt::Key_End), Qt::ShiftModifier | Qt::Key_Left};
    }
    void numberFieldIsRetypedWhole()
    {
        QFETCH(QList<QKeyCombination>, select);
        QList<QLineEdit*> f;
        std::unique_ptr<QWidget> screen(makeScreen(f, 1));
        FieldRules::of(f[0])->filter(KeyFilter::Decimal);
        f[0]->setText(QStringLiteral("0"));
        f[0]->setFocus();
        f[0]->setCursorPosition(1);
        for (const QKeyCombination k : select)
            QTest::keyClick(f[0], k.key(), k.keyboardModifiers());
        QTest::keyClicks(f[0], QStringLiteral("22"));
        QCOMPARE(f[0]->text(), QStringLiteral("22"));
    }

    void enterAndSpacePressTheFocusedButton_data()
    {
        QTest::addColumn<bool>("picture");
        QTest::addColumn<int>("key");
        QTest::newRow("push button, Enter") << false << int(Qt::Key_Return);
        QTest::newRow("push button, keypad Enter") << false << int(Qt::Key_Enter);
        QTest::newRow("picture button, Enter") << true << int(Qt::Key_Return);
        QTest::newRow("picture button, Space") << true << int(Qt::Key_Space);
    }
    void enterAndSpacePressTheFocusedButton()
    {
        QFETCH(bool, picture);
        QFETCH(int, key);
        installKeyboardConventions();
        QList<QLineEdit*> f;
        std::unique_ptr<QWidget> screen(makeScreen(f, 1));
        QAbstractButton* button = nullptr;
        if (picture)
            button = new PictureButton(QStringLiteral("cmdSalva"), QStringLiteral(":/none.svg"),
                                       QStringLiteral("Salva"), QSize(24, 24), screen.get());
        else
            button = new QPushButton(QStringLiteral("Salva"), screen.get());
        screen->layout()->addWidget(button);
        button->show();
        int clicks = 0;
        connect(button, &QAbstractButton::clicked, button, [&clicks] { ++clicks; });
        f[0]->setFocus();
        // Tab reaches the button, as the mouse does not need to.
        QTest::keyClick(f[0], Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(button, Qt::Key(key));
        QCOMPARE(clicks, 1);
    }

    void enterOrderMovesHighlightAndWraps()
    {
        QList<QLineEdit*> f;
        std::unique_ptr<QWidget> screen(makeScreen(f, 3));
        addHighlights({f[0], f[1], f[2]});
        setEnterOrder({f[0], f[1], f[2]});
        auto visibleHighlights = [&] {
            QStringList names;
            for (auto* h : screen->findChildren<FocusHighlight*>())
                if (h->isVisible())
                    names.append(h->objectName());
            return names;
        };
        f[2]->setFocus();
        f[0]->setFocus();
        QCOMPARE(visibleHighlights(), QStringList{QStringLiteral("effCampo0")});
        QTest::keyClicks(f[0], QStringLiteral("x"));
        QTest::keyClick(f[0], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f[1]);
        QCOMPARE(f[0]->text(), QStringLiteral("x")); // Enter never reaches the field
        QCOMPARE(visibleHighlights(), QStringList{QStringLiteral("effCampo1")});
        QTest::keyClick(f[1], Qt::Key_Enter);
        QTest::keyClick(f[2], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f[0]);
        auto* h = screen->findChild<FocusHighlight*>(QStringLiteral("effCampo0"));
        QCOMPARE(h->geometry(), f[0]->geometry().adjusted(-4, -4, 4, 4));
    }

    void upperCaseFieldTrimsAndCapitalisesAsTyped()
    {
        QLineEdit edit;
        makeUpperCase(&edit);
        QTest::keyClicks(&edit, QStringLiteral("ab"));
        QCOMPARE(edit.text(), QStringLiteral("AB"));
        QTest::keyClick(&edit, Qt::Key_Space);
        QCOMPARE(edit.text(), QStringLiteral("AB"));
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QStringLiteral("è"), Qt::NoModifier);
        QCOMPARE(edit.text(), QStringLiteral("ABè"));
    }

    void leavingIsMovingOnInsideTheWindow()
    {
        QList<QLineEdit*> f;
        std::unique_ptr<QWidget> screen(makeScreen(f, 2));
        int tidied = 0;
        FieldRules::of(f[0])->onLeave([&] { ++tidied; });
        screen->show();
        QApplication::setActiveWindow(screen.get());
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        f[0]->setFocus();
        QCOMPARE(QApplication::focusWidget(), f[0]);

        // A message box or another window takes the focus, then gives it back: nothing is tidied.
        QWidget box;
        box.show();
        QApplication::setActiveWindow(&box);
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QApplication::setActiveWindow(screen.get());
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        QCOMPARE(QApplication::focusWidget(), f[0]);
        QCOMPARE(tidied, 0);

        // The user moves on with Tab: that is leaving.
        QTest::keyClick(f[0], Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f[1]);
        QCOMPARE(tidied, 1);
    }

    void textTheProgramPutsIsNeverCutToTheTypingLimit()
    {
        QLineEdit edit;
        edit.setMaxLength(5);
        edit.show();
        setControlText(&edit, QStringLiteral("abcdefgh"));
        QCOMPARE(edit.text(), QStringLiteral("abcdefgh"));
        QCOMPARE(edit.cursorPosition(), 0); // shown from its start, however narrow the field
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClicks(&edit, QStringLiteral("x"));
        QCOMPARE(edit.text(), QStringLiteral("abcdefgh")); // no typing beyond what was put
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QStringLiteral("abcd"));
        QTest::keyClicks(&edit, QStringLiteral("xyz"));
        QCOMPARE(edit.text(), QStringLiteral("abcdx")); // shortened: the typing limit again
        setControlText(&edit, QStringLiteral("ab"));
        QCOMPARE(edit.text(), QStringLiteral("ab"));
    }

    void previewOffersWhatIsDescribedAndNoEditing()
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::temp().filePath(QStringLiteral("anteprima_prova.pdf")));
        ScriptedServices services;
        int painted = 0;
        PreviewWindow preview(printer, services,
                              [&](QPainter& painter, QPagedPaintDevice& device, Progress*) {
                                  ++painted;
                                  for (int page = 0; page < 3; ++page) {
                                      if (page > 0 && !device.newPage())
                                          return false;
                                      painter.drawText(100, 100, QStringLiteral("Pagina %1").arg(page + 1));
                                  }
                                  return true;
                              });
        preview.show();
        QApplication::processEvents();
        QVERIFY(painted >= 1);
        QStringList commands;
        for (const QAction* a : preview.actions())
            commands << a->objectName();
        QCOMPARE(commands,
                 (QStringList{u"actStampa"_s, u"actAdattaLarghezza"_s, u"actAdattaPagina"_s,
                              u"actIngrandisci"_s, u"actRiduci"_s, u"actPaginaSingola"_s, u"actMiniature"_s,
                              u"actPrimaPagina"_s, u"actPaginaPrecedente"_s, u"actPaginaSuccessiva"_s,
                              u"actUltimaPagina"_s, u"actSchermoIntero"_s, u"actChiudi"_s}));
        auto trigger = [&](const char* name) {
            preview.findChild<QAction*>(QString::fromLatin1(name))->trigger();
            return preview.findChild<QLabel*>(u"lblPagina"_s)->text();
        };
        QCOMPARE(named<QPrintPreviewWidget>(&preview, u"panPagine")->pageCount(), 3);
        QCOMPARE(trigger("actUltimaPagina"), u"3 di 3"_s);
        QCOMPARE(trigger("actPaginaSuccessiva"), u"3 di 3"_s); // no page beyond the last
        QCOMPARE(trigger("actPaginaPrecedente"), u"2 di 3"_s);
        QCOMPARE(trigger("actPrimaPagina"), u"1 di 3"_s);
        trigger("actMiniature");
        QCOMPARE(named<QPrintPreviewWidget>(&preview, u"panPagine")->viewMode(),
                 QPrintPreviewWidget::AllPagesView);
        trigger("actSchermoIntero");
        QVERIFY(preview.findChild<QAction*>(u"actSchermoIntero"_s)->isChecked());
        trigger("actChiudi");
        QVERIFY(!preview.isVisible());

        // Esc closes it too, wherever the focus is in it.
        preview.show();
        QApplication::setActiveWindow(&preview);
        QVERIFY(QTest::qWaitForWindowActive(&preview));
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &preview, Qt::Key_Escape);
        QVERIFY(!preview.isVisible());
    }

    void provinceFieldOffersTheCodesAndKeepsTypedText()
    {
        QList<QLineEdit*> f;
        std::unique_ptr<QWidget> screen(makeScreen(f, 1));
        auto* combo = new QComboBox(screen.get());
        screen->layout()->addWidget(combo);
        combo->show();
        makeProvinceField(combo);
        QCOMPARE(combo->count(), 112);
        QCOMPARE(combo->itemText(0), QStringLiteral("AG"));
        QCOMPARE(combo->itemText(111), QStringLiteral("VV"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("BO")));
        f[0]->setFocus();
        combo->setFocus();
        QCOMPARE(QApplication::focusWidget() == combo || QApplication::focusWidget() == combo->lineEdit(),
                 true);
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(combo->currentText(), QStringLiteral("BO"));
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("zz"));
        QCOMPARE(combo->currentText(), QStringLiteral("BO")); // at most two characters

        // One letter typed stays one letter, whether the user goes on with Tab or with Enter:
        // no completion to the first code it begins ("r" is not "RA", "e" is not "EE").
        for (Qt::Key leave : {Qt::Key_Tab, Qt::Key_Return}) {
            combo->setFocus();
            combo->setEditText(QString());
            QTest::keyClicks(combo->lineEdit(),
                             leave == Qt::Key_Tab ? QStringLiteral("r") : QStringLiteral("e"));
            QTest::keyClick(combo->lineEdit(), leave);
            QCOMPARE(combo->currentText(), leave == Qt::Key_Tab ? QStringLiteral("R") : QStringLiteral("E"));
        }
    }

    // What a field says about a key it discards: the character and what to write instead, in the
    // window's status line or, without one, in a tooltip at the field; a key that types nothing
    // says nothing.
    void aRefusedKeySaysWhyAtTheField_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<bool>("refusesAccents"); // the customer card's refused characters
        QTest::addColumn<bool>("statusLine");
        QTest::addColumn<bool>("composed"); // committed by a compose key or an input method
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("hint"); // empty: nothing said

        const int none = int(Qt::NoModifier);
        const int ctrl = int(Qt::ControlModifier);
        const auto decimal = int(KeyFilter::Decimal);
        const auto digits = int(KeyFilter::Digits);
        const auto text = int(KeyFilter::None);
        const QString number = QStringLiteral("12");
        QTest::newRow("decimal: full stop, status line")
            << decimal << false << true << false << int(Qt::Key_Period) << none << u"."_s << number
            << u"Il carattere «.» non è accettato in questo campo: scrivere solo cifre e la virgola."_s;
        QTest::newRow("digits: comma, tooltip")
            << digits << false << false << false << int(Qt::Key_Comma) << none << u","_s << number
            << u"Il carattere «,» non è accettato in questo campo: scrivere solo cifre."_s;
        QTest::newRow("digits: blank, status line")
            << digits << false << true << false << int(Qt::Key_Space) << none << u" "_s << number
            << u"Lo spazio non è accettato in questo campo: scrivere solo cifre."_s;
        QTest::newRow("decimal: AltGr character (Ctrl+Alt on Windows), tooltip")
            << decimal << false << false << false << int(Qt::Key_E)
            << int(Qt::ControlModifier | Qt::AltModifier) << u"€"_s << number
            << u"Il carattere «€» non è accettato in questo campo: scrivere solo cifre e la virgola."_s;
        QTest::newRow("digits: composed accented letter, tooltip")
            << digits << false << false << true << 0 << none << u"é"_s << number
            << u"Il carattere «é» non è accettato in questo campo: scrivere solo cifre."_s;
        QTest::newRow("text: refused accented letter, status line")
            << text << true << true << false << int(Qt::Key_unknown) << none << u"ì"_s << number
            << u"Il carattere «ì» non è accettato in questo campo: scrivere «i'» al suo posto."_s;
        QTest::newRow("text: refused letter from an input method, tooltip")
            << text << true << false << true << 0 << none << u"Forlì"_s << number
            << u"Il carattere «ì» non è accettato in questo campo: scrivere «i'» al suo posto."_s;

        // Accepted characters are typed without a word.
        QTest::newRow("decimal: comma accepted") << decimal << false << true << false << int(Qt::Key_Comma)
                                                 << none << u","_s << u"12,"_s << QString();
        QTest::newRow("text: plain letters from an input method")
            << text << true << false << true << 0 << none << u"Forli'"_s << u"12Forli'"_s << QString();
        // Keys that type nothing, and shortcuts, are never explained.
        const struct {
            const char* name;
            int filter;
            bool refusesAccents;
            bool statusLine;
            Qt::Key key;
            int modifiers;
            QString text;
        } silent[] = {
            {"decimal: Ctrl+A, status line", decimal, false, true, Qt::Key_A, ctrl, u"\x01"_s},
            {"decimal: Ctrl+V, tooltip", decimal, false, false, Qt::Key_V, ctrl, u"\x16"_s},
            {"digits: Alt+B, status line", digits, false, true, Qt::Key_B, int(Qt::AltModifier), u"b"_s},
            {"digits: Escape, tooltip", digits, false, false, Qt::Key_Escape, none, u"\x1b"_s},
            {"digits: up arrow, status line", digits, false, true, Qt::Key_Up, none, QString()},
            {"decimal: F2, tooltip", decimal, false, false, Qt::Key_F2, none, QString()},
            {"decimal: Ctrl+Page Down, status line", decimal, false, true, Qt::Key_PageDown, ctrl, QString()},
            {"text: Ctrl with a refused letter, status line", text, true, true, Qt::Key_unknown, ctrl,
             u"ì"_s},
        };
        for (const auto& k : silent)
            QTest::newRow(k.name) << k.filter << k.refusesAccents << k.statusLine << false << int(k.key)
                                  << k.modifiers << k.text << number << QString();
    }
    void aRefusedKeySaysWhyAtTheField()
    {
        QFETCH(int, filter);
        QFETCH(bool, refusesAccents);
        QFETCH(bool, statusLine);
        QFETCH(bool, composed);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(QString, hint);

        QList<QLineEdit*> f;
        std::unique_ptr<QWidget> screen(makeScreen(f, 1));
        const QString ready = QStringLiteral("Pronto per archiviare una nuova scheda...");
        StatusLine* line =
            statusLine ? new StatusLine(ready, QColor(0x57, 0x70, 0xDA), screen.get()) : nullptr;
        if (line) {
            screen->layout()->addWidget(line);
            line->show();
        }
        FieldRules::of(f[0])->filter(KeyFilter(filter));
        if (refusesAccents)
            FieldRules::of(f[0])->refuse([](QChar c) { return c == u'ì' || c == u'é'; });
        f[0]->setText(QStringLiteral("12"));
        f[0]->setFocus();
        // A tooltip of the test's own at the field: whatever replaces it was said about the key.
        const QString quiet = QStringLiteral("(niente da dire)");
        QToolTip::showText(f[0]->mapToGlobal(QPoint(0, 0)), quiet, f[0]);

        if (composed) {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(f[0], &commit);
        } else {
            QTest::sendKeyEvent(QTest::Click, f[0], Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
        }
        QCOMPARE(f[0]->text(), kept);
        QVERIFY(QToolTip::isVisible());
        if (line) {
            QCOMPARE(line->text(), hint.isEmpty() ? ready : hint);
            QCOMPARE(QToolTip::text(), quiet);
        } else {
            QCOMPARE(QToolTip::text(), hint.isEmpty() ? quiet : hint);
        }
        QToolTip::hideText();
    }

    void statusLineShowsHintsAndEmptiesOverBackground()
    {
        QWidget screen;
        auto* button = new QPushButton(QStringLiteral("Salva"), &screen);
        button->setGeometry(10, 10, 80, 30);
        auto* line = new StatusLine(QStringLiteral("Pronto per archiviare una nuova scheda..."),
                                    QColor(0x57, 0x70, 0xDA), &screen);
        line->setGeometry(0, 170, 300, 30);
        line->addHint(button, QStringLiteral("Salva la scheda corrente."));
        line->clearOver(&screen);
        screen.resize(300, 200);
        screen.show();
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        QCOMPARE(line->text(), QStringLiteral("Salva la scheda corrente."));
        QEvent enterBackground(QEvent::Enter); // a window opening under a still mouse
        QApplication::sendEvent(&screen, &enterBackground);
        QCOMPARE(line->text(), QStringLiteral("Salva la scheda corrente."));
        QTest::mouseMove(&screen, QPoint(200, 100));
        QCOMPARE(line->text(), QString());
        QTest::mouseMove(&screen, QPoint(210, 110));
        QCOMPARE(line->text(), QString());
        QCOMPARE(button->toolTip(), QStringLiteral("Salva la scheda corrente."));
    }

    void linkTurnsOrangeWhilePressedAndClicks()
    {
        LinkLabel link(QStringLiteral("Imposta logo Ditta"));
        link.resize(150, 20);
        link.show();
        int clicks = 0;
        connect(&link, &LinkLabel::clicked, this, [&] { ++clicks; });
        QCOMPARE(link.palette().color(QPalette::WindowText).name(), QStringLiteral("#00008b"));
        QTest::mousePress(&link, Qt::LeftButton);
        QCOMPARE(link.palette().color(QPalette::WindowText).name(), QStringLiteral("#ffa500"));
        QTest::mouseRelease(&link, Qt::LeftButton);
        QCOMPARE(link.palette().color(QPalette::WindowText).name(), QStringLiteral("#00008b"));
        QCOMPARE(clicks, 1);
    }
};

int runConventionTests(int argc, char** argv)
{
    ConventionsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_conventions.moc"

// The keyboard reaches every window of the program: Esc closes each secondary window, Enter on a
// line of each result list does what a double click on it does, and the main screens' keys press
// their buttons. The tables are built from what this build has: a window it lacks is skipped.
#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "archive/record.h"
#include "files.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include <functional>

using namespace tarvello;

namespace
{

// The screens a user works on: Esc is not their way out, their own exit is.
const QStringList mainScreens{QStringLiteral("frmPassword"), QStringLiteral("frmAvvio"),
                              QStringLiteral("frmClienti"), QStringLiteral("frmMagazzino"),
                              QStringLiteral("frmFatture")};

QString focusName()
{
    const QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

bool activate(QWidget* w)
{
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

// An archive of records, each given as (field name, text) pairs.
using Fields = QList<std::pair<const char*, QString>>;

void writeRecords(const QString& path, const RecordLayout& layout, const QList<Fields>& records)
{
    QList<QByteArray> bytes;
    for (const Fields& fields : records) {
        Record r(layout);
        for (const auto& [name, text] : fields)
            r.setText(QString::fromLatin1(name), text);
        bytes.append(r.bytes());
    }
    QVERIFY(writeArchive(path, bytes));
}

// Shows a main screen as the launcher does (the invoice screen through the invoice menu, on 2026).
QWidget* openScreen(TestProgram& t, const QString& name)
{
    if (name == u"frmFatture") {
        auto* menu = static_cast<TfrmMenuFatture*>(t.window(QStringLiteral("frmMenuFatture")));
        menu->show();
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(QStringLiteral("2026"));
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriFatture"), Qt::LeftButton);
    } else {
        AppContext::showScreen(t.window(name));
    }
    QWidget* screen = t.window(name);
    if (!activate(screen))
        qWarning("%s did not become active", qPrintable(name));
    return screen;
}

const QString yes = QStringLiteral("Sì");

void twoCustomers(TestProgram& t)
{
    writeRecords(
        t.path(CustomerRecord::fileName()), CustomerRecord::layout(),
        {{{"Cognome", QStringLiteral("Rossi")}, {"Nome", QStringLiteral("Mario")}, {"Ricontatta", yes}},
         {{"Cognome", QStringLiteral("Bianchi")}, {"Nome", QStringLiteral("Anna")}, {"Ricontatta", yes}}});
}

void twoProducts(TestProgram& t)
{
    const auto product = [](const QString& code, const QString& description) {
        return Fields{{"Codice", code},
                      {"Descrizione", description},
                      {"Prezzo", QStringLiteral("10,00")},
                      {"Giacenza", QStringLiteral("1")},
                      {"Sottoscorta", QStringLiteral("5")}};
    };
    writeRecords(t.path(ProductRecord::fileName()), ProductRecord::layout(),
                 {product(QStringLiteral("B2"), QStringLiteral("Valvola")),
                  product(QStringLiteral("A1"), QStringLiteral("Pneumatico"))});
}

void twoInvoices(TestProgram& t)
{
    const auto invoice = [](const QString& number, const QString& customer) {
        return Fields{{"NumFatt", number},
                      {"Data", QStringLiteral("01/02/2026")},
                      {"Cliente", customer},
                      {"TotFattura", QStringLiteral("10,00")},
                      {"Saldata", QStringLiteral("No")}};
    };
    writeRecords(t.path(InvoiceRecord::fileName(QStringLiteral("2026"))), InvoiceRecord::layout(),
                 {invoice(QStringLiteral("1"), QStringLiteral("Rossi")),
                  invoice(QStringLiteral("2"), QStringLiteral("Bianchi"))});
}

// One result list: what it lists, where it is opened from, and where the line chosen shows.
struct ListWindow {
    std::function<void(TestProgram&)> prepare;
    QString screen;           // the main screen it is opened from
    QString button;           // that screen's button that opens it
    QString shows;            // the control that shows the record of the line chosen
    bool shownInList = false; // the list's own control, not the screen's
};

} // namespace

Q_DECLARE_METATYPE(ListWindow)

class KeyboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void escClosesEverySecondaryWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("madeForEachUse");
        TestProgram t;
        for (const QString& name : t.program->dialogNames())
            QTest::newRow(qPrintable(name + QStringLiteral(", opened"))) << name << true;
        for (const QWidget* w : t.program->windows())
            if (!mainScreens.contains(w->objectName()))
                QTest::newRow(qPrintable(w->objectName() + QStringLiteral(", the program's own")))
                    << w->objectName() << false;
    }
    void escClosesEverySecondaryWindow()
    {
        QFETCH(QString, name);
        QFETCH(bool, madeForEachUse);
        TestProgram t;
        QWidget* launcher = openScreen(t, QStringLiteral("frmAvvio"));
        // Esc where the focus is when the window opens, or to the window when nothing in it has it.
        const auto pressEsc = [](QWidget* window) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && window->isAncestorOf(focus) ? focus : window, Qt::Key_Escape);
            return !window->isVisible();
        };
        bool closed = false;
        if (madeForEachUse) {
            std::unique_ptr<QDialog> dialog = t.program->createDialog(name, launcher);
            QVERIFY(dialog);
            t.services.modal.insert(name, [&](QDialog& d) {
                closed = pressEsc(&d);
                return d.result();
            });
            t.services.runModal(*dialog);
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
        } else {
            QWidget* window = t.window(name);
            window->show();
            QVERIFY(activate(window));
            closed = pressEsc(window);
        }
        QVERIFY(closed);
    }

    void enterOnALineDoesWhatADoubleClickDoes_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<ListWindow>("window");
        QTest::addColumn<QString>("shown"); // the second line's record, where the line chosen shows
        QTest::newRow("customer search")
            << "frmTrovaClienti"
            << ListWindow{twoCustomers, QStringLiteral("frmClienti"), QStringLiteral("cmdTrova"),
                          QStringLiteral("txtCognome")}
            << "Rossi";
        QTest::newRow("customers to recontact")
            << "frmRicontatta"
            << ListWindow{twoCustomers, QStringLiteral("frmClienti"), QStringLiteral("cmdRicontatta"),
                          QStringLiteral("txtCognome")}
            << "Rossi";
        QTest::newRow("product search") << "frmTrovaMagazzino"
                                        << ListWindow{twoProducts, QStringLiteral("frmMagazzino"),
                                                      QStringLiteral("cmdTrova"), QStringLiteral("txtCodice")}
                                        << "B2";
        QTest::newRow("low stock") << "frmSottoscorta"
                                   << ListWindow{twoProducts, QStringLiteral("frmMagazzino"),
                                                 QStringLiteral("cmdSottoscorta"),
                                                 QStringLiteral("txtCodice")}
                                   << "B2";
        QTest::newRow("invoice search")
            << "frmTrovaFatture"
            << ListWindow{twoInvoices, QStringLiteral("frmFatture"), QStringLiteral("cmdTrova"),
                          QStringLiteral("txtNumFatt")}
            << "2";
        QTest::newRow("unpaid invoices")
            << "frmSospese"
            << ListWindow{twoInvoices, QStringLiteral("frmFatture"), QStringLiteral("cmdSospese"),
                          QStringLiteral("txtNumFatt")}
            << "2";
        QTest::newRow("articles for an invoice row")
            << "frmImportaMagazzino"
            << ListWindow{twoProducts, QStringLiteral("frmFatture"), QStringLiteral("impMag01"),
                          QStringLiteral("lblCodice"), true}
            << "B2";
    }
    void enterOnALineDoesWhatADoubleClickDoes()
    {
        QFETCH(QString, list);
        QFETCH(ListWindow, window);
        QFETCH(QString, shown);
        {
            TestProgram probe;
            if (!probe.program->hasDialog(list) || !probe.window(window.screen))
                QSKIP("This build lacks the list or the screen it is opened from.");
        }
        // What the user sees afterwards: where the record shows, and whether the list stayed open.
        const auto chooseSecondLine = [&](bool withKeys) -> QString {
            TestProgram t;
            window.prepare(t);
            QWidget* screen = openScreen(t, window.screen);
            QString outcome;
            t.services.modal.insert(list, [&](QDialog& d) {
                if (auto* search = d.findChild<QPushButton*>(QStringLiteral("btnCerca")))
                    QTest::mouseClick(search, Qt::LeftButton); // every record
                auto* lines = d.findChild<ResultList*>(QStringLiteral("lstRecords"));
                if (!lines || lines->count() != 2) {
                    outcome = QStringLiteral("no list of two lines");
                    return d.result();
                }
                if (withKeys) {
                    lines->setFocus(Qt::TabFocusReason);
                    QTest::keyClick(lines, Qt::Key_Home);
                    QTest::keyClick(lines, Qt::Key_Down);
                    QTest::keyClick(lines, Qt::Key_Return);
                } else {
                    const QRect line = lines->visualRect(lines->model()->index(1, 0));
                    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, line.center());
                }
                outcome = d.isVisible() ? QStringLiteral("(open)") : QStringLiteral("(closed)");
                if (window.shownInList)
                    outcome = childText(&d, window.shows) + u' ' + outcome + u", focus on " + focusName();
                return d.result();
            });
            QTest::mouseClick(screen->findChild<QAbstractButton*>(window.button), Qt::LeftButton);
            if (!window.shownInList)
                outcome.prepend(childText(screen, window.shows) + u' ');
            return outcome;
        };
        const QString clicked = chooseSecondLine(false);
        const QString pressed = chooseSecondLine(true);
        QCOMPARE(pressed, clicked);
        QVERIFY2(clicked.startsWith(shown + u' '), qPrintable(clicked));
    }

    // Every window with a help picture opens its help with F1, wherever the focus is in it.
    void f1OpensTheHelpWhereverThereIsOne_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("madeForEachUse");
        TestProgram t;
        const auto hasHelp = [](const QWidget* w) {
            for (const char* name : {"cmdGuida", "imgGuida", "icoGuida"})
                if (w->findChild<QAbstractButton*>(QString::fromLatin1(name)))
                    return true;
            return false;
        };
        for (const QString& name : t.program->dialogNames())
            if (std::unique_ptr<QDialog> d = t.program->createDialog(name, nullptr); d && hasHelp(d.get()))
                QTest::newRow(qPrintable(name + QStringLiteral(", opened"))) << name << true;
        for (const QWidget* w : t.program->windows())
            if (w->objectName() != u"frmGuida" && hasHelp(w))
                QTest::newRow(qPrintable(w->objectName() + QStringLiteral(", the program's own")))
                    << w->objectName() << false;
    }
    void f1OpensTheHelpWhereverThereIsOne()
    {
        QFETCH(QString, name);
        QFETCH(bool, madeForEachUse);
        TestProgram t;
        t.services.acceptPrint = false;
        QWidget* launcher = openScreen(t, QStringLiteral("frmAvvio"));
        QString helpTitle;
        t.services.modal.insert(QStringLiteral("frmGuida"), [&](QDialog& d) {
            helpTitle = d.windowTitle();
            return 0;
        });
        const auto pressF1 = [](QWidget* window) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && window->isAncestorOf(focus) ? focus : window, Qt::Key_F1);
        };
        bool helped = false;
        if (madeForEachUse) {
            std::unique_ptr<QDialog> dialog = t.program->createDialog(name, launcher);
            t.services.modal.insert(name, [&](QDialog& d) {
                pressF1(&d);
                helped = !helpTitle.isNull();
                return 0;
            });
            t.services.runModal(*dialog);
        } else {
            QWidget* window = mainScreens.contains(name) ? openScreen(t, name) : t.window(name);
            window->show();
            QVERIFY(activate(window));
            pressF1(window);
            helped = !helpTitle.isNull();
        }
        QVERIFY2(helped, qPrintable(name));
    }

    void shortcutsPressTheirButtons_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("named"); // as the button's hint names the key
        const struct {
            QKeySequence key;
            const char* button;
            const char* named;
        } keys[] = {
            {QKeySequence(Qt::CTRL | Qt::Key_S), "cmdSalva", "Ctrl+S"},
            {QKeySequence(Qt::CTRL | Qt::Key_N), "cmdNuovo", "Ctrl+N"},
            {QKeySequence(Qt::CTRL | Qt::Key_F), "cmdTrova", "Ctrl+F"},
            {QKeySequence(Qt::CTRL | Qt::Key_P), "cmdStampa", "Ctrl+P"},
            {QKeySequence(Qt::Key_F1), "cmdGuida", "F1"},
            {QKeySequence(Qt::CTRL | Qt::Key_Home), "cmdPrimo", "Ctrl+Home"},
            {QKeySequence(Qt::CTRL | Qt::Key_PageUp), "cmdIndietro", "Ctrl+PgUp"},
            {QKeySequence(Qt::CTRL | Qt::Key_PageDown), "cmdAvanti", "Ctrl+PgDown"},
            {QKeySequence(Qt::CTRL | Qt::Key_End), "cmdUltimo", "Ctrl+End"},
        };
        for (const char* screen : {"frmClienti", "frmMagazzino", "frmFatture"})
            for (const auto& k : keys)
                QTest::newRow(qPrintable(QString::fromLatin1(screen) + u", " + QString::fromLatin1(k.named)))
                    << QString::fromLatin1(screen) << k.key << QString::fromLatin1(k.button)
                    << QString::fromLatin1(k.named);
    }
    void shortcutsPressTheirButtons()
    {
        QFETCH(QString, screen);
        QFETCH(QKeySequence, key);
        QFETCH(QString, button);
        QFETCH(QString, named);
        TestProgram t;
        if (!t.window(screen))
            QSKIP("This build lacks the screen.");
        t.services.acceptPrint = false; // a card prints at once: no printer here
        QWidget* w = openScreen(t, screen);
        auto* target = w->findChild<QAbstractButton*>(button);
        QVERIFY(target);
        QVERIFY2(target->toolTip().endsWith(QStringLiteral(" (") + named + u')'),
                 qPrintable(target->toolTip()));
        // From the field the screen opens on, where the user types.
        QWidget* field = QApplication::focusWidget();
        QVERIFY2(qobject_cast<QLineEdit*>(field), qPrintable(focusName()));
        QSignalSpy pressed(target, &QAbstractButton::clicked);
        QTest::keyClick(field, Qt::Key(key[0].key()), key[0].keyboardModifiers());
        QCOMPARE(pressed.count(), 1);
    }
};

TARVELLO_TEST_MAIN(KeyboardTest)

#include "test_keyboard.moc"

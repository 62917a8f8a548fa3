// Nothing the user does is refused in silence: a key a field discards is named in the window's
// status line (or, without one, in a tooltip at the field), and a file or address the desktop
// cannot open is named in a message, so it can be opened by hand. Driven through every screen of
// this build; the rows of an application the build leaves out are skipped.
#include "files.h"
#include "shell/conventions.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QToolTip>

#include <functional>

using namespace tarvello;
using namespace Qt::StringLiterals;

namespace
{

// The window's own status line, if it has one (not one of a window it owns).
StatusLine* statusLineOf(QWidget* window)
{
    for (StatusLine* line : window->findChildren<StatusLine*>())
        if (line->window() == window)
            return line;
    return nullptr;
}

QAbstractButton* button(QObject* parent, const char* name)
{
    return parent->findChild<QAbstractButton*>(QString::fromLatin1(name));
}

void click(QAbstractButton* b)
{
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

// One of the program's own windows, or a secondary window made for this test (kept in `made`);
// shown and active, as when the user types into it.
QWidget* showWindow(TestProgram& t, const QString& name, std::unique_ptr<QDialog>& made)
{
    QWidget* w = t.window(name);
    if (!w) {
        made = t.program->createDialog(name, nullptr);
        w = made.get();
    }
    if (!w)
        return nullptr;
    w->show();
    QApplication::setActiveWindow(w);
    if (!QTest::qWaitForWindowActive(w))
        qWarning("the window did not become active");
    return w;
}

// A document for the desktop to open; one that cannot be made is logged, and its row then fails on
// what it checks.
void writePdf(const QString& path)
{
    static_cast<void>(writeFile(path, "%PDF-1.4\n"));
}

// One way of asking the desktop to open something, as the user does it. It returns false when
// this build lacks the windows it needs, and otherwise what must come out the same whether the
// desktop opens the target or not (a window's result, a file written).
using Opener = std::function<bool(TestProgram&, QString& outcome)>;

bool throughLauncher(TestProgram& t, const char* picture, const QString& dialog, const char* inside)
{
    QWidget* launcher = t.window(QStringLiteral("frmAvvio"));
    if (!launcher)
        return false;
    launcher->show();
    if (!dialog.isEmpty())
        t.services.modal.insert(dialog, [inside](QDialog& d) {
            click(button(&d, inside));
            return int(QDialog::Accepted);
        });
    click(button(launcher, picture));
    return true;
}

bool onCard(TestProgram& t, const char* cardName, const std::function<void(QWidget*)>& use)
{
    QWidget* card = t.window(QString::fromLatin1(cardName));
    if (!card)
        return false;
    AppContext::showScreen(card);
    use(card);
    return true;
}

QString fileState(const QString& path)
{
    return QFileInfo(path).isFile() ? QStringLiteral("written") : QStringLiteral("missing");
}

const QHash<QString, Opener>& openers()
{
    static const QHash<QString, Opener> table{
        {QStringLiteral("launcher: web site"),
         [](TestProgram& t, QString&) { return throughLauncher(t, "imgSito", {}, nullptr); }},
        {QStringLiteral("information: mail to the maker"),
         [](TestProgram& t, QString&) {
             return throughLauncher(t, "imgInfo", QStringLiteral("frmInfo"), "imgEmail");
         }},
        {QStringLiteral("credits: web site"),
         [](TestProgram& t, QString&) {
             return throughLauncher(t, "imgCopyright", QStringLiteral("frmSplash"), "imgWeb");
         }},
        {QStringLiteral("help: guide missing"),
         [](TestProgram& t, QString&) {
             return throughLauncher(t, "imgGuida", QStringLiteral("frmGuida"), "imgPDF");
         }},
        {QStringLiteral("help: guide present"),
         [](TestProgram& t, QString&) {
             writePdf(t.path(QStringLiteral("Guida.pdf")));
             return throughLauncher(t, "imgGuida", QStringLiteral("frmGuida"), "imgPDF");
         }},
        {QStringLiteral("customer card: e-mail"),
         [](TestProgram& t, QString&) {
             return onCard(t, "frmClienti", [](QWidget* card) {
                 setChildText(card, QStringLiteral("txtEmail"), QStringLiteral("mario@example.it"));
                 click(button(card, "btnEmail"));
             });
         }},
        {QStringLiteral("customer card: e-mail without address"),
         [](TestProgram& t, QString&) {
             return onCard(t, "frmClienti", [](QWidget* card) { click(button(card, "btnEmail")); });
         }},
        {QStringLiteral("customer card: PDF"),
         [](TestProgram& t, QString& outcome) {
             return onCard(t, "frmClienti", [&](QWidget* card) {
                 setChildText(card, QStringLiteral("txtCognome"), QStringLiteral("Rossi"));
                 click(button(card, "cmdPDF"));
                 outcome = fileState(t.path(QStringLiteral("Cliente.pdf")));
             });
         }},
        {QStringLiteral("customer card: attachment"),
         [](TestProgram& t, QString& outcome) {
             writePdf(t.path(QStringLiteral("Documenti_Allegati/contratto.pdf")));
             return onCard(t, "frmClienti", [&](QWidget* card) {
                 setChildText(card, QStringLiteral("lblFile01"), QStringLiteral("contratto.pdf"));
                 t.services.modal.insert(QStringLiteral("frmAllegaCartella"), [&](QDialog& d) {
                     click(button(&d, "btnApri01"));
                     outcome = childText(&d, QStringLiteral("txtFile01"));
                     click(button(&d, "btnApplica"));
                     return d.result();
                 });
                 click(button(card, "cmdFile"));
                 outcome += u'|' + childText(card, QStringLiteral("lblFile01"));
             });
         }},
        {QStringLiteral("customer card: attachment missing"),
         [](TestProgram& t, QString&) {
             return onCard(t, "frmClienti", [&](QWidget* card) {
                 setChildText(card, QStringLiteral("lblFile02"), QStringLiteral("perso.jpg"));
                 t.services.modal.insert(QStringLiteral("frmAllegaCartella"), [](QDialog& d) {
                     click(button(&d, "btnApri02"));
                     return int(QDialog::Rejected);
                 });
                 click(button(card, "cmdFile"));
             });
         }},
        {QStringLiteral("customer card: exported spreadsheet"),
         [](TestProgram& t, QString& outcome) {
             return onCard(t, "frmClienti", [&](QWidget* card) {
                 t.services.modal.insert(QStringLiteral("frmExpClienti"), [](QDialog& d) {
                     click(button(&d, "cmdEsporta"));
                     return int(QDialog::Accepted);
                 });
                 click(button(card, "cmdEsporta"));
                 outcome = fileState(t.path(QStringLiteral("Clienti.xls")));
             });
         }},
        {QStringLiteral("product card: web search"),
         [](TestProgram& t, QString&) {
             return onCard(t, "frmMagazzino", [](QWidget* card) {
                 setChildText(card, QStringLiteral("txtMarca"), QStringLiteral("Pirelli"));
                 setChildText(card, QStringLiteral("txtModello"), QStringLiteral("P Zero & co"));
                 click(button(card, "cmdWeb"));
             });
         }},
        {QStringLiteral("product card: PDF"),
         [](TestProgram& t, QString& outcome) {
             return onCard(t, "frmMagazzino", [&](QWidget* card) {
                 click(button(card, "cmdPDF"));
                 outcome = fileState(t.path(QStringLiteral("Articolo.pdf")));
             });
         }},
        {QStringLiteral("invoice: PDF"),
         [](TestProgram& t, QString& outcome) {
             return onCard(t, "frmFatture", [&](QWidget* screen) {
                 setChildText(screen, QStringLiteral("lblFile"), t.path(QStringLiteral("2026.fat")));
                 setChildText(screen, QStringLiteral("txtNumFatt"), QStringLiteral("12"));
                 t.services.modal.insert(QStringLiteral("frmCrea_PDF_Fat"), [&](QDialog& d) {
                     click(button(&d, "btnConferma"));
                     // Whether or not the file opened, the dialog has done its work and closes.
                     outcome = d.isVisible() ? QStringLiteral("open") : QStringLiteral("closed");
                     return d.result();
                 });
                 click(button(screen, "cmdPDF"));
                 outcome += u'|' + fileState(t.path(QStringLiteral("Fattura.pdf")));
             });
         }},
    };
    return table;
}

} // namespace

class SayingWhyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QToolTip::hideText(); }

    // Every field whose key filter or refused characters swallow keys: the refused character
    // leaves the field as it was and is named where the window tells the user; a control key,
    // a selection key or a shortcut says nothing.
    void aRefusedKeyIsNamedOnEveryScreen_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<bool>("statusLine"); // or a tooltip at the field

        const int text = int(KeyFilter::None);
        const int digits = int(KeyFilter::Digits);
        const int decimal = int(KeyFilter::Decimal);
        const struct {
            const char* window;
            const char* field;
            const char16_t* before;
            const char16_t* typed;
            int filter;
            bool statusLine;
        } rows[] = {
            {"frmClienti", "txtComuneRes", u"Forl", u"ì", text, true},
            {"frmClienti", "txtDitta", u"Rossi", u"/", text, true},
            {"frmClienti", "txtProvRes", u"F", u"°", text, true},
            {"frmClienti", "txtCapRes", u"4712", u"a", digits, true},
            {"frmClienti", "txtPartitaIva", u"0123", u"-", digits, true},
            {"frmClienti", "txtCarta", u"4111", u" ", digits, true},
            {"frmMagazzino", "txtGiacenza", u"12", u",", digits, true},
            {"frmMagazzino", "txtCosto", u"12", u".", decimal, true},
            {"frmMagazzino", "txtPercIva", u"2", u"%", digits, true},
            {"frmFatture", "txtQuant01", u"2", u".", decimal, true},
            {"frmFatture", "txtPrezzo01", u"10,5", u"€", decimal, true},
            {"frmFatture", "txtPercSconto02", u"5", u"%", decimal, true},
            {"frmFatture", "txtPercIva", u"22", u"a", decimal, true},
            {"frmStatistiche", "txtAnno", u"202", u"x", digits, true},
            {"frmMenuFatture", "txtAnnoFatture", u"202", u"/", digits, false},
            {"frmNumerazioneFat", "txtInizio", u"1", u"-", digits, false},
            {"frmGiacenza", "txtAggiunta", u"3", u"+", digits, false},
            {"frmImportaMagazzino", "txtQuant", u"1", u".", decimal, false},
            {"frmCarta", "txtNumero", u"4111", u"-", digits, false},
            {"frmPartitaIva", "txtPartitaIva", u"0123", u"I", digits, false},
        };
        for (const auto& r : rows)
            QTest::addRow("%s %s «%s»", r.window, r.field, qPrintable(QString::fromUtf16(r.typed)))
                << QString::fromLatin1(r.window) << QString::fromLatin1(r.field)
                << QString::fromUtf16(r.before) << QString::fromUtf16(r.typed) << r.filter << r.statusLine;
    }
    void aRefusedKeyIsNamedOnEveryScreen()
    {
        QFETCH(QString, window);
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(bool, statusLine);

        TestProgram t;
        std::unique_ptr<QDialog> made;
        QWidget* w = showWindow(t, window, made);
        if (!w)
            QSKIP("this build has no such window");
        auto* f = w->findChild<QWidget*>(field);
        QVERIFY(f);
        setControlText(f, before);
        f->setFocus();
        StatusLine* line = statusLineOf(w);
        QCOMPARE(line != nullptr, statusLine);
        // Before each key the status line and a tooltip at the field hold a text of the test's
        // own; whatever replaces it was said about the key.
        const QString quiet = QStringLiteral("(niente da dire)");
        auto quieten = [&] {
            if (line)
                line->setText(quiet);
            QToolTip::showText(f->mapToGlobal(QPoint(0, 0)), quiet, f);
        };
        auto told = [&] {
            const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
            if (line)
                [&] { QCOMPARE(tip, quiet); }(); // the status line says it, not a tooltip
            const QString said = line ? line->text() : tip;
            return said == quiet ? QString() : said;
        };
        quieten();

        const QChar c = typed.at(0);
        if (c.unicode() < 0x80)
            QTest::keyClick(f, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, f, Qt::Key_unknown, typed, Qt::NoModifier);
        QCOMPARE(controlText(f), before);
        const QString hint = told();
        QCOMPARE(hint, refusedKeyHint(c, KeyFilter(filter)));
        QVERIFY2(hint.contains(typed) || (c == u' ' && hint.startsWith(QStringLiteral("Lo spazio"))),
                 qPrintable(hint));

        const QKeyCombination silent[] = {Qt::ControlModifier | Qt::Key_A, Qt::ControlModifier | Qt::Key_C,
                                          QKeyCombination(Qt::Key_F2), QKeyCombination(Qt::Key_End)};
        for (const QKeyCombination k : silent) {
            quieten();
            QTest::keyClick(f, k.key(), k.keyboardModifiers());
            QCOMPARE(told(), QString());
            QCOMPARE(controlText(f), before);
        }
    }

    // A full field says how much it holds when one more character is typed; a field with room,
    // or whose full text is selected to be typed over, says nothing.
    void aFullFieldSaysHowMuchItHolds_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("statusLine");
        QTest::newRow("card cognome") << QStringLiteral("frmClienti") << QStringLiteral("txtCognome") << true;
        QTest::newRow("card postcode") << QStringLiteral("frmClienti") << QStringLiteral("txtCapRes") << true;
        QTest::newRow("invoice notes") << QStringLiteral("frmFatture") << QStringLiteral("txtNote") << true;
        QTest::newRow("numbering start")
            << QStringLiteral("frmNumerazioneFat") << QStringLiteral("txtInizio") << false;
    }
    void aFullFieldSaysHowMuchItHolds()
    {
        QFETCH(QString, window);
        QFETCH(QString, field);
        QFETCH(bool, statusLine);
        TestProgram t;
        std::unique_ptr<QDialog> made;
        QWidget* w = showWindow(t, window, made);
        if (!w)
            QSKIP("this build has no such window");
        auto* f = w->findChild<QLineEdit*>(field);
        QVERIFY(f);
        StatusLine* line = statusLineOf(w);
        QCOMPARE(line != nullptr, statusLine);
        const QString quiet = QStringLiteral("(niente da dire)");
        const auto typeOne = [&] {
            if (line)
                line->setText(quiet);
            QToolTip::showText(f->mapToGlobal(QPoint(0, 0)), quiet, f);
            QTest::keyClick(f, '1');
            const QString said = line ? line->text() : (QToolTip::isVisible() ? QToolTip::text() : QString());
            return said == quiet ? QString() : said;
        };
        f->setFocus();
        const QString full(f->maxLength(), u'1');
        f->setText(full.left(full.size() - 1));
        f->end(false);
        QCOMPARE(typeOne(), QString()); // the last place is still free
        QCOMPARE(f->text(), full);
        QCOMPARE(typeOne(), fieldFullHint(f->maxLength()));
        QCOMPARE(f->text(), full);
        f->selectAll();
        QCOMPARE(typeOne(), QString()); // typed over the selection
    }

    // Every way the program asks the desktop to open something, once with the desktop opening
    // it and once without: a failure adds exactly one warning, which names the file (with the
    // system's separators) or the address; everything else comes out the same.
    void aTargetThatDoesNotOpenIsNamed_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("message"); // %1 is the program's folder

        const QString noProgram =
            QStringLiteral("»: nessun programma del sistema lo apre. Aprirlo a mano dalla sua cartella.");
        const QString file = QStringLiteral("Impossibile aprire il file «%1") + QDir::separator();
        const QString web =
            QStringLiteral("»: nessun programma del sistema lo apre. Copiarlo a mano nel browser.");
        const QString rows[][2] = {
            {u"launcher: web site"_s, u"Impossibile aprire l'indirizzo «https://www.tarvello.it"_s + web},
            {u"information: mail to the maker"_s,
             u"Impossibile avviare il programma di posta per «assistenza@tarvello.it»."_s},
            {u"credits: web site"_s, u"Impossibile aprire l'indirizzo «https://www.tarvello.it"_s + web},
            {u"help: guide missing"_s, file + u"Guida.pdf»: il file non esiste."_s},
            {u"help: guide present"_s, file + u"Guida.pdf"_s + noProgram},
            {u"customer card: e-mail"_s,
             u"Impossibile avviare il programma di posta per «mario@example.it»."_s},
            {u"customer card: e-mail without address"_s, u"Impossibile avviare il programma di posta."_s},
            {u"customer card: PDF"_s, file + u"Cliente.pdf"_s + noProgram},
            {u"customer card: attachment"_s,
             file + u"Documenti_Allegati"_s + QDir::separator() + u"contratto.pdf"_s + noProgram},
            {u"customer card: attachment missing"_s,
             file + u"Documenti_Allegati"_s + QDir::separator() + u"perso.jpg»: il file non esiste."_s},
            {u"customer card: exported spreadsheet"_s, file + u"Clienti.xls"_s + noProgram},
            {u"product card: web search"_s,
             u"Impossibile aprire l'indirizzo «https://www.google.com/search?q=Pirelli P Zero %26 co"_s +
                 web},
            {u"product card: PDF"_s, file + u"Articolo.pdf"_s + noProgram},
            {u"invoice: PDF"_s, file + u"Fattura.pdf"_s + noProgram},
        };
        for (const auto& r : rows)
            QTest::newRow(qPrintable(r[0])) << r[0] << r[1];
        QVERIFY2(openers().size() == qsizetype(std::size(rows)), "every opener has its row");
    }
    void aTargetThatDoesNotOpenIsNamed()
    {
        QFETCH(QString, opener);
        QFETCH(QString, message);
        const Opener open = openers().value(opener);
        QVERIFY(open);

        TestProgram opens;
        QString openedOutcome;
        if (!open(opens, openedOutcome))
            QSKIP("this build lacks the windows of this row");
        QCOMPARE(opens.services.opened.size(), 1);

        TestProgram fails;
        fails.services.opensFail = true;
        QString failedOutcome;
        QVERIFY(open(fails, failedOutcome));
        QCOMPARE(fails.services.opened.size(), 1);
        QCOMPARE(QUrl(fails.services.opened[0].toString().replace(fails.dir.path(), opens.dir.path())),
                 opens.services.opened[0]);

        // The failure is one warning more, at the end, naming the target; nothing else differs.
        QCOMPARE(fails.services.messages.size(), opens.services.messages.size() + 1);
        QCOMPARE(fails.services.lastKind(), MessageKind::Warning);
        QCOMPARE(fails.services.lastMessage(),
                 QString(message).replace(u"%1"_s, QDir::toNativeSeparators(fails.dir.path())));
        for (qsizetype i = 0; i < opens.services.messages.size(); ++i) {
            QCOMPARE(fails.services.messages[i].kind, opens.services.messages[i].kind);
            QCOMPARE(fails.services.messages[i].text, opens.services.messages[i].text);
        }
        QCOMPARE(failedOutcome, openedOutcome);
        QCOMPARE(fails.services.modalShown, opens.services.modalShown);
    }
};

TARVELLO_TEST_MAIN(SayingWhyTest)

#include "test_saying_why.moc"

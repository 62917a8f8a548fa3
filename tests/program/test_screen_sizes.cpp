// The main screens at the sizes people use: every control either in sight or reachable with a
// scroll bar, no caption or button name cut, and the fields wide enough for what they usually hold.

#include "testprogram.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QToolButton>

namespace
{

// A work area: the screen without the window's title bar.
const QSize kSmallScreen(1024, 740);
const QSize kCommonScreen(1366, 740);
const QSize kLargeScreen(1920, 1050);

QScrollArea* scrollAreaOf(const QWidget* w)
{
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(p->parentWidget()); area && area->viewport() == p)
            return area;
    return nullptr;
}

bool isControl(const QWidget* w)
{
    if (auto* label = qobject_cast<const QLabel*>(w))
        return !label->text().isEmpty();
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractButton*>(w);
}

// What a person cannot see or reach of `window` as it stands now, one line per fault.
QStringList problems(QWidget* window, bool mayScroll)
{
    QStringList found;
    const auto describe = [](const QWidget* w) -> QString {
        const QString text = qobject_cast<const QLabel*>(w) ? qobject_cast<const QLabel*>(w)->text()
                             : qobject_cast<const QAbstractButton*>(w)
                                 ? qobject_cast<const QAbstractButton*>(w)->text()
                                 : QString();
        return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                          : w->objectName()) +
               (text.isEmpty() ? QString() : QStringLiteral(" \"") + text + u'"');
    };
    const QList<QWidget*> all = window->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!isControl(w) || !w->isVisibleTo(window) || w->parentWidget()->inherits("QComboBox"))
            continue;

        // In sight: inside every parent up to the window, or up to a scrolling panel whose scroll
        // bars can bring it into sight.
        const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
        if (QScrollArea* area = scrollAreaOf(w)) {
            const QRect inPanel(w->mapTo(area->widget(), QPoint(0, 0)), w->size());
            if (!area->widget()->rect().contains(inPanel))
                found << describe(w) + QStringLiteral(": outside its scrolling panel");
            const QRect shown = area->viewport()->rect();
            const QSize panel = area->widget()->size();
            if (panel.width() > shown.width() && !area->horizontalScrollBar()->isVisibleTo(window))
                found << describe(w) + QStringLiteral(": panel wider than its view, no scroll bar");
            if (panel.height() > shown.height() && !area->verticalScrollBar()->isVisibleTo(window))
                found << describe(w) + QStringLiteral(": panel taller than its view, no scroll bar");
            if (!mayScroll && (panel.width() > shown.width() || panel.height() > shown.height()))
                found << describe(w) + QStringLiteral(": only in sight after scrolling");
            const QRect areaInWindow(area->mapTo(window, QPoint(0, 0)), area->size());
            if (!window->rect().contains(areaInWindow))
                found << describe(w) + QStringLiteral(": its scrolling panel leaves the window");
        } else {
            for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
                const QRect inParent(w->mapTo(p, QPoint(0, 0)), w->size());
                if (!p->rect().contains(inParent)) {
                    found << describe(w) + QStringLiteral(": cut by ") + describe(p);
                    break;
                }
                if (p == window)
                    break;
            }
            Q_UNUSED(inWindow);
        }

        // Not under another control: a layout with too little room lays them over each other.
        for (const QObject* o : w->parentWidget()->children()) {
            const auto* other = qobject_cast<const QWidget*>(o);
            if (other && other != w && other < w && isControl(other) && other->isVisibleTo(window) &&
                other->geometry().intersects(w->geometry()))
                found << describe(w) + QStringLiteral(": over ") + describe(other);
        }

        // Whole names.
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->wordWrap() && label->pixmap().isNull() && label->textFormat() != Qt::RichText &&
                label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width())
                found << describe(w) + QStringLiteral(": caption cut");
        } else if (auto* tool = qobject_cast<QToolButton*>(w)) {
            if (tool->toolButtonStyle() != Qt::ToolButtonIconOnly && !tool->text().isEmpty() &&
                tool->fontMetrics().horizontalAdvance(tool->text()) > tool->width() - 4)
                found << describe(w) + QStringLiteral(": name cut");
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (!button->text().isEmpty() && button->sizeHint().width() > button->width())
                found << describe(w) + QStringLiteral(": name cut");
        }
    }
    return found;
}

struct Screen {
    const char* name;
    bool fitsSmallScreen; // everything in sight at 1024 x 768, no scrolling
};

} // namespace

class TestScreenSizes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlInSightOrReachable_data();
    void everyControlInSightOrReachable();
    void fieldsFitTheirUsualContent_data();
    void fieldsFitTheirUsualContent();
    void focusedFieldComesIntoSight_data();
    void focusedFieldComesIntoSight();
};

void TestScreenSizes::everyControlInSightOrReachable_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("mayScroll");
    // The launcher and the invoice screen hold everything on the smallest common screen; the two
    // cards, with their thirty fields, may scroll there, never hide.
    const Screen screens[] = {{"frmAvvio", true},        {"frmMenuFatture", true},
                              {"frmFatture", true},      {"frmClienti", false},
                              {"frmMagazzino", false},   {"frmTrovaClienti", true},
                              {"frmTrovaFatture", true}, {"frmTrovaMagazzino", true}};
    for (const Screen& s : screens) {
        const QString name = QString::fromLatin1(s.name);
        QTest::addRow("%s 1024", s.name) << name << kSmallScreen << !s.fitsSmallScreen;
        QTest::addRow("%s 1366", s.name) << name << kCommonScreen << !s.fitsSmallScreen;
        QTest::addRow("%s 1920", s.name) << name << kLargeScreen << false;
        // A window made small by hand: it may scroll, it must not hide anything.
        QTest::addRow("%s 800x600", s.name) << name << QSize(800, 600) << true;
        QTest::addRow("%s smallest", s.name) << name << QSize(1, 1) << true; // its minimum size
    }
}

void TestScreenSizes::everyControlInSightOrReachable()
{
    QFETCH(QString, window);
    QFETCH(QSize, size);
    QFETCH(bool, mayScroll);
    TestProgram t;
    QWidget* w = t.window(window);
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    if (w->minimumSize() != w->maximumSize()) { // a fixed-size window keeps its own size
        if (size.width() >= 1024)
            QVERIFY2(
                w->minimumSize().width() <= 1024 && w->minimumSize().height() <= 740,
                qPrintable(QStringLiteral("minimum %1 x %2").arg(w->minimumWidth()).arg(w->minimumHeight())));
        w->resize(size.expandedTo(w->minimumSize()));
    } else {
        QVERIFY(w->width() <= 1024 && w->height() <= 740);
    }
    QApplication::processEvents();
    const QStringList found = problems(w, mayScroll);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
}

void TestScreenSizes::fieldsFitTheirUsualContent_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("usual");
    const char* town = "Reggio nell'Emilia";
    const char* iban = "IT60X0542811101000000123456";
    const char* date = "31/12/2026";
    const char* rows[][3] = {
        {"frmFatture", "txtCittaDitta", town},
        {"frmFatture", "txtCittaCliente", town},
        {"frmFatture", "txtCapDitta", "40121"},
        {"frmFatture", "txtCapCliente", "40121"},
        {"frmFatture", "txtIban", iban},
        {"frmFatture", "txtData", date},
        {"frmFatture", "txtIvaCliente", "01234567897"},
        {"frmFatture", "txtCodFiscCliente", "RSSMRA80A01H501U"},
        {"frmFatture", "txtNumFatt", "2026/123"},
        {"frmFatture", "txtDesc01", "Pneumatico estivo 205/55 R16"},
        {"frmFatture", "txtPrezzo01", "1.234,56"},
        {"frmClienti", "txtComuneRes", town},
        {"frmClienti", "txtDataNasc", date},
        {"frmClienti", "txtIban", iban},
        {"frmClienti", "txtCodFisc", "RSSMRA80A01H501U"},
        {"frmMagazzino", "txtData", date},
        {"frmMagazzino", "txtFornitore", "Gommeria Rossi & Figli S.r.l."},
    };
    for (const auto& r : rows)
        QTest::addRow("%s %s", r[0], r[1])
            << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]) << QString::fromUtf8(r[2]);
}

void TestScreenSizes::fieldsFitTheirUsualContent()
{
    QFETCH(QString, window);
    QFETCH(QString, field);
    QFETCH(QString, usual);
    TestProgram t;
    QWidget* w = t.window(window);
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->resize(kSmallScreen);
    QApplication::processEvents();
    auto* edit = w->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    // The text area of a line edit loses its frame and a small margin on each side.
    const int needed = edit->fontMetrics().horizontalAdvance(usual) + 12;
    QVERIFY2(edit->width() >= needed,
             qPrintable(QStringLiteral("%1 wide, %2 needed").arg(edit->width()).arg(needed)));
}

void TestScreenSizes::focusedFieldComesIntoSight_data()
{
    QTest::addColumn<QString>("window");
    for (const char* name : {"frmFatture", "frmClienti", "frmMagazzino"})
        QTest::addRow("%s", name) << QString::fromLatin1(name);
}

// On a window too small for its panel, whichever field takes the focus (by Tab, Enter or the
// program moving it) is scrolled into sight.
void TestScreenSizes::focusedFieldComesIntoSight()
{
    QFETCH(QString, window);
    TestProgram t;
    QWidget* w = t.window(window);
    QVERIFY(w);
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->resize(800, 600);
    QApplication::processEvents();
    auto* area = w->findChild<QScrollArea*>();
    QVERIFY(area);
    int fields = 0;
    for (QLineEdit* edit : area->widget()->findChildren<QLineEdit*>()) {
        if (!edit->isVisibleTo(w) || edit->parentWidget()->inherits("QComboBox"))
            continue;
        edit->setFocus();
        QApplication::processEvents();
        const QRect inView(edit->mapTo(area->viewport(), QPoint(0, 0)), edit->size());
        QVERIFY2(area->viewport()->rect().contains(inView), qPrintable(edit->objectName()));
        ++fields;
    }
    QVERIFY(fields >= 15);
}

TARVELLO_TEST_MAIN(TestScreenSizes)
#include "test_screen_sizes.moc"

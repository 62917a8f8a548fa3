// Two programs on one folder, as two workstations sharing it: neither's save undoes the other's.
#include "archive/customerrecord.h"
#include "archive/productrecord.h"
#include "files.h"
#include "namedcontrols.h"
#include "program/program.h"
#include "saidtexts.h"
#include "shell/appcontext.h"
#include "shell/services.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QTest>

using namespace tarvello;

namespace
{

void press(const QWidget* window, QStringView name)
{
    QTest::mouseClick(named<QAbstractButton>(window, name), Qt::LeftButton);
}

// The second workstation: another program with its own message boxes on the same folder.
struct Workstation {
    ScriptedServices services;
    Program program;
    explicit Workstation(const QString& folder) : program(folder, services) {}
    QWidget* show(const QString& name)
    {
        QWidget* w = program.window(name);
        AppContext::showScreen(w);
        return w;
    }
};

} // namespace

class TwoWorkstationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each adds one unit to the same product through the stock window and saves, 25 times, with
    // its card left open between saves: the stock grows by exactly the saves confirmed.
    void stockAddedOnBothCountsEveryUnit()
    {
        TestProgram t;
        Record product(ProductRecord::layout());
        product.setText(ProductRecord::Codice, u"A1");
        product.setText(ProductRecord::Giacenza, u"1000");
        product.setText(ProductRecord::Costo, u"2,00");
        QVERIFY(writeFile(t.path(ProductRecord::fileName()), product.bytes()));
        Workstation other(t.dir.path());
        std::array<std::pair<QWidget*, ScriptedServices*>, 2> sides = {
            std::pair{t.window(QStringLiteral("frmMagazzino")), &t.services},
            std::pair{other.show(QStringLiteral("frmMagazzino")), &other.services}};
        AppContext::showScreen(sides[0].first);
        int confirmed = 0;
        for (auto& [card, services] : sides) {
            press(card, u"cmdPrimo");
            services->modal.insert(QStringLiteral("frmGiacenza"), [](QDialog& d) {
                auto* add = named<QLineEdit>(&d, u"txtAggiunta");
                add->setText(QStringLiteral("1"));
                press(&d, u"btnAggiorna");
                return d.result();
            });
        }
        for (int round = 0; round < 25; ++round)
            for (auto& [card, services] : sides) {
                press(card, u"btnAggiungi");
                press(card, u"cmdSalva");
                confirmed += services->lastMessage() == said::changesSaved;
            }
        QCOMPARE(confirmed, 50);
        const Record stored(ProductRecord::layout(), fileBytes(t.path(ProductRecord::fileName())));
        QCOMPARE(stored.text(ProductRecord::Giacenza), QStringLiteral("1050"));
        QCOMPARE(stored.text(ProductRecord::Valore), QStringLiteral("2100,00"));
        // Each card shows the stock as stored by its last save.
        QCOMPARE(named<QLineEdit>(sides[1].first, u"txtGiacenza")->text(), QStringLiteral("1050"));
    }

    // Different fields changed on each side are both kept; the same field changed on both is
    // the user's choice: overwrite, or keep the other's and see it on the card.
    void customerFieldsKeptOrAskedAbout()
    {
        TestProgram t;
        Record customer(CustomerRecord::layout());
        customer.setText(CustomerRecord::Cognome, u"Rossi");
        customer.setText(CustomerRecord::Nome, u"Mario");
        customer.setText(CustomerRecord::TelCasa, u"011 111");
        QVERIFY(writeFile(t.path(CustomerRecord::fileName()), customer.bytes()));
        QWidget* mine = t.window(QStringLiteral("frmClienti"));
        AppContext::showScreen(mine);
        Workstation other(t.dir.path());
        QWidget* theirs = other.show(QStringLiteral("frmClienti"));
        press(mine, u"cmdPrimo");
        press(theirs, u"cmdPrimo");
        const auto stored = [&](CustomerRecord::Field f) {
            return Record(CustomerRecord::layout(), fileBytes(t.path(CustomerRecord::fileName()))).text(f);
        };

        named<QLineEdit>(theirs, u"txtTelCasa")->setText(QStringLiteral("011 222"));
        press(theirs, u"cmdSalva");
        named<QLineEdit>(mine, u"txtNote")->setText(QStringLiteral("Cliente dal 2019"));
        press(mine, u"cmdSalva");
        QCOMPARE(t.services.lastMessage(), said::changesSaved);
        QCOMPARE(stored(CustomerRecord::TelCasa), QStringLiteral("011 222"));
        QCOMPARE(stored(CustomerRecord::Note), QStringLiteral("Cliente dal 2019"));
        QCOMPARE(named<QLineEdit>(mine, u"txtTelCasa")->text(), QStringLiteral("011 222"));

        // Both change the phone: this side overwrites.
        named<QLineEdit>(theirs, u"txtTelCasa")->setText(QStringLiteral("011 333"));
        press(theirs, u"cmdSalva");
        named<QLineEdit>(mine, u"txtTelCasa")->setText(QStringLiteral("011 444"));
        t.services.answers.push_back(Answer::No);
        press(mine, u"cmdSalva");
        const QString question = t.services.messages.at(t.services.messages.size() - 2).text;
        QVERIFY2(question.startsWith(QStringLiteral("Un'altra postazione ha salvato questa scheda dopo che è "
                                                    "stata aperta qui")),
                 qPrintable(question));
        QVERIFY2(question.contains(QStringLiteral("«011 333»")), qPrintable(question));
        QCOMPARE(t.services.lastMessage(), said::changesSaved);
        QCOMPARE(stored(CustomerRecord::TelCasa), QStringLiteral("011 444"));

        // And the other side, changing it again, keeps what this side stored.
        named<QLineEdit>(theirs, u"txtTelCasa")->setText(QStringLiteral("011 555"));
        other.services.answers.push_back(Answer::Yes);
        press(theirs, u"cmdSalva");
        QCOMPARE(stored(CustomerRecord::TelCasa), QStringLiteral("011 444"));
        QCOMPARE(named<QLineEdit>(theirs, u"txtTelCasa")->text(), QStringLiteral("011 444"));
        QCOMPARE(stored(CustomerRecord::Note), QStringLiteral("Cliente dal 2019"));
    }
};

TARVELLO_TEST_MAIN(TwoWorkstationsTest)
#include "test_two_workstations.moc"

#include "attachments/allegacartella.h"
#include "attachments/attachments.h"
#include "cardtesting.h"
#include "namedcontrols.h"
#include "readonlyfolder.h"
#include "saidtexts.h"
#include "shell/conventions.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tarvello;
using namespace cardtesting;
namespace CR = tarvello::CustomerRecord;

class AttachmentWindowTest : public QObject
{
    Q_OBJECT

    // A file outside the program's folder, as the user would pick it.
    static QString pickable(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
    {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("scelti/") + name);
        if (!writeFile(path, content))
            QTest::qFail("the file to pick cannot be made", __FILE__, __LINE__);
        return path;
    }

    static QString attached(const TestProgram& t, const QString& name)
    {
        return Attachments::filePath(t.dir.path(), name);
    }

    // Runs the attachments window from the card's button; `use` works it and returns true to
    // press "Applica e chiudi", false for "Annulla".
    static void withWindow(TestProgram& t, TfrmClienti* card,
                           const std::function<bool(TfrmAllegaCartella&)>& use)
    {
        bool ran = false;
        t.services.modal.insert(QStringLiteral("frmAllegaCartella"), [&](QDialog& d) {
            auto* w = qobject_cast<TfrmAllegaCartella*>(&d);
            ran = w != nullptr;
            if (!w)
                return 0;
            click(use(*w) ? named<QPushButton>(w, u"btnApplica") : named<QPushButton>(w, u"btnAnnulla"));
            return d.result();
        });
        click(named<PictureButton>(card, u"cmdFile"));
        QVERIFY(ran);
    }

private Q_SLOTS:
    void opensWithTheCardsAttachmentsAndAppliesThem()
    {
        TestProgram t;
        QTemporaryDir outside;
        TfrmClienti* card = openCard(t);
        named<QLabel>(card, u"lblFile01")->setText(QStringLiteral("a.pdf"));
        named<QLabel>(card, u"lblDesc01")->setText(QStringLiteral("  contratto  "));
        named<QLabel>(card, u"lblDesc03")->setText(QStringLiteral("descrizione senza file"));
        const QString chosen = pickable(outside, QStringLiteral("carta identità.jpg"), "JPEG");

        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            [&] {
                QCOMPARE(w.windowTitle(), QStringLiteral(" Allega file"));
                QCOMPARE(named<QLabel>(&w, u"lblMemory")->text(), QStringLiteral("clienti"));
                QVERIFY(!named<QLabel>(&w, u"lblMemory")->isVisible());
                QCOMPARE(named<QLineEdit>(&w, u"txtFile01")->text(), QStringLiteral("a.pdf"));
                QCOMPARE(named<QLineEdit>(&w, u"txtDesc01")->text(), QStringLiteral("contratto"));
                QCOMPARE(named<QLineEdit>(&w, u"txtDesc03")->text(),
                         QStringLiteral("descrizione senza file"));
                QVERIFY(named<QLineEdit>(&w, u"txtFile01")->isReadOnly());
                QVERIFY(named<QPushButton>(&w, u"btnApri01")->isEnabled());
                QVERIFY(!named<QPushButton>(&w, u"btnApri02")->isEnabled());
                QVERIFY(!named<QPushButton>(&w, u"btnApri03")->isEnabled());

                t.services.files.push_back(chosen);
                click(named<QPushButton>(&w, u"btnSfoglia02"));
                QCOMPARE(t.services.fileDialogTitles.last(),
                         QStringLiteral("Selezionare il file da allegare:"));
                QVERIFY2(t.services.fileDialogFilters.last().startsWith(QStringLiteral("Tutti i file (*.*)")),
                         qPrintable(t.services.fileDialogFilters.last()));
                QCOMPARE(named<QLineEdit>(&w, u"txtFile02")->text(), QStringLiteral("carta identità.jpg"));
                QVERIFY(named<QPushButton>(&w, u"btnApri02")->isEnabled());
                QCOMPARE(fileBytes(attached(t, QStringLiteral("carta identità.jpg"))), QByteArray("JPEG"));
                type(named<QLineEdit>(&w, u"txtDesc02"), QStringLiteral("documento d'identità"));

                click(named<QPushButton>(&w, u"btnApri02"));
                QCOMPARE(t.services.opened.last(),
                         QUrl::fromLocalFile(attached(t, QStringLiteral("carta identità.jpg"))));

                click(named<PictureButton>(&w, u"imgCancella01"));
                QCOMPARE(named<QLineEdit>(&w, u"txtFile01")->text(), QString());
                QVERIFY(!named<QPushButton>(&w, u"btnApri01")->isEnabled());
                QCOMPARE(named<QLineEdit>(&w, u"txtDesc01")->text(), QStringLiteral("contratto"));
            }();
            return true;
        });
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QString());
        QCOMPARE(named<QLabel>(card, u"lblDesc01")->text(), QStringLiteral("contratto"));
        QCOMPARE(named<QLabel>(card, u"lblFile02")->text(), QStringLiteral("carta identità.jpg"));
        QCOMPARE(named<QLabel>(card, u"lblDesc02")->text(), QStringLiteral("documento d'identità"));
        QCOMPARE(named<QLabel>(card, u"lblDesc03")->text(), QStringLiteral("descrizione senza file"));
        QCOMPARE(t.services.messages.size(), 0);

        // The names reach the archive when the card is saved.
        type(named<QLineEdit>(card, u"txtCognome"), QStringLiteral("Rossi"));
        type(named<QLineEdit>(card, u"txtNome"), QStringLiteral("Mario"));
        click(named<PictureButton>(card, u"cmdSalva"));
        const Record saved(CR::layout(), recordAt(t.path(QStringLiteral("Clienti.pro")), 0));
        QCOMPARE(saved.text(CR::File01), QString());
        QCOMPARE(saved.text(CR::File02), QStringLiteral("carta identità.jpg"));
        QCOMPARE(saved.text(CR::Desc02), QStringLiteral("documento d'identità"));
        QCOMPARE(saved.text(CR::Desc03), QStringLiteral("descrizione senza file"));
    }

    void annullaWritesNothingBackButCopiedFilesStay()
    {
        TestProgram t;
        QTemporaryDir outside;
        TfrmClienti* card = openCard(t);
        named<QLabel>(card, u"lblFile01")->setText(QStringLiteral("a.pdf"));
        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            click(named<PictureButton>(&w, u"imgCancella01"));
            t.services.files.push_back(pickable(outside, QStringLiteral("b.pdf"), "B"));
            click(named<QPushButton>(&w, u"btnSfoglia02"));
            return false;
        });
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QStringLiteral("a.pdf"));
        QCOMPARE(named<QLabel>(card, u"lblFile02")->text(), QString());
        QVERIFY(QFile::exists(attached(t, QStringLiteral("b.pdf"))));
    }

    void cancelledFileDialogChangesNothing()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        named<QLabel>(card, u"lblFile01")->setText(QStringLiteral("a.pdf"));
        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            t.services.files.push_back(std::nullopt);
            click(named<QPushButton>(&w, u"btnSfoglia01"));
            return true;
        });
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QStringLiteral("a.pdf"));
        QVERIFY(!QDir(Attachments::folderPath(t.dir.path())).exists());
        QVERIFY(t.services.messages.isEmpty());
    }

    void sameNameAsksAndNoKeepsTheFoldersFile()
    {
        TestProgram t;
        QTemporaryDir outside;
        QDir().mkpath(Attachments::folderPath(t.dir.path()));
        QVERIFY(writeFile(attached(t, QStringLiteral("doc.pdf")), "old"));
        TfrmClienti* card = openCard(t);
        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            t.services.files.push_back(pickable(outside, QStringLiteral("doc.pdf"), "new"));
            t.services.answers.push_back(Answer::No);
            click(named<QPushButton>(&w, u"btnSfoglia01"));
            return true;
        });
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastKind(), MessageKind::Confirmation);
        QCOMPARE(t.services.lastMessage(),
                 QStringLiteral(
                     "Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
                     "nome.\r\n\r\nSi vuole sovrascrivere il file esistente?"));
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QStringLiteral("doc.pdf"));
        QCOMPARE(fileBytes(attached(t, QStringLiteral("doc.pdf"))), QByteArray("old"));

        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            t.services.files.push_back(pickable(outside, QStringLiteral("doc.pdf"), "new"));
            t.services.answers.push_back(Answer::Yes);
            click(named<QPushButton>(&w, u"btnSfoglia01"));
            return true;
        });
        QCOMPARE(fileBytes(attached(t, QStringLiteral("doc.pdf"))), QByteArray("new"));
    }

    void aNameTheCardCannotHoldIsStoredUnderOneItCanAndSaid()
    {
        TestProgram t;
        QTemporaryDir outside;
        TfrmClienti* card = openCard(t);
        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            t.services.files.push_back(pickable(outside, QStringLiteral("Łódź_дом.txt"), "testo"));
            click(named<QPushButton>(&w, u"btnSfoglia01"));
            [&] {
                QCOMPARE(named<QLineEdit>(&w, u"txtFile01")->text(), QStringLiteral("_ód_____.txt"));
                QCOMPARE(t.services.lastKind(), MessageKind::Information);
                QCOMPARE(t.services.lastMessage(),
                         Attachments::renamedMessage(QStringLiteral("_ód_____.txt")));
            }();
            return true;
        });
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QStringLiteral("_ód_____.txt"));
        QVERIFY(QFile::exists(attached(t, QStringLiteral("_ód_____.txt"))));
    }

    void aNameLeadingOutOfTheFolderIsNeverOpened()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        named<QLabel>(card, u"lblFile01")->setText(QStringLiteral("../Clienti.pro"));
        named<QLabel>(card, u"lblFile02")->setText(QStringLiteral("contratto.pdf"));
        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            click(named<QPushButton>(&w, u"btnApri01"));
            [&] {
                QVERIFY(t.services.opened.isEmpty());
                QCOMPARE(t.services.lastKind(), MessageKind::Warning);
                QCOMPARE(t.services.lastMessage(),
                         Attachments::unsafeNameMessage(QStringLiteral("../Clienti.pro")));
            }();
            click(named<QPushButton>(&w, u"btnApri02"));
            [&] {
                QCOMPARE(t.services.opened,
                         QList<QUrl>{QUrl::fromLocalFile(attached(t, QStringLiteral("contratto.pdf")))});
            }();
            return false;
        });
    }

    void failedCopyWarnsAndKeepsTheOldName()
    {
        TestProgram t;
        QTemporaryDir outside;
        TfrmClienti* card = openCard(t);
        named<QLabel>(card, u"lblFile01")->setText(QStringLiteral("vecchio.pdf"));
        // Something that is not a folder where the attachments folder should be.
        QVERIFY(writeFile(Attachments::folderPath(t.dir.path())));
        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            t.services.files.push_back(pickable(outside, QStringLiteral("nuovo.pdf"), "N"));
            click(named<QPushButton>(&w, u"btnSfoglia01"));
            [&] {
                QCOMPARE(t.services.lastKind(), MessageKind::Warning);
                QCOMPARE(t.services.lastMessage(), said::attachFolderFailed);
                QCOMPARE(named<QLineEdit>(&w, u"txtFile01")->text(), QStringLiteral("vecchio.pdf"));
            }();
            return true;
        });
        QCOMPARE(named<QLabel>(card, u"lblFile01")->text(), QStringLiteral("vecchio.pdf"));
    }

    void folderRefusingTheCopyWarns()
    {
        TestProgram t;
        QTemporaryDir outside;
        QDir().mkpath(Attachments::folderPath(t.dir.path()));
        TfrmClienti* card = openCard(t);
        ReadOnlyFolder locked(Attachments::folderPath(t.dir.path()));
        if (!locked.active())
            QSKIP("this machine cannot make a read-only folder");
        withWindow(t, card, [&](TfrmAllegaCartella& w) {
            t.services.files.push_back(pickable(outside, QStringLiteral("nuovo.pdf"), "N"));
            click(named<QPushButton>(&w, u"btnSfoglia03"));
            return true;
        });
        QCOMPARE(t.services.lastKind(), MessageKind::Warning);
        QCOMPARE(t.services.lastMessage(), said::attachCopyFailed);
        QCOMPARE(named<QLabel>(card, u"lblFile03")->text(), QString());
    }

    void productModeLeavesTheCustomerCardAlone()
    {
        TestProgram t;
        TfrmClienti* card = openCard(t);
        named<QLabel>(card, u"lblDesc01")->setText(QStringLiteral("cliente"));
        std::unique_ptr<QDialog> d = t.program->createDialog(u"frmAllegaCartella", card);
        auto* w = qobject_cast<TfrmAllegaCartella*>(d.get());
        QVERIFY(w);
        named<QLabel>(w, u"lblMemory")->setText(QStringLiteral("magazzino"));
        named<QLineEdit>(w, u"txtDesc01")->setText(QStringLiteral("prodotto"));
        named<QPushButton>(w, u"btnApplica")->click(); // the window is never shown: no mouse can reach it
        QCOMPARE(named<QLabel>(card, u"lblDesc01")->text(), QStringLiteral("cliente"));
    }
};

int runAttachmentWindowTests(int argc, char** argv)
{
    AttachmentWindowTest tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_allegacartella.moc"

// The export window every export shares, configured as a small customer export: loading the grid,
// typing into editable columns, the questions, the document, the failure message, help and hints.

#include "archive/archivefile.h"
#include "archive/customerrecord.h"
#include "files.h"
#include "namedcontrols.h"
#include "output/exportwindow.h"
#include "output/outputtexts.h"
#include "saidtexts.h"
#include "shell/conventions.h"
#include "shell/guida.h"
#include "testprogram.h"

#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>

using namespace tarvello;

namespace
{

struct Customer {
    const char16_t* cognome;
    const char16_t* nome;
    const char16_t* comune;
    const char16_t* provincia;
    const char16_t* cap;
    const char16_t* note;
};

void writeCustomers(const QString& path, std::initializer_list<Customer> customers)
{
    ArchiveFile file(path, CustomerRecord::Size);
    QVERIFY(file.open());
    for (const Customer& c : customers) {
        Record r(CustomerRecord::layout());
        r.setText(CustomerRecord::Cognome, c.cognome);
        r.setText(CustomerRecord::Nome, c.nome);
        r.setText(CustomerRecord::ComuneRes, c.comune);
        r.setText(CustomerRecord::ProvRes, c.provincia);
        r.setText(CustomerRecord::CapRes, c.cap);
        r.setText(CustomerRecord::Note, c.note);
        QVERIFY(file.seek(file.count()));
        QVERIFY(file.write(r.bytes()));
    }
    QVERIFY(file.close());
}

ExportDefinition customerExport()
{
    ExportDefinition d;
    d.objectName = QStringLiteral("frmExpProva");
    d.caption = QStringLiteral(" Esporta archivio clienti in Microsoft Excel");
    d.fileName = QStringLiteral("Clienti.xls");
    d.sheetName = QStringLiteral("Riepilogo Clienti");
    d.helpTitle = QStringLiteral("Esportazione archivio clienti in Microsoft Excel.");
    d.helpFirstParagraph = QStringLiteral("Il pulsante Esporta archivio consente di esportare i clienti.");
    d.columns = {
        {QStringLiteral("colCliente"), QStringLiteral("Cliente"), 250, false, QStringLiteral("Cliente"), 250},
        {QStringLiteral("colComuneRes"), QStringLiteral("Comune di residenza"), 250, true,
         QStringLiteral("Comune di residenza"), 250},
        {QStringLiteral("colCap"), QStringLiteral("CAP"), 100, false, QStringLiteral("Codice postale"), 180,
         CellAlignment::Right},
        {QStringLiteral("colNote"), QStringLiteral("Note"), 350, true, QStringLiteral("Note"), 350},
    };
    d.archivePath = [](AppContext& c) { return c.filePath(CustomerRecord::fileName()); };
    d.recordSize = CustomerRecord::Size;
    d.readRecord = [](const char* r) {
        const RecordLayout& l = CustomerRecord::layout();
        const auto field = [&](int f) { return decodeField(r, l.fields[size_t(f)]); };
        return QStringList{field(CustomerRecord::Cognome) + u' ' + field(CustomerRecord::Nome),
                           field(CustomerRecord::ComuneRes) + u' ' + field(CustomerRecord::ProvRes),
                           field(CustomerRecord::CapRes), field(CustomerRecord::Note)};
    };
    return d;
}

constexpr const char* left = "<td style=\"text-align: left;\">";
constexpr const char* right = "<td style=\"text-align: right;\">";

} // namespace

class ExportWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    std::unique_ptr<ExportWindow> w;

    QString archive() const { return t->path(CustomerRecord::fileName()); }
    QString document() const { return t->path(QStringLiteral("Clienti.xls")); }

    void open(ExportDefinition definition = customerExport())
    {
        w = std::make_unique<ExportWindow>(*t->program, nullptr, std::move(definition));
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    ExportGrid* grid() const { return named<ExportGrid>(w.get(), u"grdRecords"); }
    StatusLine* statusLine() const { return named<StatusLine>(w.get(), u"panInfo"); }

    QPoint cellCentre(int row, int column) const
    {
        return grid()->visualRect(w->gridModel()->index(row, column)).center();
    }

    // Clicks a cell and types into it as a user does: the first key opens the editor, the rest
    // go to the editor, which has the focus by then.
    void typeInto(int row, int column, const QString& text)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(row, column));
        QTest::keyClick(grid(), text.at(0).toLatin1());
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor);
        if (editor != grid())
            QTest::keyClicks(editor, text.mid(1));
    }

    QString cell(int row, int column) const { return w->gridModel()->index(row, column).data().toString(); }

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<TestProgram>();
        writeCustomers(archive(), {{u"Rossi", u"Mario", u"Forlì", u"FC", u"47121", u"cliente storico"},
                                   {u"Bianchi", u"", u"Cesena", u"", u"47521", u""},
                                   {u"Verdi", u"Anna", u"Rimini", u"RN", u"47921", u"  "}});
    }
    void cleanup()
    {
        w.reset();
        t.reset();
    }

    void showingTheWindowLoadsTheWholeArchive()
    {
        open();
        QCOMPARE(w->objectName(), QStringLiteral("frmExpProva"));
        QCOMPARE(w->windowTitle(), QStringLiteral(" Esporta archivio clienti in Microsoft Excel"));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(statusLine()->text(), QStringLiteral("Esportazione archivio in Microsoft Excel."));
        QCOMPARE(statusLine()->objectName(), QStringLiteral("panInfo"));

        auto* model = w->gridModel();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->columnCount(), 5);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("N."));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Comune di residenza"));
        QCOMPARE(w->gridColumn(QStringLiteral("colNum")), 0);
        QCOMPARE(w->gridColumn(QStringLiteral("colNote")), 4);
        QCOMPARE(w->gridColumn(QStringLiteral("colNessuna")), -1);
        QCOMPARE(grid()->columnWidth(0), 60);
        QCOMPARE(grid()->columnWidth(1), 250);
        QCOMPARE(grid()->columnWidth(3), 100);
        QCOMPARE(grid()->rowHeight(1), 21);
        QVERIFY(grid()->alternatingRowColors());

        QCOMPARE(cell(0, 0), QStringLiteral("1"));
        QCOMPARE(cell(2, 0), QStringLiteral("3"));
        QCOMPARE(cell(0, 1), QStringLiteral("Rossi Mario"));
        QCOMPARE(cell(0, 2), QString::fromUtf16(u"Forlì FC"));
        // The grid keeps the blank before an empty first name.
        QCOMPARE(cell(1, 1), QStringLiteral("Bianchi "));
        QCOMPARE(cell(1, 2), QStringLiteral("Cesena "));
        QCOMPARE(cell(2, 4), QString());
    }

    void typedTextReachesTheDocumentButNeverTheArchive()
    {
        const QByteArray archiveBefore = fileBytes(archive());
        open();
        typeInto(1, 4, QStringLiteral("richiamare & <subito>"));
        // Not confirmed with Enter: the export button takes over the open edit.
        QTest::mouseClick(named<PictureButton>(w.get(), u"cmdEsporta"), Qt::LeftButton);

        QCOMPARE(t->services.messages.size(), 2);
        QCOMPARE(t->services.messages[0].kind, MessageKind::Confirmation);
        QCOMPARE(t->services.messages[0].text, said::exportConfirmation);
        QCOMPARE(t->services.messages[1].kind, MessageKind::Confirmation);
        QCOMPARE(t->services.messages[1].text,
                 QStringLiteral("Le schede in archivio sono state esportate con successo.\r\n\r\n"
                                "Si vuole aprire il file di Excel?"));
        QCOMPARE(t->services.opened, QList<QUrl>{QUrl::fromLocalFile(document())});

        QCOMPARE(cell(1, 4), QStringLiteral("richiamare & <subito>"));
        QCOMPARE(fileBytes(archive()), archiveBefore);
        const QByteArray doc = fileBytes(document());
        QCOMPARE(doc.count("<tr>"), 4);
        QCOMPARE(doc.count("<td "), 16);
        QVERIFY(doc.contains("<x:Name>Riepilogo Clienti</x:Name>"));
        QVERIFY(doc.contains("width=180>Codice postale</td>"));
        QVERIFY(!doc.contains(">N.<"));
        QByteArray rossi = "<tr>";
        rossi += QByteArray(left) + "Rossi Mario</td>" + left + "Forl\xEC FC</td>" + right + "47121</td>" +
                 left + "cliente storico</td></tr>";
        QVERIFY2(doc.contains(rossi), doc.constData());
        QByteArray bianchi = "<tr>";
        bianchi += QByteArray(left) + "Bianchi</td>" + left + "Cesena</td>" + right + "47521</td>" + left +
                   "richiamare &amp; &lt;subito&gt;</td></tr>";
        QVERIFY2(doc.contains(bianchi), doc.constData());
    }

    void readOnlyColumnsIgnoreTyping()
    {
        open();
        typeInto(0, 1, QStringLiteral("xyz"));
        QCOMPARE(cell(0, 1), QStringLiteral("Rossi Mario"));
        QVERIFY(!(w->gridModel()->flags(w->gridModel()->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(w->gridModel()->flags(w->gridModel()->index(0, 2)) & Qt::ItemIsEditable);
    }

    void answeringNoFirstLeavesTheOldFileUntouched()
    {
        QVERIFY(writeFile(document(), "vecchio"));
        open();
        t->services.answers.push_back(Answer::No);
        QTest::mouseClick(named<PictureButton>(w.get(), u"cmdEsporta"), Qt::LeftButton);
        QCOMPARE(t->services.messages.size(), 1);
        QCOMPARE(fileBytes(document()), QByteArray("vecchio"));
        QVERIFY(t->services.opened.isEmpty());
    }

    void answeringNoAtTheEndLeavesTheFileUnopened()
    {
        open();
        t->services.answers = {Answer::Yes, Answer::No};
        QTest::mouseClick(named<PictureButton>(w.get(), u"cmdEsporta"), Qt::LeftButton);
        QCOMPARE(t->services.messages.size(), 2);
        QVERIFY(t->services.opened.isEmpty());
        QCOMPARE(fileBytes(document()).count("<tr>"), 4);
    }

    void aDocumentHeldByASpreadsheetProgramShowsTheFailureMessage()
    {
        QVERIFY(writeFile(document(), "aperto in Excel"));
        HeldFile spreadsheetProgram(document(), HeldFile::Hold::Writing);
        QVERIFY(spreadsheetProgram.held());

        open();
        QTest::mouseClick(named<PictureButton>(w.get(), u"cmdEsporta"), Qt::LeftButton);
        spreadsheetProgram.release();
        QCOMPARE(t->services.messages.size(), 2);
        QCOMPARE(t->services.messages[1].kind, MessageKind::Plain);
        QCOMPARE(t->services.messages[1].text,
                 QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                                "Accertarsi che il file di Excel non sia già aperto."));
        QCOMPARE(fileBytes(document()), QByteArray("aperto in Excel"));
        QVERIFY(t->services.opened.isEmpty());
        QCOMPARE(QDir(t->dir.path()).entryList({QStringLiteral("*.xls*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Clienti.xls")});
    }

    void anAbsentArchiveIsCreatedAndExportsTheHeaderRowOnly()
    {
        QVERIFY(QFile::remove(archive()));
        open();
        QCOMPARE(w->gridModel()->rowCount(), 0);
        QVERIFY(QFile::exists(archive()));
        QTest::mouseClick(named<PictureButton>(w.get(), u"cmdEsporta"), Qt::LeftButton);
        const QByteArray doc = fileBytes(document());
        QCOMPARE(doc.count("<tr>"), 1);
        QVERIFY(doc.endsWith("width=350>Note</td></tr></table></body></html>"));
    }

    void anUnreadableArchiveLeavesTheGridEmptyWithoutAWord()
    {
        ExportDefinition d = customerExport();
        d.archivePath = [](AppContext& c) { return c.folder(); }; // a folder, not a file
        open(std::move(d));
        QCOMPARE(w->gridModel()->rowCount(), 0);
        QVERIFY(t->services.messages.isEmpty());
    }

    void helpShowsTheExportsTitleAndItsThreeParagraphs()
    {
        open();
        QString title, text;
        t->services.modal.insert(QStringLiteral("frmGuida"), [&](QDialog& d) {
            title = d.findChild<QLabel*>(QStringLiteral("lblTitolo"))->text();
            text = d.findChild<QPlainTextEdit*>(QStringLiteral("txtGuida"))->toPlainText();
            return 0;
        });
        QTest::mouseClick(named<PictureButton>(w.get(), u"cmdGuida"), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Esportazione archivio clienti in Microsoft Excel."));
        const QStringList paragraphs = text.split(QStringLiteral("\n\n"));
        QCOMPARE(paragraphs.size(), 3);
        QCOMPARE(paragraphs[0],
                 QStringLiteral("Il pulsante Esporta archivio consente di esportare i clienti."));
        QCOMPARE(paragraphs[2],
                 QString::fromUtf16(u"A questo punto è sufficiente salvare il file sul proprio disco "
                                    u"fisso assegnandogli un nome qualsiasi."));
    }

    void statusLineExplainsTheButtonsAndEmptiesOverTheBackground()
    {
        open();
        const auto enter = [](QWidget* target) {
            QEnterEvent event(QPointF(2, 2), QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)));
            QApplication::sendEvent(target, &event);
        };
        enter(named<PictureButton>(w.get(), u"cmdEsporta"));
        QCOMPARE(statusLine()->text(), QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
        enter(named<PictureButton>(w.get(), u"cmdGuida"));
        QCOMPARE(statusLine()->text(),
                 QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
        enter(named<PictureButton>(w.get(), u"cmdEsci"));
        QCOMPARE(statusLine()->text(), QStringLiteral("Esci da questo ambiente di lavoro."));
        // Moving over the bare background (its margin) empties the line.
        QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &move);
        QCOMPARE(statusLine()->text(), QString());
    }

    void esciClosesTheWindow()
    {
        open();
        QTest::mouseClick(named<PictureButton>(w.get(), u"cmdEsci"), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
    }
};

TARVELLO_TEST_MAIN(ExportWindowTest)
#include "test_exportwindow.moc"

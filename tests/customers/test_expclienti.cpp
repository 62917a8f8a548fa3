// The customer export, opened from the customer card: the grid, the document byte for byte, text
// typed into the grid, the open offer and the failures that must leave the old document alone.

#include "cardtesting.h"
#include "customers/expclienti.h"
#include "namedcontrols.h"
#include "readonlyfolder.h"
#include "shell/conventions.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

using namespace tarvello;
using namespace cardtesting;
namespace CR = tarvello::CustomerRecord;

namespace
{

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// The document's fixed head, as a spreadsheet program expects it, up to the table.
QByteArray documentHead(const QByteArray& sheet)
{
    return "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
           "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" xmlns=\"http://www.w3.org/TR/REC-html40\">"
           "<head>"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
           "<!--[if gte mso 9]><xml>"
           "<x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
           "<x:Name>" +
           sheet +
           "</x:Name>"
           "<x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
           "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes>"
           "<x:ProtectContents>False</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects>"
           "<x:ProtectScenarios>False</x:ProtectScenarios>"
           "</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook>"
           "</xml><![endif]-->"
           "</head><body><table x:str>";
}

// The header row of the customer document: 25 bold cells with their widths.
QByteArray customerHeaderRow()
{
    const std::pair<const char*, int> headers[] = {
        {"Cliente", 250},
        {"Denominazione Ditta", 250},
        {"Sesso", 150},
        {"Telefono preferenziale", 250},
        {"Indirizzo di residenza", 300},
        {"Comune di residenza", 250},
        {"CAP", 180},
        {"Tel. casa", 250},
        {"Tel. ufficio", 250},
        {"Tel. cellulare", 250},
        {"Indirizzo PEC", 250},
        {"E-mail", 250},
        {"Codice fiscale", 250},
        {"Partita IVA", 250},
        {"Carta di credito n.", 300},
        {"IBAN", 300},
        {"Tipo documento", 250},
        {"Numero documento", 200},
        {"Ente rilascio", 250},
        {"Data rilascio", 200},
        {"Data scadenza", 200},
        {"Prodotti e servizi di interesse", 350},
        {"Questioni in sospeso", 350},
        {"Note", 350},
        {"Codice Destinatario", 200},
    };
    QByteArray row = "<tr>";
    for (const auto& [text, width] : headers)
        row += "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) + ">" +
               QByteArray(text) + "</td>";
    return row + "</tr>";
}

// Identifier cells (postcode, phones, tax code, VAT number, card, IBAN, document number,
// recipient code) carry the text number format, so a spreadsheet program keeps their digits.
const QByteArray textCell =
    "<td sdnum=\"1040;0;@\" style=\"text-align: left; mso-number-format:&quot;\\@&quot;;\">";
const QList<int> identifierColumns = {3, 6, 7, 8, 9, 12, 13, 14, 15, 17, 24};

QByteArray dataRow(const QList<QByteArray>& cells)
{
    QByteArray row = "<tr>";
    for (int i = 0; i < cells.size(); ++i)
        row += (identifierColumns.contains(i) ? textCell : QByteArray("<td style=\"text-align: left;\">")) +
               cells[i] + "</td>";
    return row + "</tr>";
}

const QByteArray documentEnd = "</table></body></html>";

// A customer with every exported field filled, with accents and the characters HTML reserves.
QByteArray fullCustomer()
{
    return customer(u(u"Rossi"), u(u"Mario"), u(u"Sì"),
                    {{CR::Ditta, u(u"Rossi & Figli <S.r.l.>")},
                     {CR::Sesso, u(u"M")},
                     {CR::Recapito, u(u"0543 \"ufficio\"")},
                     {CR::IndirizzoRes, u(u"Via Emilia 12")},
                     {CR::ProvRes, u(u"FC")},
                     {CR::ComuneRes, u(u"Forlì")},
                     {CR::CapRes, u(u"47121")},
                     {CR::DataNasc, u(u"01/01/1980")},
                     {CR::ComuneNasc, u(u"Roma")},
                     {CR::ProvNasc, u(u"RM")},
                     {CR::TelCasa, u(u"0543 111")},
                     {CR::TelUff, u(u"0543 222")},
                     {CR::TelCel, u(u"347 333")},
                     {CR::Pec, u(u"rossi@pec.it")},
                     {CR::Email, u(u"mario@rossi.it")},
                     {CR::CodFisc, u(u"RSSMRA80A01D704U")},
                     {CR::Carta, u(u"4111111111111111")},
                     {CR::ScadeCarta, u(u"12/2030")},
                     {CR::PartitaIva, u(u"01234567897")},
                     {CR::Iban, u(u"IT60X0542811101000000123456")},
                     {CR::TipoPat, u(u"Carta d'identità")},
                     {CR::NumPat, u(u"CA123")},
                     {CR::EnteRil, u(u"Comune di Forlì")},
                     {CR::DataRil, u(u"10/05/2021")},
                     {CR::DataSca, u(u"10/05/2031")},
                     {CR::Conducente, u(u"Gomme > 17\"")},
                     {CR::Questioni, u(u"Fattura di marzo da sollecitare")},
                     {CR::Note, u(u"è tutto a posto")},
                     {CR::CodiceDest, u(u"M5UXCR1")},
                     {CR::File01, u(u"allegato.pdf")}});
}

// The same customer as the document must hold it: Windows-1252 bytes, & < > " escaped.
QList<QByteArray> fullCustomerCells()
{
    return {"Rossi Mario",
            "Rossi &amp; Figli &lt;S.r.l.&gt;",
            "M",
            "0543 &quot;ufficio&quot;",
            "Via Emilia 12",
            "Forl\xEC FC",
            "47121",
            "0543 111",
            "0543 222",
            "347 333",
            "rossi@pec.it",
            "mario@rossi.it",
            "RSSMRA80A01D704U",
            "01234567897",
            "4111111111111111",
            "IT60X0542811101000000123456",
            "Carta d'identit\xE0",
            "CA123",
            "Comune di Forl\xEC",
            "10/05/2021",
            "10/05/2031",
            "Gomme &gt; 17&quot;",
            "Fattura di marzo da sollecitare",
            "\xE8 tutto a posto",
            "M5UXCR1"};
}

} // namespace

class CustomerExportTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmClienti* card = nullptr;

    QString archive() const { return t->path(CR::fileName()); }
    QString document() const { return t->path(QStringLiteral("Clienti.xls")); }

    void onExport(std::function<void(TfrmExpClienti&)> body)
    {
        t->services.modal.insert(QStringLiteral("frmExpClienti"), [body](QDialog& d) {
            if (auto* w = qobject_cast<TfrmExpClienti*>(&d))
                body(*w);
            else
                QTest::qFail("the export is not a TfrmExpClienti", __FILE__, __LINE__);
            return d.result();
        });
    }

    void writeOldDocument() { QVERIFY(writeFile(document(), "esportazione precedente")); }

    void checkFailureLeftTheOldDocument()
    {
        QCOMPARE(t->services.messages.size(), 2);
        QCOMPARE(t->services.messages[1].kind, MessageKind::Plain);
        QCOMPARE(
            t->services.messages[1].text,
            u(u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di "
              u"Excel non sia già aperto."));
        QCOMPARE(fileBytes(document()), QByteArray("esportazione precedente"));
        QVERIFY(t->services.opened.isEmpty());
        QCOMPARE(
            QDir(t->dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("Clienti.xls")),
            QStringList{QStringLiteral("Clienti.xls")});
    }

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<TestProgram>();
        card = openCard(*t);
        QApplication::setActiveWindow(card);
    }
    void cleanup()
    {
        card = nullptr;
        t.reset();
    }

    void theGridShowsTheArchiveInItsColumns()
    {
        QVERIFY(writeArchive(archive(), {fullCustomer(), customer(u(u"Bianchi"), u(u""))}));
        onExport([&](TfrmExpClienti& w) {
            QCOMPARE(w.windowTitle(), u(u" Esporta archivio clienti in Microsoft Excel"));
            const ExportGridModel* m = w.gridModel();
            QCOMPARE(m->rowCount(), 2);
            QCOMPARE(m->columnCount(), 26);
            QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), u(u"N."));
            QCOMPARE(named<ExportGrid>(&w, u"grdRecords")->columnWidth(0), 60);
            QCOMPARE(m->index(1, 0).data().toString(), u(u"2"));
            // The grid keeps the blank between surname and an empty first name; the document drops it.
            QCOMPARE(m->index(1, w.gridColumn(QStringLiteral("colCliente"))).data().toString(),
                     u(u"Bianchi "));
            QCOMPARE(m->index(0, w.gridColumn(QStringLiteral("colComuneRes"))).data().toString(),
                     u(u"Forlì FC"));
            QCOMPARE(
                named<ExportGrid>(&w, u"grdRecords")->columnWidth(w.gridColumn(QStringLiteral("colNote"))),
                350);
            QCOMPARE(m->headerData(w.gridColumn(QStringLiteral("colCap")), Qt::Horizontal).toString(),
                     u(u"CAP"));

            QStringList editable;
            for (int c = 0; c < m->columnCount(); ++c)
                if (m->flags(m->index(0, c)) & Qt::ItemIsEditable)
                    editable.append(
                        m->headerData(c, Qt::Horizontal, ExportGridModel::ColumnNameRole).toString());
            QCOMPARE(editable, (QStringList{u(u"colComuneRes"), u(u"colPartitaIva"), u(u"colIban"),
                                            u(u"colTipoPat"), u(u"colNumPat"), u(u"colDataRil"),
                                            u(u"colQuestioni"), u(u"colNote"), u(u"colCodiceDest")}));
        });
        click(named<PictureButton>(card, u"cmdEsporta"));
        CHECK_BODY();
        QCOMPARE(t->services.modalShown, QStringList{QStringLiteral("frmExpClienti")});
    }

    void theDocumentIsWrittenByteForByteAndOffered()
    {
        QVERIFY(writeArchive(archive(), {fullCustomer()}));
        onExport([&](TfrmExpClienti& w) {
            QTest::mouseClick(named<PictureButton>(&w, u"cmdEsporta"), Qt::LeftButton);
        });
        click(named<PictureButton>(card, u"cmdEsporta"));
        CHECK_BODY();
        const QByteArray expected = documentHead("Riepilogo Clienti") + customerHeaderRow() +
                                    dataRow(fullCustomerCells()) + documentEnd;
        QCOMPARE(fileBytes(document()), expected);
        QVERIFY(!fileBytes(document()).contains('\n'));
        QCOMPARE(t->services.messages.size(), 2);
        QCOMPARE(t->services.messages[0].kind, MessageKind::Confirmation);
        QCOMPARE(t->services.messages[1].text, u(u"Le schede in archivio sono state esportate con "
                                                 u"successo.\r\n\r\nSi vuole aprire il file di Excel?"));
        QCOMPARE(t->services.opened, QList<QUrl>{QUrl::fromLocalFile(document())});
    }

    void textTypedIntoTheGridReachesTheDocumentNotTheArchive()
    {
        QVERIFY(writeArchive(archive(),
                             {customer(u(u"Rossi"), u(u"Mario"), u(u"No"), {{CR::Note, u(u"vecchia")}})}));
        const QByteArray before = fileBytes(archive());
        t->services.answers = {Answer::Yes, Answer::No};
        onExport([&](TfrmExpClienti& w) {
            ExportGrid* grid = named<ExportGrid>(&w, u"grdRecords");
            auto typeInto = [&](const QString& column, const QString& text) {
                const QModelIndex cell = w.gridModel()->index(0, w.gridColumn(column));
                grid->scrollTo(cell);
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
                QCOMPARE(grid->currentIndex(), cell);
                for (QChar c : text)
                    QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            };
            // A column that is not editable refuses typing.
            typeInto(QStringLiteral("colCliente"), u(u"x"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            typeInto(QStringLiteral("colNote"), u(u"Da richiamare"));
            // The editor is still open: the export button hands its text over first.
            QTest::mouseClick(named<PictureButton>(&w, u"cmdEsporta"), Qt::LeftButton);
        });
        click(named<PictureButton>(card, u"cmdEsporta"));
        CHECK_BODY();
        const QByteArray doc = fileBytes(document());
        QVERIFY(doc.contains("<td style=\"text-align: left;\">Rossi Mario</td>"));
        const QByteArray end = "<td style=\"text-align: left;\">Da richiamare</td>" + textCell +
                               "</td></tr></table></body></html>";
        QVERIFY(doc.endsWith(end));
        QCOMPARE(fileBytes(archive()), before);
        QVERIFY(t->services.opened.isEmpty()); // answered No to the offer
    }

    void anUnwritableFolderKeepsTheOldDocument()
    {
        QVERIFY(writeArchive(archive(), {fullCustomer()}));
        writeOldDocument();
        ReadOnlyFolder readOnly(t->dir.path());
        if (!readOnly.active())
            QSKIP("this machine cannot make a read-only folder");
        onExport([&](TfrmExpClienti& w) {
            QTest::mouseClick(named<PictureButton>(&w, u"cmdEsporta"), Qt::LeftButton);
        });
        click(named<PictureButton>(card, u"cmdEsporta"));
        CHECK_BODY();
        checkFailureLeftTheOldDocument();
    }

    void aDocumentHeldOpenElsewhereIsNotReplaced()
    {
        QVERIFY(writeArchive(archive(), {fullCustomer()}));
        writeOldDocument();
        // A spreadsheet program that has the file open holds a lock on it.
        HeldFile spreadsheetProgram(document(), HeldFile::Hold::Writing);
        QVERIFY(spreadsheetProgram.held());
        onExport([&](TfrmExpClienti& w) {
            QTest::mouseClick(named<PictureButton>(&w, u"cmdEsporta"), Qt::LeftButton);
        });
        click(named<PictureButton>(card, u"cmdEsporta"));
        spreadsheetProgram.release();
        CHECK_BODY();
        checkFailureLeftTheOldDocument();
    }

    void helpNamesTheCustomerExport()
    {
        QString title, text;
        t->services.modal.insert(QStringLiteral("frmGuida"), [&](QDialog& d) {
            title = d.findChild<QLabel*>(QStringLiteral("lblTitolo"))->text();
            text = d.findChild<QPlainTextEdit*>(QStringLiteral("txtGuida"))->toPlainText();
            return 0;
        });
        onExport([&](TfrmExpClienti& w) {
            QTest::mouseClick(named<PictureButton>(&w, u"cmdGuida"), Qt::LeftButton);
        });
        click(named<PictureButton>(card, u"cmdEsporta"));
        CHECK_BODY();
        QCOMPARE(title, u(u"Esportazione archivio clienti in Microsoft Excel."));
        QVERIFY(text.startsWith(u(u"Il pulsante Esporta archivio")));
        QVERIFY(text.contains(u(u"clienti")));
        QVERIFY(text.endsWith(u(u"A questo punto è sufficiente salvare il file sul proprio disco fisso "
                                u"assegnandogli un nome qualsiasi.")));
    }
};

int runCustomerExportTests(int argc, char** argv)
{
    CustomerExportTest tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_expclienti.moc"

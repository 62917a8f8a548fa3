#pragma once

#include "output/spreadsheet.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTableView>

#include <functional>
#include <vector>

class QLabel;

namespace tarvello
{

class AppContext;
class PictureButton;
class ProgressPanel;
class StatusLine;

// One column of an export grid after "N.", and the document column it becomes.
struct ExportColumn {
    QString name;       // the grid column's name: "colCliente"
    QString gridHeader; // "Cliente"
    int gridWidth = 100;
    bool editable = false; // typing reaches the document, never the archive
    QString documentHeader;
    int documentWidth = 0;
    CellAlignment alignment = CellAlignment::Left; // of the document's data cells (and the grid's)
    bool keepAsText = false; // an identifier: the document keeps its digits (see SpreadsheetColumn)
};

// What makes one export window what it is.
struct ExportDefinition {
    QString objectName;         // "frmExpClienti"
    QString caption;            // " Esporta archivio clienti in Microsoft Excel"
    QString fileName;           // "Clienti.xls", in the program's folder
    QString sheetName;          // "Riepilogo Clienti"
    QString helpTitle;          // "Esportazione archivio clienti in Microsoft Excel."
    QString helpFirstParagraph; // the export's own paragraph; the two common ones follow it
    QList<ExportColumn> columns;

    // The archive, asked each time the window is shown (the invoice export reads the year's file
    // from the invoice screen), and the size of its records.
    std::function<QString(AppContext&)> archivePath;
    int recordSize = 0;
    // The grid texts of one record, one per column in column order, as the grid shows them
    // (each record field trimmed; a cell joining two fields keeps the blank between them even
    // when the second is empty: the document trims every cell when it writes it).
    std::function<QStringList(const char* record)> readRecord;
};

// The rows of an export grid: column 0 is the one-based row number "N.", the others hold the
// texts read from the archive (and whatever the user typed into the editable ones). Each row is
// kept as one string with the ends of its cells, so a large archive costs little more than its
// text.
class ExportGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ExportGridModel(QList<ExportColumn> columns, QObject* parent = nullptr);

    // Loading: the rows are replaced in one reset.
    void beginLoading(qint64 expectedRows = 0);
    void appendRow(const QStringList& cells);
    void endLoading();

    int exportedColumnCount() const { return static_cast<int>(m_columns.size()); }
    // The text of exported column `column` (0 = the first column after "N.") of a row.
    QStringView cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Horizontal headers: the grid header for Qt::DisplayRole, the column's name ("colNum",
    // "colCliente", ...) for ColumnNameRole.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static constexpr int ColumnNameRole = Qt::UserRole + 1;

private:
    QList<ExportColumn> m_columns;
    std::vector<QString> m_rows; // the cells of a row, one after the other
    std::vector<quint32> m_ends; // end of each cell within its row's string, row by row
    bool m_loading = false;
};

// The grid `grdRecords`: a table that can hand over an edit still open when the user presses a
// picture button (which never takes the focus, so the editor would keep its text).
class ExportGrid : public QTableView
{
    Q_OBJECT
public:
    using QTableView::QTableView;
    void commitOpenEditor();
};

// The window every export shares: a white band with the banner, a pointing hand and the picture
// buttons cmdEsporta, cmdGuida and cmdEsci; the grid grdRecords with the whole archive; the
// status line panInfo.
//
// A specific export window is this class with its definition:
//
//     class TfrmExpMagazzino : public ExportWindow {
//     public:
//         TfrmExpMagazzino(AppContext& ctx, QWidget* owner) : ExportWindow(ctx, owner, definition()) {}
//     private:
//         static ExportDefinition definition()
//         {
//             auto s = [](const char16_t* text) { return QString::fromUtf16(text); };
//             ExportDefinition d;
//             d.objectName = s(u"frmExpMagazzino");
//             d.caption = s(u" Esporta archivio prodotti e servizi in Microsoft Excel");
//             d.fileName = s(u"Magazzino.xls");
//             d.sheetName = s(u"Magazzino");
//             d.helpTitle = ...;
//             d.helpFirstParagraph = ...;
//             d.columns = {
//                 {s(u"colCodice"), s(u"Codice articolo"), 150, false, s(u"Codice articolo"), 250},
//                 ...
//                 {s(u"colAccessori"), s(u"Accessori"), 350, true, s(u"Accessori"), 400},
//                 ...};
//             d.archivePath = [](AppContext& c) { return c.filePath(ProductRecord::fileName()); };
//             d.recordSize = ProductRecord::Size;
//             d.readRecord = [](const char* r) {
//                 const RecordLayout& l = ProductRecord::layout();
//                 return QStringList{decodeField(r, l.fields[ProductRecord::Codice]), ...};
//             };
//             return d;
//         }
//     };
//
// and is registered as a per-use dialog. When shown, the window reads the archive (creating it
// when absent) into the grid, one row per record in file order; a failure ends the loading
// without a word and keeps the rows read so far. cmdEsporta asks first, writes the document
// (HTML-escaped cells, through a temporary file that replaces the old one only when complete),
// says so and offers to open it; a failure shows the export failure message and leaves the old
// document as it was.
class ExportWindow : public QDialog
{
    Q_OBJECT
public:
    ExportWindow(AppContext& ctx, QWidget* owner, ExportDefinition definition);
    ~ExportWindow() override;

    const ExportDefinition& definition() const { return m_definition; }
    ExportGridModel* gridModel() const { return m_model; }
    // The grid column of a named column ("colNum" is 0), or -1.
    int gridColumn(const QString& name) const;
    // Where the document goes: the export's file name in the program's folder.
    QString documentPath() const;

    // Reads the archive into the grid (done each time the window is shown).
    void loadGrid();

protected:
    void showEvent(QShowEvent* event) override;

private:
    enum class Written { Done, Failed, Stopped };
    Written writeDocument();
    void cmdEsportaClick();
    void cmdGuidaClick();

    PictureButton* cmdEsporta;
    PictureButton* cmdGuida;
    PictureButton* cmdEsci;
    ExportGrid* grdRecords;
    StatusLine* panInfo;
    ProgressPanel* panProgresso; // while a long export is written
    QLabel* imgBanner;
    QLabel* imgMano;

    AppContext& m_ctx;
    ExportDefinition m_definition;
    ExportGridModel* m_model;
};

} // namespace tarvello

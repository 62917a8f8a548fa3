#include "output/exportwindow.h"
#include "shell/longwork.h"

#include "archive/archivefile.h"
#include "output/outputtexts.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/guida.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QAbstractItemDelegate>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace tarvello
{

// ---------------------------------------------------------------- grid model

ExportGridModel::ExportGridModel(QList<ExportColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{
}

void ExportGridModel::beginLoading(qint64 expectedRows)
{
    beginResetModel();
    m_loading = true;
    m_rows.clear();
    m_ends.clear();
    if (expectedRows > 0) {
        m_rows.reserve(size_t(expectedRows));
        m_ends.reserve(size_t(expectedRows) * size_t(m_columns.size()));
    }
}

void ExportGridModel::appendRow(const QStringList& cells)
{
    const bool signal = !m_loading;
    const int row = rowCount();
    if (signal)
        beginInsertRows(QModelIndex(), row, row);
    qsizetype size = 0;
    for (const QString& c : cells)
        size += c.size();
    QString text;
    text.reserve(size);
    for (qsizetype c = 0; c < m_columns.size(); ++c) {
        if (c < cells.size())
            text += cells[c];
        m_ends.push_back(quint32(text.size()));
    }
    m_rows.push_back(std::move(text));
    if (signal)
        endInsertRows();
}

void ExportGridModel::endLoading()
{
    m_loading = false;
    endResetModel();
}

QStringView ExportGridModel::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= exportedColumnCount())
        return {};
    const size_t base = size_t(row) * size_t(m_columns.size());
    const quint32 begin = column == 0 ? 0 : m_ends[base + size_t(column) - 1];
    const quint32 end = m_ends[base + size_t(column)];
    return QStringView(m_rows[size_t(row)]).sliced(begin, end - begin);
}

void ExportGridModel::setCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= exportedColumnCount())
        return;
    const size_t base = size_t(row) * size_t(m_columns.size());
    const quint32 begin = column == 0 ? 0 : m_ends[base + size_t(column) - 1];
    const quint32 end = m_ends[base + size_t(column)];
    QString& rowText = m_rows[size_t(row)];
    rowText.replace(begin, end - begin, text);
    const qint64 shift = qint64(text.size()) - qint64(end - begin);
    for (int c = column; c < exportedColumnCount(); ++c)
        m_ends[base + size_t(c)] = quint32(qint64(m_ends[base + size_t(c)]) + shift);
    const QModelIndex changed = index(row, column + 1);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

int ExportGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ExportGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : exportedColumnCount() + 1;
}

QVariant ExportGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int column = index.column() - 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column < 0)
            return QString::number(index.row() + 1);
        return cell(index.row(), column).toString();
    case Qt::TextAlignmentRole: {
        const bool right = column >= 0 && m_columns[column].alignment == CellAlignment::Right;
        return int(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    default:
        return {};
    }
}

bool ExportGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    setCell(index.row(), index.column() - 1, value.toString());
    return true;
}

Qt::ItemFlags ExportGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const int column = index.column() - 1;
    if (column >= 0 && m_columns[column].editable)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant ExportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section > exportedColumnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return section == 0 ? QStringLiteral("N.") : m_columns[section - 1].gridHeader;
    if (role == ColumnNameRole)
        return section == 0 ? QStringLiteral("colNum") : m_columns[section - 1].name;
    return QAbstractTableModel::headerData(section, orientation, role);
}

// ---------------------------------------------------------------- grid

void ExportGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

// ---------------------------------------------------------------- window

ExportWindow::ExportWindow(AppContext& ctx, QWidget* owner, ExportDefinition definition)
    : QDialog(owner), m_ctx(ctx), m_definition(std::move(definition))
{
    nameWindow(this, m_definition.objectName, m_definition.caption);
    makeDialogFrame(this);
    setFixedSize(1000, 640);
    setAttribute(Qt::WA_StyledBackground);
    setTone(this, "export");

    // The white band along the top.
    auto* band = new QFrame(this);
    band->setObjectName(QStringLiteral("panBanda"));
    imgBanner = new QLabel(band);
    imgBanner->setObjectName(QStringLiteral("imgBanner"));
    imgBanner->setPixmap(QIcon(QStringLiteral(":/banner_esporta.svg")).pixmap(QSize(560, 64)));
    imgMano = new QLabel(band);
    imgMano->setObjectName(QStringLiteral("imgMano"));
    imgMano->setPixmap(QIcon(QStringLiteral(":/icons/mano.svg")).pixmap(QSize(28, 28)));
    cmdEsporta = new PictureButton(QStringLiteral("cmdEsporta"), QStringLiteral(":/icons/foglio_excel.svg"),
                                   QStringLiteral("Esporta archivio"), QSize(44, 44), band);
    cmdGuida = new PictureButton(QStringLiteral("cmdGuida"), QStringLiteral(":/icons/guida.svg"),
                                 QStringLiteral("Guida"), QSize(44, 44), band);
    cmdEsci = new PictureButton(QStringLiteral("cmdEsci"), QStringLiteral(":/icons/esci.svg"),
                                QStringLiteral("Esci"), QSize(44, 44), band);
    for (PictureButton* b : {cmdEsporta, cmdGuida, cmdEsci}) {
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        setTypeface(b, "tiny");
        b->setMinimumWidth(96);
    }
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(14, 8, 14, 8);
    bandLayout->setSpacing(10);
    bandLayout->addWidget(imgBanner);
    bandLayout->addStretch(1);
    bandLayout->addWidget(imgMano);
    bandLayout->addWidget(cmdEsporta);
    bandLayout->addWidget(cmdGuida);
    bandLayout->addWidget(cmdEsci);

    // The grid: the whole archive, one row per record.
    m_model = new ExportGridModel(m_definition.columns, this);
    grdRecords = new ExportGrid(this);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setModel(m_model);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRecords->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdRecords->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grdRecords->setWordWrap(false);
    setTypeface(grdRecords, "grid");
    grdRecords->verticalHeader()->hide(); // the "N." column numbers the rows
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setMinimumSectionSize(21);
    grdRecords->verticalHeader()->setDefaultSectionSize(21);
    grdRecords->horizontalHeader()->setHighlightSections(false);
    grdRecords->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdRecords->setColumnWidth(0, 60);
    for (qsizetype c = 0; c < m_definition.columns.size(); ++c)
        grdRecords->setColumnWidth(int(c) + 1, m_definition.columns[c].gridWidth);

    panInfo = new StatusLine(OutputTexts::exportStatusText(), QStringLiteral("export"), this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->addHint(cmdEsporta, OutputTexts::exportHint());
    panInfo->addHint(cmdGuida, OutputTexts::helpHint());
    panInfo->addHint(cmdEsci, OutputTexts::exitHint());
    panInfo->clearOver(this);
    panInfo->clearOver(band);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    auto* middle = new QVBoxLayout;
    middle->setContentsMargins(12, 12, 12, 12);
    middle->addWidget(grdRecords, 1);
    layout->addLayout(middle, 1);
    panProgresso = new ProgressPanel(this);
    layout->addWidget(panProgresso);
    layout->addWidget(panInfo);

    connect(cmdEsporta, &QToolButton::clicked, this, &ExportWindow::cmdEsportaClick);
    connect(cmdGuida, &QToolButton::clicked, this, &ExportWindow::cmdGuidaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &QDialog::reject);
}

ExportWindow::~ExportWindow() = default;

int ExportWindow::gridColumn(const QString& name) const
{
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (m_model->headerData(c, Qt::Horizontal, ExportGridModel::ColumnNameRole).toString() == name)
            return c;
    return -1;
}

QString ExportWindow::documentPath() const
{
    return m_ctx.filePath(m_definition.fileName);
}

void ExportWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not when the desktop merely restores the window
        loadGrid();
}

void ExportWindow::loadGrid()
{
    const QString path = m_definition.archivePath ? m_definition.archivePath(m_ctx) : QString();
    ArchiveFile file(path, m_definition.recordSize);
    bool opened = !path.isEmpty() && m_definition.recordSize > 0 && m_definition.readRecord &&
                  file.open(ArchiveFile::Access::Read);
    m_model->beginLoading(opened ? file.count() : 0);
    if (opened) {
        // A failure ends the loading quietly; the rows read so far stay in the grid.
        file.forEach([this](qint64, const char* record) {
            m_model->appendRow(m_definition.readRecord(record));
            return true;
        });
        file.close();
    }
    m_model->endLoading();
}

ExportWindow::Written ExportWindow::writeDocument()
{
    QList<SpreadsheetColumn> columns;
    for (const ExportColumn& c : m_definition.columns)
        columns.append({c.documentHeader, c.documentWidth, c.alignment, c.keepAsText});
    const ExportGridModel* model = m_model;
    // The grid takes no input while the document is written from it.
    bool written = false;
    const bool finished =
        runLong(panProgresso, QStringLiteral("Esportazione in corso..."), [&](Progress& progress) {
            written = writeSpreadsheet(
                documentPath(), m_definition.sheetName, columns, model->rowCount(),
                [model](int row, int column) { return model->cell(row, column); }, nullptr, &progress);
        });
    if (!finished)
        return Written::Stopped;
    return written ? Written::Done : Written::Failed;
}

void ExportWindow::cmdEsportaClick()
{
    // The export buttons never take the focus: a cell still being edited is handed over first.
    grdRecords->commitOpenEditor();
    Services& services = m_ctx.services();
    if (services.message(this, MessageKind::Confirmation, OutputTexts::exportConfirmation()) == Answer::No)
        return;
    switch (writeDocument()) {
    case Written::Failed:
        services.message(this, MessageKind::Plain, OutputTexts::exportFailed());
        return;
    case Written::Stopped:
        services.message(this, MessageKind::Plain,
                         QStringLiteral("Esportazione interrotta: il file %1 è rimasto com'era.")
                             .arg(m_definition.fileName));
        return;
    case Written::Done:
        break;
    }
    if (services.message(this, MessageKind::Confirmation, OutputTexts::exportDone()) != Answer::No)
        openOrExplain(services, this, QUrl::fromLocalFile(documentPath()));
}

void ExportWindow::cmdGuidaClick()
{
    showHelp(m_ctx, this, m_definition.helpTitle, OutputTexts::exportHelp(m_definition.helpFirstParagraph));
}

} // namespace tarvello

#pragma once

#include "output/exportwindow.h"
#include "output/searchwindow.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class InvoiceTarget;
class Record;
struct ArticleRequest;
namespace StockJournal
{
struct Entry;
}

// The product search: up to ten criteria at once, the products found as a sorted list that can be
// searched and printed, and a double click that puts the product of the chosen line onto the
// product card (mode "magazzino" in lblMemory).
class TfrmTrovaMagazzino : public SearchWindow
{
    Q_OBJECT
public:
    explicit TfrmTrovaMagazzino(AppContext& ctx, QWidget* owner = nullptr);

protected:
    Search search(std::span<const QString> typed) override;
    void lineChosen(qint64 record) override;
};

// The low-stock list: every product whose stock is at or below its reorder level.
class TfrmSottoscorta : public ListWindow
{
    Q_OBJECT
public:
    explicit TfrmSottoscorta(AppContext& ctx, QWidget* owner = nullptr);

protected:
    void shown() override;
    void lineChosen(qint64 record) override;

private:
    // How many cards the list leaves out because their figures are no numbers; hidden when none.
    QLabel* m_lblEscluse;
};

// The product export: the whole of Magazzino.pro in a grid of 23 columns, written as the
// spreadsheet document Magazzino.xls in the program's folder.
class TfrmExpMagazzino : public ExportWindow
{
    Q_OBJECT
public:
    explicit TfrmExpMagazzino(AppContext& ctx, QWidget* owner = nullptr);
    static ExportDefinition definition();
};

// The article import of an invoice row: finds a product, optionally takes a quantity off its
// stock, and hands the code, description and price to the row of the invoice it was opened for.
// Opened for no invoice, it finds and prints products, and its import buttons stay disabled.
class TfrmImportaMagazzino : public SearchWindow
{
    Q_OBJECT
public:
    explicit TfrmImportaMagazzino(AppContext& ctx, QWidget* owner = nullptr);

    // A new import owned by `owner`, shown modally, for the row `request` names of `invoice`.
    static void openForInvoice(AppContext& ctx, QWidget* owner, InvoiceTarget& invoice,
                               const ArticleRequest& request);
    // From now on the import fills that row of `invoice`: the row's quantity and code, when not
    // empty, go into the quantity to take off and the code to search for.
    void importInto(InvoiceTarget& invoice, const ArticleRequest& request);

    static QString noSelectionMessage();
    static QString aboveStockMessage();
    static QString notANumberMessage();
    static QString notWrittenDownMessage();

protected:
    Search search(std::span<const QString> typed) override;
    // A line chosen with Enter shows its article as a click does, and the keyboard goes on to
    // the quantity to take off: Enter there moves to the import.
    void lineChosen(qint64 record) override;
    // A double click below the lines leaves the import open.
    void nothingChosen() override {}

private:
    QWidget* buildChosenArticle(QWidget* page);
    void lstRecordsClick(qint64 record);
    void btnAggiornaClick();
    void btnNonAggiornareClick();
    // The product goes into the invoice's row; `taken` is what came off its stock ("" for nothing).
    void fillInvoiceRow(const Record& product, const QString& taken);
    std::optional<StockJournal::Entry> journalEntry(qint64 record) const;

    QLabel *lblCodice, *lblDescrizione, *lblGiacenza;
    QLineEdit* txtQuant;
    QPushButton* btnAggiorna;
    QPushButton* btnNonAggiornare;

    // The invoice and its row the import fills; none until told.
    InvoiceTarget* m_invoice = nullptr;
    int m_row = 0;
};

} // namespace tarvello

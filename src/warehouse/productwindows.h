#pragma once

#include "output/exportwindow.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tarvello
{

class AppContext;
class InvoiceTarget;
class Record;
class ResultList;
struct ArticleRequest;
namespace StockJournal
{
struct Entry;
}

// The product search: up to ten criteria at once, the products found as a sorted list that can be
// searched and printed, and a double click that puts the product of the chosen line onto the
// product card (mode "magazzino" in lblMemory).
class TfrmTrovaMagazzino : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrovaMagazzino(AppContext& ctx, QWidget* owner = nullptr);

    QWidget* panCriteri;
    QLineEdit *txtCodice, *txtTipologia, *txtMarca, *txtModello, *txtDescrizione, *txtAccessori,
        *txtFornitore, *txtDocumento, *txtCollocazione, *txtNote;
    QPushButton* btnCerca;
    QPushButton* btnAnnulla;
    QLabel* lblAttendere;
    QLabel* lblMemory;

    QWidget* panRisultati;
    QLineEdit* txtTrova;
    QPushButton* btnTrova;
    ResultList* lstRecords;
    QLabel* lblTrovate;
    QPushButton* btnStampa;
    QPushButton* btnChiudi;

    void btnCercaClick();
    void btnTrovaClick();
    void btnStampaClick();
    void lstRecordsDblClick(qint64 record);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildCriteria();
    QWidget* buildResults();

    AppContext& m_ctx;
    QStackedWidget* m_panels;
};

// The low-stock list: every product whose stock is at or below its reorder level.
class TfrmSottoscorta : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSottoscorta(AppContext& ctx, QWidget* owner = nullptr);

    QLineEdit* txtTrova;
    QPushButton* btnTrova;
    ResultList* lstRecords;
    QPushButton* btnStampa;
    QPushButton* btnChiudi;
    // How many cards the list leaves out because their figures are no numbers; hidden when none.
    QLabel* lblEscluse;

    void btnTrovaClick();
    void btnStampaClick();
    void lstRecordsDblClick(qint64 record);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void loadList();
    AppContext& m_ctx;
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
class TfrmImportaMagazzino : public QDialog
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

    QWidget* panAvvio;
    QLineEdit *txtCodice, *txtTipologia, *txtMarca, *txtModello, *txtDescrizione, *txtAccessori,
        *txtFornitore, *txtDocumento, *txtCollocazione, *txtNote;
    QPushButton* btnCerca;
    QPushButton* btnAnnulla;
    QLabel* lblAttendere;

    QWidget* panContainer;
    QLineEdit* txtTrova;
    QPushButton* btnTrova;
    ResultList* lstRecords;
    QLabel* lblTrovate;
    QLabel *lblCodice, *lblDescrizione, *lblGiacenza;
    QLineEdit* txtQuant;
    QPushButton* btnAggiorna;
    QPushButton* btnNonAggiornare;
    QPushButton* btnStampa;
    QPushButton* btnChiudi;

    void btnCercaClick();
    void btnTrovaClick();
    void btnStampaClick();
    void lstRecordsClick(qint64 record);
    void btnAggiornaClick();
    void btnNonAggiornareClick();

    void done(int result) override;

    static QString noSelectionMessage();
    static QString aboveStockMessage();
    static QString notANumberMessage();
    static QString notWrittenDownMessage();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildCriteria();
    QWidget* buildResults();
    // The product goes into the invoice's row; `taken` is what came off its stock ("" for nothing).
    void fillInvoiceRow(const Record& product, const QString& taken);
    std::optional<StockJournal::Entry> journalEntry(qint64 record) const;

    AppContext& m_ctx;
    QStackedWidget* m_panels;
    // The invoice and its row the import fills; none until told.
    InvoiceTarget* m_invoice = nullptr;
    int m_row = 0;
};

} // namespace tarvello

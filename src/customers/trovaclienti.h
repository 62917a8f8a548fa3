#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tarvello
{

class AppContext;
class InvoiceTarget;
class ResultList;

// The customer search: up to ten criteria at once, the customers found as a sorted list that can
// be searched and printed, and a double click that hands the chosen customer to the caller. Opened
// for an invoice (openForInvoice), it hands the customer's data to that invoice; otherwise the
// caller's mode in lblMemory says what the choice does: "clienti" loads the customer onto the
// customer card.
class TfrmTrovaClienti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrovaClienti(AppContext& ctx, QWidget* owner = nullptr);

    // A new search owned by `owner`, shown modally, whose chosen customer goes to `invoice`.
    static void openForInvoice(AppContext& ctx, QWidget* owner, InvoiceTarget& invoice);
    // The invoice the search serves, or nullptr.
    InvoiceTarget* invoice() const { return m_invoice; }

    // The criteria panel, shown when the window opens.
    QWidget* panCriteri;
    QLineEdit *txtCognome, *txtDitta, *txtPartitaIva, *txtCodFisc, *txtComuneRes, *txtTelCel, *txtConducente,
        *txtCodiceDest, *txtQuestioni, *txtNote;
    QPushButton* btnCerca;
    QPushButton* btnAnnulla;
    QLabel* lblAttendere;
    QLabel* lblConta;  // hidden: how many criteria the last search was given
    QLabel* lblMemory; // hidden: the caller's mode

    // The results panel, shown after a search.
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
    // A line was chosen (double click, or Enter on the selected line): `record` is its record.
    void lstRecordsDblClick(qint64 record);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildCriteria();
    QWidget* buildResults();

    AppContext& m_ctx;
    QStackedWidget* m_panels;
    InvoiceTarget* m_invoice = nullptr;
};

} // namespace tarvello

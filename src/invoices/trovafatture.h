#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tarvello
{

class AppContext;
class ResultList;

// The invoice search: up to ten criteria at once on the year open on the invoice screen, the
// invoices found in file order, find and print on the list, and a double click that opens the
// chosen invoice on the invoice screen (when lblMemory says "fatture"), so a later Save there
// overwrites it in place.
class TfrmTrovaFatture : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrovaFatture(AppContext& ctx, QWidget* owner = nullptr);

    QWidget* panAvvio; // the criteria
    QLineEdit *txtNumFatt, *txtData, *txtCliente, *txtViaCliente, *txtCittaCliente, *txtPagamento,
        *txtIvaCliente, *txtCodFiscCliente, *txtRiferimenti, *txtNote;
    QPushButton* btnCerca;
    QPushButton* btnAnnulla;
    QLabel* lblAttendere;
    QLabel* lblMemory; // hidden: the caller's mode

    QWidget* panContainer; // the results
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
    QList<QLineEdit*> m_criteria;
};

} // namespace tarvello

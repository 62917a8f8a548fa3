#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class ResultList;

// The unpaid invoices of the year open on the invoice screen, listed as soon as the window is
// shown; find and print on the list, and a double click that opens the chosen invoice on the
// invoice screen (to tick "Saldata" there and save it in place).
class TfrmSospese : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSospese(AppContext& ctx, QWidget* owner = nullptr);

    QLineEdit* txtTrova;
    QPushButton* btnTrova;
    ResultList* lstRecords;
    QPushButton* btnStampa;
    QPushButton* btnChiudi;

    void loadList();
    void btnTrovaClick();
    void btnStampaClick();
    void lstRecordsDblClick(qint64 record);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& m_ctx;
};

} // namespace tarvello

#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class ResultList;

// The customers whose card has "Da ricontattare" ticked, one line each with the pending issues at
// the end. The list can be searched and printed; a double click loads the customer onto the
// customer card.
class TfrmRicontatta : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmRicontatta(AppContext& ctx, QWidget* owner = nullptr);

    QLineEdit* txtTrova;
    QPushButton* btnTrova;
    ResultList* lstRecords;
    QPushButton* btnStampa;
    QPushButton* btnChiudi;

    // Reads the archive into the list (done each time the window is shown).
    void loadList();
    void btnTrovaClick();
    void btnStampaClick();
    // A line was chosen (double click, or Enter on the selected line): `record` is its record.
    void lstRecordsDblClick(qint64 record);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& m_ctx;
};

} // namespace tarvello

#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class PictureButton;

// The three attached files of a card, each with a description. It edits the card's hidden
// labels lblFile01..03 and lblDesc01..03, not the archive: the names reach the record when the
// card is saved. The caller writes its mode into lblMemory: "clienti" for the customer card,
// "magazzino" for the product card.
class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(AppContext& ctx, QWidget* owner = nullptr);

    // Fills the six fields from a card's hidden labels, each trimmed.
    void loadFrom(const QWidget* card);

private:
    // Slots are numbered 1 to 3.
    void btnSfogliaClick(int slot);
    void btnApriClick(int slot);
    void imgCancellaClick(int slot);
    void btnApplicaClick();

    // The controls of one file: txtFileNN, txtDescNN, btnSfogliaNN, btnApriNN and imgCancellaNN.
    struct Slot {
        QLineEdit* file;
        QLineEdit* desc;
        QPushButton* browse;
        QPushButton* open;
        PictureButton* remove;
    };
    Slot& slot(int n) { return m_slots[size_t(n - 1)]; }
    QWidget* callerCard() const;

    QPushButton* btnApplica;
    QPushButton* btnAnnulla;
    QLabel* lblMemory;
    AppContext& m_ctx;
    std::array<Slot, 3> m_slots{};
};

// Opens the attachments window for `card` in `mode` ("clienti" or "magazzino"): a new window
// owned by the card, filled from the card's hidden labels, shown modally and then discarded.
void openAttachments(AppContext& ctx, QWidget* card, const QString& mode);

} // namespace tarvello

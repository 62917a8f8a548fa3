#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;

// The stock update window of the product card's "+" and "-": the current stock, the quantity to
// add or subtract and their total, which "Applica e chiudi" copies into the card's stock. The card
// tells the mode by the text of lblAggiunta. The archive changes only when the card is saved.
class TfrmGiacenza : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGiacenza(AppContext& ctx, QWidget* owner = nullptr);

    static QString addCaption();      // "Quantità da aggiungere:"
    static QString subtractCaption(); // "Quantità da sottrarre:"

private:
    void btnTotaleClick();
    void btnAggiornaClick();

    QLineEdit* txtGiacenza;
    QLabel* lblAggiunta;
    QLineEdit* txtAggiunta;
    QPushButton* btnTotale;
    QLineEdit* txtTotale;
    QPushButton* btnAggiorna;
    QPushButton* btnChiudi;
    AppContext& m_ctx;
};

// The extra data of a product: height, width, length and expiry date, free texts kept in the
// card's hidden holders memConsumo, memAderenza, memRumore and memOnde until the card is saved.
class TfrmDatiPneumatici : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDatiPneumatici(AppContext& ctx, QWidget* owner = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnApplicaClick();

    QLineEdit *txtConsumo, *txtAderenza, *txtRumore, *txtOnde;
    QPushButton* btnApplica;
    QPushButton* btnAnnulla;
    AppContext& m_ctx;
};

} // namespace tarvello

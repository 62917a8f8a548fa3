#pragma once

#include <QDialog>
#include <QImage>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class PictureButton;

// Start number and year suffix of the invoice numbering.
class TfrmNumerazioneFat : public QDialog
{
    Q_OBJECT
public:
    TfrmNumerazioneFat(AppContext& ctx, QWidget* owner = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void btnApplicaClick();
    bool servesInvoices() const;

    QLineEdit* txtInizio;
    QCheckBox* chkTipo;
    QPushButton* btnAnnulla;
    QPushButton* btnApplica;
    QLabel* lblMemory;
    AppContext& m_ctx;
};

// The six transport details of the invoice on the screen.
class TfrmDatiFattura : public QDialog
{
    Q_OBJECT
public:
    TfrmDatiFattura(AppContext& ctx, QWidget* owner = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnApplicaClick();

    QLineEdit *txtVeicolo, *txtMarca, *txtColore, *txtImmatricolazione, *txtAlimentazione, *txtTarga;
    QPushButton* btnAnnulla;
    QPushButton* btnApplica;
    QLabel* lblMemory;
    AppContext& m_ctx;
};

// The company logo printed on the invoices, kept as Logo.bmp in the program's folder.
class TfrmLogo : public QDialog
{
    Q_OBJECT
public:
    TfrmLogo(AppContext& ctx, QWidget* owner = nullptr);

    const QImage& picture() const { return m_picture; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnSfogliaClick();
    void btnApplicaClick();
    void setPicture(const QImage& picture);

    QLabel* imgLogo;
    PictureButton* imgEuro;
    PictureButton* btnCancLogo;
    QPushButton* btnAnnulla;
    QPushButton* btnSfoglia;
    QPushButton* btnApplica;
    AppContext& m_ctx;
    QImage m_picture;
};

// Logo.bmp, or the euro sign when it is missing or unreadable.
QImage defaultLogo();
QImage blankLogo();
QImage invoiceLogo(const QString& programFolder);
QString logoFileName(); // "Logo.bmp"

} // namespace tarvello

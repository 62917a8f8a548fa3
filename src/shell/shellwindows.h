#pragma once

#include "commands.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class LinkLabel;
class PictureButton;

// The launcher: the three applications and the small information, help, credits and exit pictures.
class TfrmAvvio : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAvvio(AppContext& ctx);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    PictureButton *imgClienti, *appClienti, *btnClienti;
    PictureButton *imgMagazzino, *appMagazzino, *btnMagazzino;
    PictureButton *imgFatture, *appFatture, *btnFatture;
    PictureButton *imgInfo, *imgGuida, *imgCopyright, *imgEsci, *imgSito;
    AppContext& m_ctx;
    ScreenCommands m_commands;
};

// The invoice menu: which year's invoices to open, or the revenue statistics.
class TfrmMenuFatture : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmMenuFatture(AppContext& ctx);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void btnApriFatturaClick();
    void openLogo();

    QLineEdit* txtAnnoFatture;
    QPushButton* btnApriFatture;
    QPushButton* btnApriRiepStats;
    LinkLabel* lnkWeb;
    PictureButton* imgEmail;
    PictureButton* imgGuida;
    PictureButton* imgEsci;
    QLabel* lblMemory;
    AppContext& m_ctx;
};

// Product information and a way to write to the maker.
class TfrmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(AppContext& ctx, QWidget* owner = nullptr);

private:
    QLabel* lblCartella;
    QPushButton* cmdChiudi;
    LinkLabel* lnkEmail;
    PictureButton* imgEmail;
};

// Credits, and the maker's web page.
class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(AppContext& ctx, QWidget* owner = nullptr);

private:
    QPushButton* cmdChiudi;
    LinkLabel* lnkWeb;
    PictureButton* imgWeb;
};

} // namespace tarvello

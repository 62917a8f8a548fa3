#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;

// The first window: asks for the access password. It is the program's main window, so
// closing it by any means ends the program.
class TfrmPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmPassword(AppContext& ctx);

    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdEsci;
    QPushButton* btnCambiaPassword;
    QLabel* lblMemory;

    void cmdOKClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void updateOK();
    void giveBackAbandonedImports();
    AppContext& m_ctx;
};

class TfrmCambiaPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(AppContext& ctx);

    QLineEdit* txtPasswordOld;
    QLineEdit* txtPasswordNew;
    QLineEdit* txtConferma;
    QPushButton* cmdEsci;
    QPushButton* cmdOK;
    QLabel* lblMemory;

    void cmdOKClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void updateOK();
    AppContext& m_ctx;
};

} // namespace tarvello

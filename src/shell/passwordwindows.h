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

    // Back from the change of password: an empty field, ready for the password again.
    void askAgain();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdOKClick();
    void updateOK();
    void giveBackAbandonedImports();

    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdEsci;
    QPushButton* btnCambiaPassword;
    QLabel* lblMemory;
    AppContext& m_ctx;
};

class TfrmCambiaPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(AppContext& ctx);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdOKClick();
    void updateOK();

    QLineEdit* txtPasswordOld;
    QLineEdit* txtPasswordNew;
    QLineEdit* txtConferma;
    QPushButton* cmdEsci;
    QPushButton* cmdOK;
    QLabel* lblMemory;
    AppContext& m_ctx;
};

} // namespace tarvello

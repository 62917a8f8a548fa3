#pragma once

#include "checks/checkmessage.h"
#include "shell/checkbuttons.h"

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvello
{

class AppContext;

// The frame the four check windows share: a picture, one instruction, one entry field in a large
// monospaced font, "Controlla" and "Chiudi". A verdict on the number is shown and closes the window;
// a warning about the input itself (wrong length, nothing typed) sends the user back to the field.
class CheckWindow : public EntryDialog
{
    Q_OBJECT
public:
    // Puts a caller's text into the field whole, even when it is longer than the user may type
    // there: a code copied from a wider field must be called too long, never be checked on a
    // shortened copy of itself that might happen to pass.
    void setEntryText(const QString& text) override;
    // How many characters the user may type into an empty field.
    int typingLimit() const { return m_typingLimit; }

protected:
    struct Setup {
        QString objectName;
        QString caption;
        QString instruction;
        QString fieldName;
        int typingLimit = 0;
        QString picture;
    };
    CheckWindow(AppContext& ctx, QWidget* owner, const Setup& setup);

    // What "Controlla" shows for the field's text; no message closes the window in silence.
    virtual std::optional<CheckMessage> check(const QString& text) const = 0;
    QLineEdit* entryField() const { return m_field; }

    void showEvent(QShowEvent* event) override;

private:
    void btnControllaClick();
    void btnChiudiClick();

    QLabel* lblIstruzioni;
    QPushButton* btnControlla;
    QPushButton* btnChiudi;
    AppContext& m_ctx;
    QLineEdit* m_field;
    int m_typingLimit;
};

// Tax code (codice fiscale): 16 characters, the 16th a check letter.
class TfrmCodFisc final : public CheckWindow
{
    Q_OBJECT
public:
    explicit TfrmCodFisc(AppContext& ctx, QWidget* owner = nullptr);

protected:
    std::optional<CheckMessage> check(const QString& text) const override;

private:
    QLineEdit* txtCodFisc;
};

// VAT number (partita IVA): 11 digits, the last a check digit; names the office that issued it.
class TfrmPartitaIva final : public CheckWindow
{
    Q_OBJECT
public:
    explicit TfrmPartitaIva(AppContext& ctx, QWidget* owner = nullptr);

protected:
    std::optional<CheckMessage> check(const QString& text) const override;

private:
    QLineEdit* txtPartitaIva;
};

// Italian IBAN: 27 characters, MOD 97-10 check digits.
class TfrmIban final : public CheckWindow
{
    Q_OBJECT
public:
    explicit TfrmIban(AppContext& ctx, QWidget* owner = nullptr);

protected:
    std::optional<CheckMessage> check(const QString& text) const override;

private:
    QLineEdit* txtIban;
};

// Credit card number: Luhn check digit; names the card type from the first digits.
class TfrmCarta final : public CheckWindow
{
    Q_OBJECT
public:
    explicit TfrmCarta(AppContext& ctx, QWidget* owner = nullptr);

protected:
    std::optional<CheckMessage> check(const QString& text) const override;

private:
    QLineEdit* txtNumero;
};

// The hints (status line and tooltip) of the screens' check buttons.
namespace CheckHints
{
QString taxCode();   // "Controlla il codice fiscale."
QString vatNumber(); // "Controlla il numero di partita IVA."
QString iban();      // "Controlla l'IBAN."
QString card();      // "Controlla il numero di carta di credito."
} // namespace CheckHints

} // namespace tarvello

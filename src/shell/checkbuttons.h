#pragma once

#include <QDialog>
#include <QString>
#include <QStringView>

namespace tarvello
{

class AppContext;

// A dialog that takes a caller's text into its entry field when it is opened.
class EntryDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;
    virtual void setEntryText(const QString& text) = 0;
};

// What the screens' check buttons call. The check windows belong to the checks subsystem, which
// registers them by name; a build without it has none, and the buttons open nothing. Each call
// opens a new check window owned by `owner` with the trimmed text in its field, modally, and
// discards it when it closes; nothing comes back to the caller's field.

// A tax code of digits only (not empty) is a business's, and so its VAT number: that opens the VAT
// number check instead. Anything else, an empty text included, opens the tax code check.
void openTaxCodeCheck(AppContext& ctx, QWidget* owner, const QString& text);
void openVatNumberCheck(AppContext& ctx, QWidget* owner, const QString& text);
void openIbanCheck(AppContext& ctx, QWidget* owner, const QString& text);
void openCardCheck(AppContext& ctx, QWidget* owner, const QString& text);

// A tax code of digits only belongs to a business and is its VAT number, so the tax-code buttons
// open the VAT number check for it instead.
bool taxCodeIsVatNumber(QStringView text);

} // namespace tarvello

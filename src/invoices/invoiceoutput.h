#pragma once

#include <QDialog>

namespace tarvello
{

class AppContext;
class ReportDocument;

// The three small windows that print the invoice on the screen, preview it or write it as a
// PDF file. They read the invoice screen (their owner) at the moment of output.
class InvoiceOutputDialog : public QDialog
{
    Q_OBJECT
protected:
    InvoiceOutputDialog(AppContext& ctx, QWidget* owner, const QString& objectName, const QString& caption,
                        const QString& picture, const QString& confirmText, QSize size);
    void paintEvent(QPaintEvent* event) override;
    // The layout filled from the invoice screen and the logo of the program's folder.
    ReportDocument document() const;
    virtual void produce() = 0;
    AppContext& m_ctx;
};

class TfrmStampaFat final : public InvoiceOutputDialog
{
    Q_OBJECT
public:
    explicit TfrmStampaFat(AppContext& ctx, QWidget* owner = nullptr);

protected:
    void produce() override;
};

class TfrmAnteprimaFat final : public InvoiceOutputDialog
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaFat(AppContext& ctx, QWidget* owner = nullptr);

protected:
    void produce() override;
};

class TfrmCrea_PDF_Fat final : public InvoiceOutputDialog
{
    Q_OBJECT
public:
    explicit TfrmCrea_PDF_Fat(AppContext& ctx, QWidget* owner = nullptr);

protected:
    void produce() override;
};

} // namespace tarvello

#pragma once

#include "invoicesummary.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tarvello
{

class AppContext;
class PictureButton;
class ResultList;

// The period summaries of the year open on the invoice screen: the invoices of one month, one
// quarter or the whole year in file order, with the taxable, VAT, exempt and grand totals under
// them; find and print on the list. The monthly and quarterly screens first ask for the period
// (their lblAnno holds the year, written by the invoice screen); the annual one builds its
// summary as soon as it is shown.
class TfrmRiepilogo : public QDialog
{
    Q_OBJECT
public:
    TfrmRiepilogo(AppContext& ctx, QWidget* owner, InvoiceSummary::Period period);

    InvoiceSummary::Period period() const { return m_period; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildSelection();
    QWidget* buildSummary();
    QString year() const;

    // "Visualizza" (or the annual screen being shown): builds the summary once.
    void btnVisualizzaClick();
    void btnTrovaClick();
    void btnStampaClick();
    void showGuide();

    // The period choice (monthly and quarterly only).
    QWidget* panSelezione = nullptr;
    QLabel* lblAnno = nullptr;
    QComboBox* cboSelezione = nullptr;
    QPushButton* btnVisualizza = nullptr;
    PictureButton *icoGuida = nullptr, *icoEsci = nullptr;

    // The summary.
    QWidget* panContainer;
    QLabel *lblTipologia, *titTipologia;
    QLineEdit* txtTrova;
    QPushButton* btnTrova;
    ResultList* lstRecords;
    QLabel* panInfo;
    QLabel *infTotImponibile, *infTotImposta, *infTotEsente, *infTotale;
    QLabel *lblTotImponibile, *lblTotImposta, *lblTotEsente, *lblTotale;
    QPushButton *btnStampa, *btnEsci;
    PictureButton* imgGuida;

    AppContext& m_ctx;
    InvoiceSummary::Period m_period;
    QStackedWidget* m_panels;
};

class TfrmRiepMensile : public TfrmRiepilogo
{
    Q_OBJECT
public:
    explicit TfrmRiepMensile(AppContext& ctx, QWidget* owner = nullptr);
};

class TfrmRiepTrimestrale : public TfrmRiepilogo
{
    Q_OBJECT
public:
    explicit TfrmRiepTrimestrale(AppContext& ctx, QWidget* owner = nullptr);
};

class TfrmRiepAnnuale : public TfrmRiepilogo
{
    Q_OBJECT
public:
    explicit TfrmRiepAnnuale(AppContext& ctx, QWidget* owner = nullptr);
};

} // namespace tarvello

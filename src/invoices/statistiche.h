#pragma once

#include "chart/chart.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tarvello
{

class AppContext;
class PictureButton;
class StatusLine;

// The chart area of the statistics screen: paints its chart, whatever the size.
class ChartView : public QWidget
{
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);
    Chart& chart() { return m_chart; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Chart m_chart;
};

// The revenue statistics: the takings of each month of a year (invoice totals with VAT, rounded
// to the euro) as 3-D bars or a 3-D pie, and their print. The chosen kind of chart stays while
// the program runs.
class TfrmStatistiche : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmStatistiche(AppContext& ctx);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildYearPanel();
    QWidget* buildChartPanel();
    void btnApriClick();
    void btnTortaClick();
    void btnBarreClick();
    void btnStampaClick();
    void showGuide();

    QWidget* panAvvio;
    QLineEdit* txtAnno;
    QPushButton* btnApri;
    PictureButton *imgGuida, *imgEsci;

    QWidget* panContainer;
    QLabel *lblTitolo, *lblRigo04, *lblRigo05;
    ChartView* ChartStats;
    QPushButton *btnTorta, *btnBarre, *btnStampa, *btnEsci;
    PictureButton* cmdGuida;
    StatusLine* panInfo;

    QLabel* lblFile;
    // memGennaio .. memDicembre: the month values as text.
    std::array<QLabel*, 12> memMesi{};

    AppContext& m_ctx;
    QStackedWidget* m_panels;
};

} // namespace tarvello

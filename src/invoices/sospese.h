#pragma once

#include "output/listwindow.h"

namespace tarvello
{

class AppContext;

// The unpaid invoices of the year open on the invoice screen, listed as soon as the window is
// shown; find and print on the list, and a double click that opens the chosen invoice on the
// invoice screen (to tick "Saldata" there and save it in place).
class TfrmSospese : public ListWindow
{
    Q_OBJECT
public:
    explicit TfrmSospese(AppContext& ctx, QWidget* owner = nullptr);

protected:
    void shown() override;
    void lineChosen(qint64 record) override;
};

} // namespace tarvello

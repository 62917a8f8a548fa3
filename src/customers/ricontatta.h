#pragma once

#include "output/listwindow.h"

namespace tarvello
{

class AppContext;

// The customers whose card has "Da ricontattare" ticked, one line each with the pending issues at
// the end. The list can be searched and printed; a double click loads the customer onto the
// customer card.
class TfrmRicontatta : public ListWindow
{
    Q_OBJECT
public:
    explicit TfrmRicontatta(AppContext& ctx, QWidget* owner = nullptr);

protected:
    // Reads the archive into the list, each time the window is shown.
    void shown() override;
    void lineChosen(qint64 record) override;
};

} // namespace tarvello

#pragma once

#include "output/searchwindow.h"

namespace tarvello
{

class AppContext;

// The invoice search: up to ten criteria at once on the year open on the invoice screen, the
// invoices found in file order, find and print on the list, and a double click that opens the
// chosen invoice on the invoice screen (when lblMemory says "fatture"), so a later Save there
// overwrites it in place.
class TfrmTrovaFatture : public SearchWindow
{
    Q_OBJECT
public:
    explicit TfrmTrovaFatture(AppContext& ctx, QWidget* owner = nullptr);

protected:
    Search search(std::span<const QString> typed) override;
    void lineChosen(qint64 record) override;
};

} // namespace tarvello

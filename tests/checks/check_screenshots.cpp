// Grabs the four check windows into PNG files in the folder given on the command line, each with a
// typical entry in its field, so a person can look at them.
#include "checks/checkwindows.h"
#include "screenshots.h"
#include "testprogram.h"

#include <QDialog>
#include <QLineEdit>

using namespace tarvello;

int main(int argc, char** argv)
{
    const Screenshots shots(argc, argv);
    TestProgram t;
    auto grabTo = [&](const QString& file) {
        return [&, file](QDialog& d) {
            shots.save(&d, file);
            return 0;
        };
    };
    t.services.modal.insert(QStringLiteral("frmCodFisc"), grabTo(QStringLiteral("codfisc")));
    t.services.modal.insert(QStringLiteral("frmPartitaIva"), grabTo(QStringLiteral("partitaiva")));
    t.services.modal.insert(QStringLiteral("frmIban"), grabTo(QStringLiteral("iban")));
    t.services.modal.insert(QStringLiteral("frmCarta"), grabTo(QStringLiteral("carta")));
    QWidget owner;
    openTaxCodeCheck(*t.program, &owner, QStringLiteral("RSSMRA85T10A562S"));
    openVatNumberCheck(*t.program, &owner, QStringLiteral("12345670587"));
    openIbanCheck(*t.program, &owner, QStringLiteral("IT60X0542811101000000123456"));
    openCardCheck(*t.program, &owner, QStringLiteral("123456789012345678901234567890"));
    return 0;
}

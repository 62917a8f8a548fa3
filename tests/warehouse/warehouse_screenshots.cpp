// Grabs the product card (empty and filled, at two screen sizes), the stock window, the product
// search (criteria and results), the low-stock list, the export window and the article import
// into the folder given on the command line, so a person can look at them.
#include "files.h"
#include "namedcontrols.h"
#include "output/resultlist.h"
#include "screenshots.h"
#include "shell/handoffs.h"
#include "testprogram.h"
#include "warehouse/giacenza.h"
#include "warehouse/magazzino.h"
#include "warehouse/productcard.h"
#include "warehouse/productwindows.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace tarvello;
using namespace tarvello::ProductRecord;

int main(int argc, char** argv)
{
    const Screenshots shots(argc, argv);
    TestProgram t;

    QList<QByteArray> products;
    for (int i = 0; i < 30; ++i) {
        ProductCard::CardTexts p = ProductCard::newCard();
        p[Codice] = QStringLiteral("PN-%1").arg(i, 4, 10, QLatin1Char('0'));
        p[Marca] = i % 2 ? QStringLiteral("Pirelli") : QStringLiteral("Michelin");
        p[Modello] = QStringLiteral("Cinturato P7");
        p[Descrizione] = QStringLiteral("Pneumatico estivo 205/55 R16");
        p[Costo] = QStringLiteral("54,30");
        p[Giacenza] = QString::number(i % 7);
        p[Sottoscorta] = QStringLiteral("3");
        p[Note] = QStringLiteral("Consegna in 48 ore");
        products.append(ProductCard::toRecord(p).bytes());
    }
    if (!writeArchive(t.path(ProductRecord::fileName()), products))
        return 1;

    auto* card = qobject_cast<TfrmMagazzino*>(t.window(QStringLiteral("frmMagazzino")));
    for (const QSize size : {QSize(1366, 768), QSize(1920, 1080), QSize(1024, 740)}) {
        card->resize(size);
        card->show();
        card->cmdNuovoClick();
        shots.save(card, QStringLiteral("magazzino_vuota_%1").arg(size.width()));
        card->cmdUltimoClick();
        named<QLineEdit>(card, u"txtAccessori")->setText(QStringLiteral("Valvola e tappo"));
        named<QLineEdit>(card, u"txtFornitore")->setText(QStringLiteral("Gommeria Rossi & Figli S.r.l."));
        named<QLineEdit>(card, u"txtRecapiti")->setText(QStringLiteral("0547 123456"));
        named<QLineEdit>(card, u"txtData")->setText(QStringLiteral("12/03/2026"));
        named<QLineEdit>(card, u"txtDocumento")->setText(QStringLiteral("Fattura n. 124 del 12/03/2026"));
        named<QLineEdit>(card, u"txtOrdine")->setText(QStringLiteral("Telefono"));
        named<QLineEdit>(card, u"txtCollocazione")->setText(QStringLiteral("Scaffale B3"));
        shots.save(card, QStringLiteral("magazzino_piena_%1").arg(size.width()));
    }

    const auto dialog = [&](const char16_t* name) {
        std::unique_ptr<QDialog> d = t.program->createDialog(QStringView(name), card);
        d->show();
        return d;
    };
    {
        auto d = dialog(u"frmGiacenza");
        auto* w = static_cast<TfrmGiacenza*>(d.get());
        named<QLabel>(w, u"lblAggiunta")->setText(TfrmGiacenza::subtractCaption());
        named<QLineEdit>(w, u"txtGiacenza")->setText(QStringLiteral("3"));
        named<QLineEdit>(w, u"txtAggiunta")->setText(QStringLiteral("5"));
        named<QPushButton>(w, u"btnTotale")->click();
        shots.save(w, QStringLiteral("giacenza"));
    }
    {
        auto d = dialog(u"frmDatiPneumatici");
        shots.save(d.get(), QStringLiteral("altre_informazioni"));
    }
    {
        auto d = dialog(u"frmTrovaMagazzino");
        auto* w = static_cast<TfrmTrovaMagazzino*>(d.get());
        shots.save(w, QStringLiteral("trova_criteri"));
        named<QLineEdit>(w, u"txtMarca")->setText(QStringLiteral("pirelli"));
        named<QPushButton>(w, u"btnCerca")->click();
        shots.save(w, QStringLiteral("trova_risultati"));
    }
    {
        auto d = dialog(u"frmSottoscorta");
        shots.save(d.get(), QStringLiteral("sottoscorta"));
    }
    {
        auto d = dialog(u"frmExpMagazzino");
        shots.save(d.get(), QStringLiteral("esporta"));
        // The real document too, for opening in a spreadsheet program.
        t.services.answers.push_back(Answer::Yes); // export now
        t.services.answers.push_back(Answer::No);  // do not open it
        if (auto* exportButton = d->findChild<QAbstractButton*>(QStringLiteral("cmdEsporta")))
            exportButton->click();
        shots.keep(t.path(QStringLiteral("Magazzino.xls")));
    }
    {
        // As a row of an invoice opens it, so its import buttons look as the user finds them.
        struct AnyInvoice final : InvoiceTarget {
            void takeCustomer(const InvoiceCustomer&) override {}
            void takeArticle(int, const InvoiceArticle&) override {}
            ImportHolder importHolder() const override { return {}; }
        } invoice;
        auto d = dialog(u"frmImportaMagazzino");
        auto* w = static_cast<TfrmImportaMagazzino*>(d.get());
        w->importInto(invoice, {.row = 1, .quantity = {}, .code = {}});
        named<QPushButton>(w, u"btnCerca")->click();
        shots.save(w, QStringLiteral("importa"));
    }
    return 0;
}

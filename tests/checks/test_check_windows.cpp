// The four check windows, driven through their controls: what they show for what is typed, which
// messages close them, where the focus goes, and how the screens' check buttons open them.
#include "checks/checkwindows.h"
#include "testprogram.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

using namespace tarvello;

Q_DECLARE_METATYPE(tarvello::MessageKind)

namespace
{

const QString kTaxCodeLength =
    QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
const QString kTaxCodeValid = QStringLiteral("Il codice fiscale digitato è VALIDO.");
const QString kTaxCodeWrong = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");
const QString kVatLength =
    QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kVatValidFrom = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                                             "E' stato rilasciato dall'Ufficio IVA del Comune di ");
const QString kVatWrong =
    QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                   "Non è quindi possibile fornire informazioni relative all'Ufficio IVA "
                   "che lo ha rilasciato.");
const QString kIbanLength =
    QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.");
const QString kIbanValid = QStringLiteral("L'IBAN digitato è VALIDO.");
const QString kIbanWrong = QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!");
const QString kCardEmpty = QStringLiteral(
    "Attenzione: immettere il numero di carta di credito prima di premere il pulsante di controllo.");
const QString kCardWrong =
    QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\nNon è quindi "
                   "possibile fornire informazioni relative al tipo di carta di credito.");

QString cardValid(const QString& number, const QString& type)
{
    return QStringLiteral("Il numero di carta di credito ") + number +
           QStringLiteral(" risulta valido.\r\n\r\nLa carta di credito è del tipo ") + type + u'.';
}

QString fieldNameOf(const QString& window)
{
    if (window == u"frmCodFisc")
        return QStringLiteral("txtCodFisc");
    if (window == u"frmPartitaIva")
        return QStringLiteral("txtPartitaIva");
    if (window == u"frmIban")
        return QStringLiteral("txtIban");
    return QStringLiteral("txtNumero");
}

// One check window, made as the program makes it, shown and active so that focus can be followed.
struct ShownWindow {
    std::unique_ptr<QDialog> dialog;
    QLineEdit* field = nullptr;
    QPushButton* controlla = nullptr;
    QPushButton* chiudi = nullptr;

    ShownWindow(TestProgram& t, const QString& name) : dialog(t.program->createDialog(name, nullptr))
    {
        if (!dialog)
            return;
        field = dialog->findChild<QLineEdit*>(fieldNameOf(name));
        controlla = dialog->findChild<QPushButton*>(QStringLiteral("btnControlla"));
        chiudi = dialog->findChild<QPushButton*>(QStringLiteral("btnChiudi"));
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        if (!QTest::qWaitForWindowActive(dialog.get()))
            qWarning("the check window did not become active");
    }
    bool complete() const { return dialog && field && controlla && chiudi; }
};

enum class Caller { TaxCode, VatNumber, Iban, Card };

void callFor(Caller caller, AppContext& ctx, QWidget* owner, const QString& text)
{
    switch (caller) {
    case Caller::TaxCode:
        return openTaxCodeCheck(ctx, owner, text);
    case Caller::VatNumber:
        return openVatNumberCheck(ctx, owner, text);
    case Caller::Iban:
        return openIbanCheck(ctx, owner, text);
    case Caller::Card:
        return openCardCheck(ctx, owner, text);
    }
}

} // namespace

Q_DECLARE_METATYPE(Caller)

class CheckWindowsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createdAtStartAfterTheCredits()
    {
        TestProgram t;
        QStringList names;
        for (QWidget* w : t.program->windows())
            names.append(w->objectName());
        const qsizetype credits = names.indexOf(QStringLiteral("frmSplash"));
        QVERIFY(credits >= 0);
        QCOMPARE(names.mid(credits + 1, 4),
                 (QStringList{QStringLiteral("frmCarta"), QStringLiteral("frmCodFisc"),
                              QStringLiteral("frmIban"), QStringLiteral("frmPartitaIva")}));
        for (const QString& name : names.mid(credits + 1, 4))
            QVERIFY2(!t.window(name)->isVisible(), qPrintable(name));
    }

    void frame_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("instruction");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("tax code") << QStringLiteral("frmCodFisc")
                                  << QStringLiteral(" Controllo codice fiscale")
                                  << QStringLiteral(
                                         "Immettere il codice fiscale e premere il pulsante di controllo.")
                                  << 16;
        QTest::newRow("VAT number")
            << QStringLiteral("frmPartitaIva") << QStringLiteral(" Controllo partita IVA")
            << QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo.") << 11;
        QTest::newRow("IBAN") << QStringLiteral("frmIban") << QStringLiteral(" Controllo IBAN")
                              << QStringLiteral("Immettere l'IBAN e premere il pulsante di controllo.") << 27;
        QTest::newRow("card")
            << QStringLiteral("frmCarta") << QStringLiteral(" Controllo carta di credito")
            << QStringLiteral("Immettere il numero di carta di credito e premere il pulsante di controllo.")
            << 30;
    }
    void frame()
    {
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QString, instruction);
        QFETCH(int, maxLength);
        TestProgram t;
        ShownWindow w(t, window);
        QVERIFY(w.complete());
        QCOMPARE(w.dialog->objectName(), window);
        QCOMPARE(w.dialog->windowTitle(), caption);
        QCOMPARE(w.dialog->findChild<QLabel*>(QStringLiteral("lblIstruzioni"))->text(), instruction);
        QCOMPARE(w.controlla->text(), QStringLiteral("Controlla"));
        QCOMPARE(w.chiudi->text(), QStringLiteral("Chiudi"));

        // A fixed-size dialog without buttons of its own in the title bar.
        QCOMPARE(w.dialog->minimumSize(), w.dialog->maximumSize());
        QVERIFY(w.dialog->windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(!(w.dialog->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(w.dialog->windowFlags() & Qt::WindowMinMaxButtonsHint));

        QCOMPARE(w.field->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(w.field->font().pointSize(), 20);
        QVERIFY(w.field->font().bold());
        QCOMPARE(w.field->maxLength(), maxLength);
        // The whole of the longest code is visible at once.
        QVERIFY(w.field->width() >= w.field->fontMetrics().horizontalAdvance(QString(maxLength, u'W')));

        // Shown: the focus is in the field; Tab goes on to "Controlla", then "Chiudi".
        QCOMPARE(QApplication::focusWidget(), w.field);
        QTest::keyClick(w.field, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.controlla);
        QTest::keyClick(w.controlla, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.chiudi);

        // "Chiudi" closes it without a word.
        QTest::mouseClick(w.chiudi, Qt::LeftButton);
        QVERIFY(!w.dialog->isVisible());
        QVERIFY(t.services.messages.isEmpty());
    }

    void verdicts_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QString>("message"); // empty: no message at all
        QTest::addColumn<bool>("closes");
        const auto info = MessageKind::Information;
        const auto warning = MessageKind::Warning;
        const QString codFisc = QStringLiteral("frmCodFisc");
        const QString iva = QStringLiteral("frmPartitaIva");
        const QString iban = QStringLiteral("frmIban");
        const QString carta = QStringLiteral("frmCarta");

        QTest::newRow("tax code valid")
            << codFisc << QStringLiteral("RSSMRA85T10A562S") << info << kTaxCodeValid << true;
        QTest::newRow("tax code in small letters with a blank")
            << codFisc << QStringLiteral("rssmra85t10a562s ") << info << kTaxCodeValid << true;
        QTest::newRow("tax code last letter changed")
            << codFisc << QStringLiteral("RSSMRA85T10A562T") << warning << kTaxCodeWrong << true;
        QTest::newRow("tax code with a hyphen")
            << codFisc << QStringLiteral("RSSMRA80A01H5-1U") << warning << kTaxCodeWrong << true;
        QTest::newRow("tax code of 15")
            << codFisc << QStringLiteral("RSSMRA85T10A562") << warning << kTaxCodeLength << false;
        QTest::newRow("tax code empty") << codFisc << QString() << warning << kTaxCodeLength << false;

        QTest::newRow("VAT Roma 1") << iva << QStringLiteral("12345670587") << info
                                    << kVatValidFrom + QStringLiteral("Roma 1.") << true;
        QTest::newRow("VAT office 120") << iva << QStringLiteral("12345671205") << info
                                        << kVatValidFrom + QStringLiteral("Bologna 2.") << true;
        QTest::newRow("VAT eleven zeros, no office")
            << iva << QStringLiteral("00000000000") << info << kVatValidFrom + u'.' << true;
        QTest::newRow("VAT letters and commas typed are dropped")
            << iva << QStringLiteral("1234a5,67 0587") << info << kVatValidFrom + QStringLiteral("Roma 1.")
            << true;
        QTest::newRow("VAT last digit changed")
            << iva << QStringLiteral("12345670588") << warning << kVatWrong << true;
        QTest::newRow("VAT of ten digits")
            << iva << QStringLiteral("1234567058") << warning << kVatLength << false;

        QTest::newRow("IBAN valid") << iban << QStringLiteral("IT60X0542811101000000123456") << info
                                    << kIbanValid << true;
        QTest::newRow("IBAN in small letters")
            << iban << QStringLiteral("it60x0542811101000000123456") << info << kIbanValid << true;
        QTest::newRow("IBAN one digit changed")
            << iban << QStringLiteral("IT60X0542811101000000123457") << warning << kIbanWrong << true;
        QTest::newRow("IBAN with a full stop")
            << iban << QStringLiteral("IT60X054281110100000012345.") << warning << kIbanWrong << true;
        QTest::newRow("IBAN of Germany, 22")
            << iban << QStringLiteral("DE89370400440532013000") << warning << kIbanLength << false;

        QTest::newRow("card Visa") << carta << QStringLiteral("4111111111111111") << info
                                   << cardValid(QStringLiteral("4111111111111111"), QStringLiteral("Visa"))
                                   << true;
        QTest::newRow("card Visa last digit changed")
            << carta << QStringLiteral("4111111111111112") << warning << kCardWrong << true;
        QTest::newRow("card 42 is a Visa") << carta << QStringLiteral("42") << info
                                           << cardValid(QStringLiteral("42"), QStringLiteral("Visa")) << true;
        QTest::newRow("card American Express")
            << carta << QStringLiteral("378282246310005") << info
            << cardValid(QStringLiteral("378282246310005"), QStringLiteral("American Express")) << true;
        QTest::newRow("card Diners 36")
            << carta << QStringLiteral("36148900647913") << info
            << cardValid(QStringLiteral("36148900647913"), QStringLiteral("Diner's Club / Carte Blanche"))
            << true;
        QTest::newRow("card JCB") << carta << QStringLiteral("3530111333300000") << info
                                  << cardValid(QStringLiteral("3530111333300000"), QStringLiteral("JCB"))
                                  << true;
        QTest::newRow("card MasterCard, hyphens typed are dropped")
            << carta << QStringLiteral("5555-5555-5555-4444") << info
            << cardValid(QStringLiteral("5555555555554444"), QStringLiteral("MasterCard")) << true;
        QTest::newRow("card Discover")
            << carta << QStringLiteral("6011111111111117") << info
            << cardValid(QStringLiteral("6011111111111117"), QStringLiteral("Discover")) << true;
        QTest::newRow("card Luhn-valid from 2")
            << carta << QStringLiteral("26") << warning << kCardWrong << true;
        QTest::newRow("card Luhn-valid from 7")
            << carta << QStringLiteral("75") << warning << kCardWrong << true;
        QTest::newRow("card Luhn-valid from 9")
            << carta << QStringLiteral("91") << warning << kCardWrong << true;
        QTest::newRow("card 32 closes in silence")
            << carta << QStringLiteral("3200000000000002") << info << QString() << true;
        QTest::newRow("card 39 closes in silence")
            << carta << QStringLiteral("3900000000000005") << info << QString() << true;
        QTest::newRow("card empty") << carta << QString() << warning << kCardEmpty << false;
        QTest::newRow("card letters only")
            << carta << QStringLiteral("abc") << warning << kCardEmpty << false;
    }
    void verdicts()
    {
        QFETCH(QString, window);
        QFETCH(QString, typed);
        QFETCH(MessageKind, kind);
        QFETCH(QString, message);
        QFETCH(bool, closes);
        TestProgram t;
        ShownWindow w(t, window);
        QVERIFY(w.complete());
        QTest::keyClicks(w.field, typed);
        QTest::mouseClick(w.controlla, Qt::LeftButton);

        if (message.isEmpty()) {
            QVERIFY(t.services.messages.isEmpty());
        } else {
            QCOMPARE(t.services.messages.size(), 1);
            QCOMPARE(t.services.lastKind(), kind);
            QCOMPARE(t.services.lastMessage(), message);
        }
        QCOMPARE(w.dialog->isVisible(), !closes);
        if (closes) {
            QCOMPARE(w.dialog->result(), int(QDialog::Accepted));
        } else {
            // Back in the field, ready to be corrected, and the text is left as it was.
            QCOMPARE(QApplication::focusWidget(), w.field);
            QTest::mouseClick(w.controlla, Qt::LeftButton);
            QCOMPARE(t.services.messages.size(), 2);
            QVERIFY(w.dialog->isVisible());
        }
    }

    void typing_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("tax code: capitals, blanks go at once")
            << QStringLiteral("frmCodFisc") << QStringLiteral(" rss mra ") << QStringLiteral("RSSMRA");
        QTest::newRow("tax code: any other character stays")
            << QStringLiteral("frmCodFisc") << QStringLiteral("ab-1.c") << QStringLiteral("AB-1.C");
        QTest::newRow("tax code: at most 16")
            << QStringLiteral("frmCodFisc") << QStringLiteral("abcdefghijklmnopqrst")
            << QStringLiteral("ABCDEFGHIJKLMNOP");
        QTest::newRow("VAT: digits only")
            << QStringLiteral("frmPartitaIva") << QStringLiteral("12a,3 4.5-") << QStringLiteral("12345");
        QTest::newRow("VAT: at most 11") << QStringLiteral("frmPartitaIva")
                                         << QStringLiteral("12345678901234") << QStringLiteral("12345678901");
        QTest::newRow("IBAN: capitals, anything typed")
            << QStringLiteral("frmIban") << QStringLiteral("it60 x-1.") << QStringLiteral("IT60X-1.");
        QTest::newRow("IBAN: at most 27")
            << QStringLiteral("frmIban") << QString(30, u'1') << QString(27, u'1');
        QTest::newRow("card: digits only")
            << QStringLiteral("frmCarta") << QStringLiteral("4111-1111 abc") << QStringLiteral("41111111");
        QTest::newRow("card: at most 30")
            << QStringLiteral("frmCarta") << QString(35, u'4') << QString(30, u'4');
    }
    void typing()
    {
        QFETCH(QString, window);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TestProgram t;
        ShownWindow w(t, window);
        QVERIFY(w.complete());
        QTest::keyClicks(w.field, typed);
        QCOMPARE(w.field->text(), shown);
    }

    void enterMovesToControllaWithoutPressingIt_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("typed");
        QTest::newRow("tax code") << QStringLiteral("frmCodFisc") << QStringLiteral("RSSMRA85T10A562S");
        QTest::newRow("VAT number") << QStringLiteral("frmPartitaIva") << QStringLiteral("12345670587");
        QTest::newRow("IBAN") << QStringLiteral("frmIban") << QStringLiteral("IT60X0542811101000000123456");
        QTest::newRow("card") << QStringLiteral("frmCarta") << QStringLiteral("4111111111111111");
    }
    void enterMovesToControllaWithoutPressingIt()
    {
        QFETCH(QString, window);
        QFETCH(QString, typed);
        TestProgram t;
        ShownWindow w(t, window);
        QVERIFY(w.complete());
        QTest::keyClicks(w.field, typed);
        QTest::keyClick(w.field, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.controlla);
        QCOMPARE(w.field->text(), typed);
        QVERIFY(t.services.messages.isEmpty());
        QVERIFY(w.dialog->isVisible());
        // A second Enter, on the button, presses it.
        QTest::keyClick(w.controlla, Qt::Key_Return);
        QCOMPARE(t.services.messages.size(), 1);
        QCOMPARE(t.services.lastKind(), MessageKind::Information);
        QVERIFY(!w.dialog->isVisible());
    }

    void callers_data()
    {
        QTest::addColumn<Caller>("caller");
        QTest::addColumn<QString>("passed");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("inField");
        QTest::addColumn<QString>("message"); // after "Controlla"; empty: none
        QTest::addColumn<bool>("closes");

        QTest::newRow("tax code of digits opens the VAT check")
            << Caller::TaxCode << QStringLiteral(" 12345670587 ") << QStringLiteral("frmPartitaIva")
            << QStringLiteral("12345670587") << kVatValidFrom + QStringLiteral("Roma 1.") << true;
        QTest::newRow("tax code of a few digits opens the VAT check")
            << Caller::TaxCode << QStringLiteral("123") << QStringLiteral("frmPartitaIva")
            << QStringLiteral("123") << kVatLength << false;
        QTest::newRow("tax code with letters")
            << Caller::TaxCode << QStringLiteral("RSSMRA85T10A562S ") << QStringLiteral("frmCodFisc")
            << QStringLiteral("RSSMRA85T10A562S") << kTaxCodeValid << true;
        QTest::newRow("tax code of digits and a letter")
            << Caller::TaxCode << QStringLiteral("1234567058A") << QStringLiteral("frmCodFisc")
            << QStringLiteral("1234567058A") << kTaxCodeLength << false;
        QTest::newRow("tax code empty") << Caller::TaxCode << QString() << QStringLiteral("frmCodFisc")
                                        << QString() << kTaxCodeLength << false;
        QTest::newRow("tax code blank")
            << Caller::TaxCode << QStringLiteral("   ") << QStringLiteral("frmCodFisc") << QString()
            << kTaxCodeLength << false;
        // The invoice screen's tax code field holds up to 30 characters. Cut to 16, this text would
        // pass as a valid code; whole, it is too long.
        QTest::newRow("tax code longer than 16 is kept whole")
            << Caller::TaxCode << QStringLiteral("RSSMRA85T10A562SX") << QStringLiteral("frmCodFisc")
            << QStringLiteral("RSSMRA85T10A562SX") << kTaxCodeLength << false;
        QTest::newRow("VAT number") << Caller::VatNumber << QStringLiteral("\t00488410010 ")
                                    << QStringLiteral("frmPartitaIva") << QStringLiteral("00488410010")
                                    << kVatValidFrom + QStringLiteral("Torino.") << true;
        QTest::newRow("VAT number with a letter")
            << Caller::VatNumber << QStringLiteral("1234567058A") << QStringLiteral("frmPartitaIva")
            << QStringLiteral("1234567058A") << kVatWrong << true;
        QTest::newRow("VAT number of 12 digits is kept whole")
            << Caller::VatNumber << QStringLiteral("123456705870") << QStringLiteral("frmPartitaIva")
            << QStringLiteral("123456705870") << kVatLength << false;
        QTest::newRow("IBAN in groups, 27 with blanks")
            << Caller::Iban << QStringLiteral("DE89 3704 0044 0532 0130 00") << QStringLiteral("frmIban")
            << QStringLiteral("DE89 3704 0044 0532 0130 00") << kIbanValid << true;
        QTest::newRow("IBAN prefixed")
            << Caller::Iban << QStringLiteral("IBANDE89370400440532013000 ") << QStringLiteral("frmIban")
            << QStringLiteral("IBANDE89370400440532013000") << kIbanLength << false;
        QTest::newRow("IBAN prefixed, 27")
            << Caller::Iban << QStringLiteral("IBAN DE89370400440532013000") << QStringLiteral("frmIban")
            << QStringLiteral("IBAN DE89370400440532013000") << kIbanValid << true;
        QTest::newRow("IBAN of 28 is kept whole")
            << Caller::Iban << QStringLiteral("IT60X05428111010000001234567") << QStringLiteral("frmIban")
            << QStringLiteral("IT60X05428111010000001234567") << kIbanLength << false;
        QTest::newRow("card in groups")
            << Caller::Card << QStringLiteral(" 4111 1111 1111 1111") << QStringLiteral("frmCarta")
            << QStringLiteral("4111 1111 1111 1111")
            << cardValid(QStringLiteral("4111 1111 1111 1111"), QStringLiteral("Visa")) << true;
        QTest::newRow("card 32") << Caller::Card << QStringLiteral("3200000000000002")
                                 << QStringLiteral("frmCarta") << QStringLiteral("3200000000000002")
                                 << QString() << true;
    }
    void callers()
    {
        QFETCH(Caller, caller);
        QFETCH(QString, passed);
        QFETCH(QString, window);
        QFETCH(QString, inField);
        QFETCH(QString, message);
        QFETCH(bool, closes);
        TestProgram t;
        QWidget owner;
        QString shownText;
        QWidget* shownOwner = nullptr;
        bool openAfterCheck = false;
        t.services.modal.insert(window, [&](QDialog& d) {
            shownOwner = d.parentWidget();
            auto* field = d.findChild<QLineEdit*>(fieldNameOf(window));
            shownText = field ? field->text() : QStringLiteral("(no field)");
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnControlla")), Qt::LeftButton);
            openAfterCheck = d.isVisible();
            return d.result();
        });
        callFor(caller, *t.program, &owner, passed);

        QCOMPARE(t.services.modalShown, QStringList{window});
        QCOMPARE(shownOwner, &owner);
        QCOMPARE(shownText, inField);
        if (message.isEmpty()) {
            QVERIFY(t.services.messages.isEmpty());
        } else {
            QCOMPARE(t.services.messages.size(), 1);
            QCOMPARE(t.services.lastMessage(), message);
        }
        QCOMPARE(openAfterCheck, !closes);
    }

    void textFromCallerNeverGrowsBeyondItsLength()
    {
        TestProgram t;
        QStringList seen;
        t.services.modal.insert(QStringLiteral("frmCodFisc"), [&](QDialog& d) {
            auto* field = d.findChild<QLineEdit*>(QStringLiteral("txtCodFisc"));
            // The window opens with the caller's text selected, ready to be typed over.
            seen.append(field->selectedText());
            QTest::keyClick(field, Qt::Key_End);
            QTest::keyClicks(field, QStringLiteral("Y"));
            seen.append(field->text()); // 17 already: nothing more goes in
            QTest::keyClick(field, Qt::Key_Home);
            QTest::keyClick(field, Qt::Key_Delete);
            QTest::keyClick(field, Qt::Key_Delete);
            seen.append(field->text());
            QTest::keyClicks(field, QStringLiteral("qz"));
            seen.append(field->text()); // room for one more, where the cursor stands
            return 0;
        });
        openTaxCodeCheck(*t.program, nullptr, QStringLiteral("RSSMRA85T10A562SX"));
        QCOMPARE(seen, (QStringList{QStringLiteral("RSSMRA85T10A562SX"), QStringLiteral("RSSMRA85T10A562SX"),
                                    QStringLiteral("SMRA85T10A562SX"), QStringLiteral("QSMRA85T10A562SX")}));
    }
};

TARVELLO_TEST_MAIN(CheckWindowsTest)
#include "test_check_windows.moc"

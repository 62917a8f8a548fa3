// The program on an Italian desktop: QApplication sets the C library's locale from the
// environment at start-up, and in it_IT the C library writes and expects a decimal comma. Number
// text must come out exactly as in any other locale.

#include "core/numbers.h"
#include "invoices/calculation.h"

#include <QCoreApplication>
#include <QTest>

#include <clocale>
#include <cstdlib>

using namespace tarvello;

class ItalianDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theEnvironmentReallyIsItalian()
    {
        // Without this the rest would prove nothing.
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
    }

    void numbersReadAndWrite()
    {
        QCOMPARE(parseNumber(u"12,5"), std::optional<double>(12.5));
        QCOMPARE(parseNumber(u"-0,0625"), std::optional<double>(-0.0625));
        QCOMPARE(parseNumber(u"2,5E-2"), std::optional<double>(0.025));
        QVERIFY(!parseNumber(u"12.5").has_value());
        QVERIFY(!parseNumber(u"1,2,3").has_value());
        QCOMPARE(formatNumber(12.5), QStringLiteral("12,5"));
        QCOMPARE(formatNumber(1.0 / 3), QStringLiteral("0,333333333333333"));
        QCOMPARE(formatNumber(-0.0000015), QStringLiteral("-1,5E-6"));
        QCOMPARE(formatNumber(1.5e20), QStringLiteral("1,5E20"));
        QCOMPARE(moneyText(3), QStringLiteral("3,00"));
    }

    void anInvoiceIsCalculated()
    {
        InvoiceDocument f;
        f.row(1).quantity = QStringLiteral("3");
        f.row(1).price = QStringLiteral("3,3333");
        f.row(2).quantity = QStringLiteral("2,5");
        f.row(2).price = QStringLiteral("12,5");
        f.row(2).discount = QStringLiteral("10");
        f.row(3).quantity = QStringLiteral("1");
        f.row(3).price = QStringLiteral("7");
        f.row(3).exempt = true;
        f.vatRate = QStringLiteral("22");
        QVERIFY(calculateInvoice(f));
        // 9,9999 + 28,125 = 38,1249 taxable; VAT 8,387478; 7 exempt.
        QCOMPARE(f.row(1).amount, QStringLiteral("9,9999"));
        QCOMPARE(f.row(2).amount, QStringLiteral("28,125"));
        QCOMPARE(f.row(3).amount, QStringLiteral("7,00"));
        QCOMPARE(f.taxableTotal, QStringLiteral("38,12"));
        QCOMPARE(f.vatAmount, QStringLiteral("8,39"));
        QCOMPARE(f.totalWithVat, QStringLiteral("46,51"));
        QCOMPARE(f.exemptTotal, QStringLiteral("7,00"));
        QCOMPARE(f.invoiceTotal, QStringLiteral("53,51"));
        QCOMPARE(tidyPrice(u"7"), QStringLiteral("7,00"));
        QCOMPARE(tidyQuantity(u"2,50"), QStringLiteral("2,5"));
    }
};

int main(int argc, char** argv)
{
    // Whatever the suite runs under, this test is about an Italian desktop.
    setenv("LC_ALL", "it_IT.UTF-8", 1);
    QCoreApplication app(argc, argv); // sets the C library's locale from the environment
    ItalianDesktop test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_italian_desktop.moc"

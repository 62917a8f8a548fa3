#include "shell/shelltexts.h"

#include "files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace tarvello;

TEST(RefusedKeyHint, NamesTheCharacterAndWhatToWriteInstead)
{
    const struct {
        char16_t c;
        KeyFilter filter;
        const char16_t* hint;
    } cases[] = {
        // A text field: an accented letter is written with the apostrophe, as in "Forli'".
        {u'ì', KeyFilter::None,
         u"Il carattere «ì» non è accettato in questo campo: scrivere «i'» al suo posto."},
        {u'È', KeyFilter::None,
         u"Il carattere «È» non è accettato in questo campo: scrivere «E'» al suo posto."},
        {u'ç', KeyFilter::None,
         u"Il carattere «ç» non è accettato in questo campo: scrivere «c» al suo posto."},
        {u'&', KeyFilter::None, u"Il carattere «&» non è accettato in questo campo."},
        {u'°', KeyFilter::None, u"Il carattere «°» non è accettato in questo campo."},
        // A number field says what it takes, accented letters included.
        {u'.', KeyFilter::Decimal,
         u"Il carattere «.» non è accettato in questo campo: scrivere solo cifre e la virgola."},
        {u'a', KeyFilter::Decimal,
         u"Il carattere «a» non è accettato in questo campo: scrivere solo cifre e la virgola."},
        {u',', KeyFilter::Digits, u"Il carattere «,» non è accettato in questo campo: scrivere solo cifre."},
        {u'ì', KeyFilter::Digits, u"Il carattere «ì» non è accettato in questo campo: scrivere solo cifre."},
        {u' ', KeyFilter::Digits, u"Lo spazio non è accettato in questo campo: scrivere solo cifre."},
        {u' ', KeyFilter::None, u"Lo spazio non è accettato in questo campo."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusedKeyHint(QChar(c.c), c.filter), QString::fromUtf16(c.hint));
}

TEST(CannotOpenMessage, NamesTheFileOrTheAddress)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString present = QDir(dir.path()).filePath(QStringLiteral("Fattura.pdf"));
    ASSERT_TRUE(writeFile(present, "%PDF-1.4\n"));
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("Guida.pdf"));
    QUrl withSubject(QStringLiteral("mailto:assistenza@tarvello.it?subject=Software%20Tarvello"));

    const struct {
        QUrl url;
        QString message;
    } cases[] = {
        {QUrl::fromLocalFile(present),
         QStringLiteral("Impossibile aprire il file «") + QDir::toNativeSeparators(present) +
             QStringLiteral("»: nessun programma del sistema lo apre. Aprirlo a mano dalla sua cartella.")},
        {QUrl::fromLocalFile(missing), QStringLiteral("Impossibile aprire il file «") +
                                           QDir::toNativeSeparators(missing) +
                                           QStringLiteral("»: il file non esiste.")},
        {QUrl::fromLocalFile(dir.path()), QStringLiteral("Impossibile aprire il file «") +
                                              QDir::toNativeSeparators(dir.path()) +
                                              QStringLiteral("»: il file non esiste.")},
        {QUrl(QStringLiteral("mailto:mario@example.it")),
         QStringLiteral("Impossibile avviare il programma di posta per «mario@example.it».")},
        {withSubject,
         QStringLiteral("Impossibile avviare il programma di posta per «assistenza@tarvello.it».")},
        {QUrl(QStringLiteral("mailto:")), QStringLiteral("Impossibile avviare il programma di posta.")},
        {QUrl(QStringLiteral("https://www.tarvello.it")),
         QStringLiteral("Impossibile aprire l'indirizzo «https://www.tarvello.it»: nessun programma del "
                        "sistema lo apre. Copiarlo a mano nel browser.")},
        {QUrl(QStringLiteral("https://www.google.com/search?q=Pirelli%20P%20Zero%20%26%20co")),
         QStringLiteral("Impossibile aprire l'indirizzo «https://www.google.com/search?q=Pirelli P Zero %26 "
                        "co»: nessun programma del sistema lo apre. Copiarlo a mano nel browser.")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cannotOpenMessage(c.url), c.message) << c.url.toString().toStdString();
}

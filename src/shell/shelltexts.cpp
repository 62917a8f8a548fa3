#include "shelltexts.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace tarvello
{

QString refusedKeyHint(QChar c, KeyFilter filter)
{
    // A blank between guillemets is easily missed: it is named instead.
    const QString refused = c == u' ' ? QStringLiteral("Lo spazio non è accettato in questo campo")
                                      : QStringLiteral("Il carattere \u00AB") + c +
                                            QStringLiteral("\u00BB non è accettato in questo campo");
    switch (filter) {
    case KeyFilter::Decimal:
        return refused + QStringLiteral(": scrivere solo cifre e la virgola.");
    case KeyFilter::Digits:
        return refused + QStringLiteral(": scrivere solo cifre.");
    case KeyFilter::None:
        break;
    }
    const QString base = QString(c).normalized(QString::NormalizationForm_D).left(1);
    if (base.isEmpty() || base.at(0) == c || base.at(0).unicode() > 0x7F)
        return refused + u'.';
    const bool vowel = QStringView(u"AEIOUaeiou").contains(base.at(0));
    const QString instead = vowel ? base + u'\'' : base;
    return refused + QStringLiteral(": scrivere \u00AB") + instead + QStringLiteral("\u00BB al suo posto.");
}

QString fieldFullHint(int capacity)
{
    if (capacity == 1)
        return QStringLiteral("Il campo è pieno: contiene al massimo un carattere.");
    return QStringLiteral("Il campo è pieno: contiene al massimo %1 caratteri.").arg(capacity);
}

QString cannotOpenMessage(const QUrl& url)
{
    if (url.isLocalFile()) {
        const QString path = url.toLocalFile();
        const QString named = QStringLiteral("Impossibile aprire il file \u00AB") +
                              QDir::toNativeSeparators(path) + QStringLiteral("\u00BB: ");
        if (!QFileInfo(path).isFile())
            return named + QStringLiteral("il file non esiste.");
        return named +
               QStringLiteral("nessun programma del sistema lo apre. Aprirlo a mano dalla sua cartella.");
    }
    if (url.scheme().compare(QStringLiteral("mailto"), Qt::CaseInsensitive) == 0) {
        const QString to = url.path(QUrl::FullyDecoded).trimmed();
        if (to.isEmpty())
            return QStringLiteral("Impossibile avviare il programma di posta.");
        return QStringLiteral("Impossibile avviare il programma di posta per \u00AB") + to +
               QStringLiteral("\u00BB.");
    }
    return QStringLiteral("Impossibile aprire l'indirizzo \u00AB") + url.toDisplayString() +
           QStringLiteral("\u00BB: nessun programma del sistema lo apre. Copiarlo a mano nel browser.");
}

namespace
{

QString notCreated(const QString& fileName, const QString& folder)
{
    return QStringLiteral("Attenzione: non è stato possibile creare il file ") + fileName +
           QStringLiteral(".\n\r\n\rSe il file è aperto in un altro programma chiuderlo e riprovare; "
                          "accertarsi inoltre di possedere i privilegi di scrittura nella cartella ") +
           folder + u'.';
}

} // namespace

QString documentNotCreatedMessage(const QString& fileName)
{
    return notCreated(fileName, QStringLiteral("di installazione del programma"));
}

QString printFileNotCreatedMessage(const QString& path)
{
    const QFileInfo file(path);
    return notCreated(file.fileName(), QStringLiteral("\u00AB") +
                                           QDir::toNativeSeparators(file.absolutePath()) +
                                           QStringLiteral("\u00BB e che il disco non sia pieno"));
}

QString printingText()
{
    return QStringLiteral("Stampa in corso...");
}

QString printingPdfText()
{
    return QStringLiteral("Creazione del file PDF in corso...");
}

} // namespace tarvello

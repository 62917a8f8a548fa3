#include "output/outputtexts.h"

#include "core/dates.h"
#include "core/text.h"

namespace tarvello::OutputTexts
{

QString emptyListMessage()
{
    return QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");
}

QString printFailedMessage()
{
    return QStringLiteral("Attenzione: non è stato possibile stampare il riepilogo.\n\r\n\r"
                          "Accertarsi che la stampante sia collegata e correttamente configurata.");
}

QString listReportDocumentName()
{
    return QStringLiteral("Riepilogo dati");
}

QString printedOn(const QDate& date)
{
    return QStringLiteral("Stampa eseguita in data ") + formatDate(date);
}

QString periodSummaryTitle(const QString& summaryType)
{
    return QStringLiteral("Tipologia riepilogo: ") + trimmed(summaryType);
}

QStringList periodSummaryTrailer(const QString& taxable, const QString& tax, const QString& exempt,
                                 const QString& total)
{
    return {QString(26, u'-'), QStringLiteral("Imponibile:   ") + trimmed(taxable),
            QStringLiteral("Imposta:      ") + trimmed(tax),
            QStringLiteral("Esente:       ") + trimmed(exempt),
            QStringLiteral("TOTALE:       ") + trimmed(total)};
}

QString exportStatusText()
{
    return QStringLiteral("Esportazione archivio in Microsoft Excel.");
}
QString exportHint()
{
    return QStringLiteral("Esporta l'archivio in formato Microsoft Excel.");
}
QString helpHint()
{
    return QStringLiteral("Visualizza la pagina della guida sensibile al contesto.");
}
QString exitHint()
{
    return QStringLiteral("Esci da questo ambiente di lavoro.");
}

QString exportConfirmation()
{
    return QStringLiteral(
        "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero "
        "di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
}

QString exportDone()
{
    return QStringLiteral("Le schede in archivio sono state esportate con successo.\r\n\r\n"
                          "Si vuole aprire il file di Excel?");
}

QString exportFailed()
{
    return QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                          "Accertarsi che il file di Excel non sia già aperto.");
}

QString exportHelp(const QString& firstParagraph)
{
    const QString second = QStringLiteral(
        "Dopo aver aperto la finestra con la griglia dei dati, è sufficiente fare clic sull'icona di "
        "Microsoft Excel per creare in tempo reale un file in formato XLS contenente le schede presenti in "
        "archivio, che potrà essere aperto subito rispondendo Sì alla domanda che segue.");
    const QString third = QStringLiteral(
        "A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un "
        "nome qualsiasi.");
    return firstParagraph + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n\r\n") + third;
}

} // namespace tarvello::OutputTexts

#pragma once

// What the program must say, typed here from the screens' own wording rather than taken from the
// program's constants: a test that compares a message with the code's own text cannot notice a
// changed word. The line breaks are the ones each message has ("\n\r" or "\r\n" pairs).

#include <QString>

namespace said
{

inline QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// Every archive screen.
inline const QString archiveAccess =
    s(u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere i "
      u"privilegi di scrittura nella cartella di installazione del programma.");
inline const QString archiveEmpty = s(u"L'archivio non contiene nessuna scheda.");
inline const QString inserted = s(u"La scheda corrente è stata inserita in archivio.");
inline const QString changesSaved =
    s(u"Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
inline const QString unsavedChanges =
    s(u"La scheda corrente contiene modifiche non salvate. Salvarle prima di continuare?");

// The customer and product cards.
inline const QString duplicateNeedsSave =
    s(u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo "
      u"che questa è stata inserita in archivio.");
inline const QString duplicated =
    s(u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
      u"Al termine premere Salva per inserire la scheda in archivio.");
inline const QString cardPdfDone =
    s(u"L'esportazione della scheda in PDF è terminata con successo.\r\n\r\nSi vuole aprire il file?");
inline const QString surnameMissing =
    s(u"Attenzione: per salvare la scheda è necessario indicare il cognome del cliente.");
inline const QString nameMissing =
    s(u"Attenzione: per salvare la scheda è necessario indicare il nome del cliente.");
inline const QString codeMissing =
    s(u"Attenzione: per salvare la scheda è necessario indicare il codice articolo.");
inline const QString brandMissing = s(u"Attenzione: per poter effettuare una ricerca sul Web è necessario "
                                      u"compilare il campo relativo alla marca dell'articolo.");
inline const QString removeVatInvalid =
    s(u"Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo IVA inclusa e l'aliquota IVA "
      u"prima di premere il pulsante Scorpora.");
inline const QString calculateInvalid =
    s(u"Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo e l'aliquota IVA prima di "
      u"premere il pulsante Calcola.");

// Importing an article into an invoice.
inline const QString aboveStock =
    s(u"Attenzione: la quantità da scaricare non può essere superiore alla giacenza in magazzino.\n\r\n\r"
      u"Indicare una quantità inferiore oppure utilizzare il pulsante per importare l'articolo senza "
      u"aggiornare la giacenza.");

// Attachments that could not be made (the program's own wording: the user is told instead of
// believing the file attached).
inline const QString attachFolderFailed =
    s(u"Attenzione: non è stato possibile creare la cartella dei documenti allegati, quindi il file non è "
      u"stato allegato.\r\n\r\nAccertarsi di possedere i privilegi di scrittura nella cartella di "
      u"installazione del programma.");
inline const QString attachCopyFailed =
    s(u"Attenzione: non è stato possibile copiare il file nella cartella dei documenti allegati, quindi il "
      u"file non è stato allegato.\r\n\r\nAccertarsi che il file sia leggibile e di possedere i privilegi di "
      u"scrittura nella cartella dei documenti allegati.");

// The exports.
inline const QString exportConfirmation = s(
    u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede presenti "
    u"in archivio.\r\n\r\nSi vuole esportare i dati adesso?");

} // namespace said

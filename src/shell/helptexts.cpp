#include "helptexts.h"

#include "guida.h"

namespace tarvello::HelpTexts
{

QString launcherTitle()
{
    return QStringLiteral("Uno sguardo a Tarvello.");
}

QString launcher()
{
    return paragraphs({
        QStringLiteral(
            "Tarvello raccoglie in un solo programma tre applicazioni: l'Anagrafica Clienti, il "
            "Magazzino Prodotti e l'Emissione fatture proforma. Una fattura proforma è un documento "
            "senza valore fiscale che anticipa al cliente il contenuto della fattura vera e propria: "
            "articoli, prezzi, sconti, IVA e totale da pagare."),
        QStringLiteral(
            "Nell'Anagrafica Clienti si registrano i dati anagrafici, i recapiti, i documenti e le "
            "questioni in sospeso di ogni cliente. Il codice fiscale, la partita IVA, l'IBAN e il "
            "numero della carta di credito possono essere controllati con gli appositi pulsanti; a "
            "ogni scheda si possono allegare fino a tre file."),
        QStringLiteral(
            "Nel Magazzino Prodotti si archiviano beni e servizi con prezzi, aliquota IVA, giacenza e "
            "livello di sottoscorta. Gli strumenti della scheda calcolano il prezzo IVA inclusa, "
            "scorporano l'IVA, aggiornano la giacenza e ne calcolano il valore; l'elenco dei "
            "materiali in esaurimento segnala gli articoli da riordinare."),
        QStringLiteral(
            "L'Emissione fatture proforma compila la fattura importando i dati dei clienti e degli "
            "articoli, calcola importi, IVA e totali, propone la numerazione, tiene nota delle "
            "fatture saldate e permette di stamparle, di vederne l'anteprima o di crearne il PDF. "
            "Le fatture si possono cercare, riepilogare per mese, trimestre e anno, e i grafici "
            "statistici mostrano gli incassi mensili."),
        QStringLiteral(
            "Gli archivi dei clienti, dei prodotti e delle fatture possono essere esportati in fogli "
            "di calcolo di Microsoft Excel."),
        QStringLiteral(
            "L'accesso al programma è protetto da una password che può essere cambiata in qualsiasi "
            "momento dalla finestra di accesso con il pulsante \"Cambia password\". Dopo ogni "
            "installazione la password iniziale è \"chiaveiniziale\": si consiglia di sostituirla "
            "subito con una password di almeno otto caratteri."),
        QStringLiteral(
            "Tutti gli archivi si trovano nella cartella dei dati, che la finestra Informazioni "
            "indica: la cartella del programma, oppure, se il programma è installato per tutto il "
            "sistema, una cartella personale di ogni utente. Tarvello può essere usato da più "
            "postazioni di una rete locale che condividono quella cartella (avviandolo con "
            "l'opzione --cartella), oppure da un'unità rimovibile; per fare una copia di sicurezza "
            "di tutti i dati basta copiare la cartella dei dati."),
        QStringLiteral(
            "Il programma si usa anche senza mouse: in questa schermata Tab e i tasti freccia si "
            "spostano tra le voci, Invio o la barra spaziatrice aprono quella evidenziata; nelle "
            "schede Ctrl+S salva, Ctrl+N prepara una nuova scheda, Ctrl+F cerca, Ctrl+P stampa, "
            "Ctrl+Home, Ctrl+Pag su, Ctrl+Pag giù e Ctrl+Fine mostrano la prima, la precedente, la "
            "successiva e l'ultima scheda, F1 apre la guida; Esc chiude le finestre secondarie. "
            "Quando un tasto non è accettato in un campo, la riga di stato ne spiega il motivo."),
    });
}

QString invoicesTitle()
{
    return QStringLiteral("Applicazione Emissione fatture proforma.");
}

QString invoices()
{
    return paragraphs({
        QStringLiteral(
            "Questa applicazione compila e stampa fatture proforma. I dati del cliente si importano "
            "dall'Anagrafica Clienti e gli articoli dal Magazzino Prodotti; si possono anche "
            "scrivere a mano."),
        QStringLiteral("Dal menu si imposta il logo della ditta che compare sulle fatture stampate; dalla "
                       "schermata delle fatture si sceglie il numero da cui parte la numerazione e se "
                       "aggiungere l'anno al numero."),
        QStringLiteral(
            "Il pulsante Calcola, e il salvataggio stesso, calcolano l'importo di ogni riga, "
            "l'imponibile, l'IVA, il totale IVA inclusa e il totale della fattura. Le righe con la "
            "casella \"Es.\" spuntata sono esenti da IVA. Gli importi delle righe sono tenuti con un "
            "massimo di quattro decimali; i totali sono arrotondati al centesimo."),
        QStringLiteral("I dati della ditta emittente vengono salvati alla chiusura della schermata delle "
                       "fatture e riproposti alla successiva apertura."),
        QStringLiteral("Il pulsante Nuovo propone il numero successivo e la data di oggi; Salva archivia la "
                       "fattura nell'archivio dell'anno o salva le modifiche a una fattura già archiviata."),
        QStringLiteral("La casella \"Saldata\" indica le fatture già pagate: il riepilogo delle fatture non "
                       "saldate elenca tutte le altre."),
        QStringLiteral("Per ogni articolo si può indicare una percentuale di sconto."),
        QStringLiteral("Le fatture archiviate si possono cercare con più criteri, riepilogare per mese, "
                       "trimestre e anno, e i grafici statistici mostrano gli incassi di ogni mese."),
        QStringLiteral("Tutta la fattura si compila anche dalla tastiera: Tab passa al campo successivo, "
                       "anche da una pagina di articoli alla seguente; Ctrl+Tab salta dalle righe degli "
                       "articoli ai totali, Ctrl+Maiusc+Tab torna ai dati sopra le righe; Invio preme il "
                       "pulsante evidenziato, come Calcola. Ctrl+S salva, Ctrl+N prepara una nuova "
                       "fattura, Ctrl+F cerca, Ctrl+P stampa, Ctrl+Pag su e Ctrl+Pag giù mostrano la "
                       "fattura precedente e la successiva, F1 apre la guida; Esc chiude le finestre "
                       "secondarie."),
    });
}

} // namespace tarvello::HelpTexts

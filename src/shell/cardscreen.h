#pragma once

#include "archive/cardarchive.h"
#include "commands.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <span>
#include <vector>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace tarvello
{

class AppContext;
class PictureButton;
class ReportDocument;
class StatusLine;
enum class MessageKind;

// The screen every card is built on (customer, product, invoice): one record of an archive at a
// time, its fields one control per record field, the arrows and the position label, Nuovo,
// Duplica, Salva, the unsaved-changes question, the status line and the commands table. The GUI-free
// rules are CardArchive's (archive/cardarchive.h); a card adds its companion's checks, its fields'
// layout and its own commands.
//
// Other windows and the tests reach a card through what is public here, by record field or by its
// controls' object names: a card's controls are its own.
class CardScreen : public QWidget
{
    Q_OBJECT
public:
    // Before anything replaces the card or leaves it: asks what to do with changes the user has
    // not saved (none: no question), then lets the card go (leavingCard). False when the card is
    // to stay as it is.
    bool confirmLeavingCard();

    // The texts of the card, one per record field in the record's order, as Save stores them: a
    // check box gives its flag ("Sì" or "No"), a hidden holder its text.
    std::vector<QString> texts() const;
    // The text of one record field, and setting it as the program fills a field.
    QString fieldText(int field) const;
    void setFieldText(int field, const QString& text);

    // Puts a record onto the card as the arrows do: every field, and the position label set to
    // `position` (one-based). What the card shows then counts as unchanged.
    void loadRecord(const Record& record, qint64 position);
    // Opens record `index` (from 0) of the card's archive, as a list's chosen line does, once the
    // card has settled any unsaved changes (the user may keep the card as it is, which is no
    // failure). False when the record cannot be read; the card then stays as it was.
    bool openRecord(qint64 index);

    // The position label: the one-based position of the record on display, empty for a new card.
    QString position() const;

    // What the shared commands do, as their buttons (and the tests) press them.
    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdDuplicaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdGuidaClick();

protected:
    // What a card is.
    struct Card {
        QString objectName; // "frmClienti"
        QString caption;    // the window's title
        const RecordLayout& layout;
        // The archive in the program's folder; empty for a card that names its own (archivePath).
        QString fileName;
        // The box the archive access message comes in, when Save, Duplica or an arrow cannot reach
        // the archive.
        MessageKind archiveFailure;
        // The field that takes the focus on a new or duplicated card.
        int firstField;
        // The fields a duplicate leaves empty (the attachments are the original's alone).
        std::vector<int> notCopied = {};
        // The help window's title and text.
        QString helpTitle = {};
        QString helpText = {};
        // The printed card's PDF in the program's folder.
        QString pdfFileName = {};
    };
    CardScreen(AppContext& ctx, Card card);

    AppContext& ctx() const { return m_ctx; }

    // ---- building

    // The controls of the record's fields, one per field in the record's order: line edits,
    // province drop-downs, check boxes (a flag) and hidden labels (text the card keeps out of sight).
    void setFieldControls(std::vector<QWidget*> controls);
    // The order Enter walks the fields in, each highlighted while it has the focus; Tab walks
    // `tabs`, the same fields with the card's own controls among them.
    void setFieldOrder(const QList<QWidget*>& enterOrder, const QList<QWidget*>& tabs);
    QWidget* fieldControl(int field) const { return m_fields[size_t(field)]; }
    QLineEdit* fieldEdit(int field) const;
    // texts() in the companion's own array of texts.
    template <class Texts> Texts textsAs() const
    {
        Texts out;
        const std::vector<QString> all = texts();
        std::copy_n(all.begin(), std::min(all.size(), out.size()), out.begin());
        return out;
    }

    // The status line ("panInfo") with its opening text; its strip's colour comes from the style
    // sheet, by the card's name.
    StatusLine* makeStatusLine();
    StatusLine* statusLine() const { return m_status; }
    // The position label ("lblPosizione"), in the screen's font for it.
    QLabel* makePositionLabel(QWidget* parent);
    QLabel* positionLabel() const { return m_position; }

    // One entry of the column of commands: a button (the shared ones by name alone, a card's own
    // with its picture and caption), a separator line, or the stretch that pushes what follows to
    // the bottom.
    struct ColumnEntry {
        QStringView name;
        QStringView icon = {};
        QStringView caption = {};
    };
    static constexpr QStringView separator = u"|";
    static constexpr QStringView stretch = u"~";
    // The frame the customer and the product card share: the title band, the fields' scroll area
    // beside the column of commands, the status line with the arrows and the position at the
    // foot, all on a panel centred in the window.
    struct Frame {
        QString picture; // the title band's picture
        int pictureSize;
        QString title;
        QString subtitle;
        QScrollArea* fields;  // the scroll area of the fields' sections
        QWidget* fieldsPanel; // the panel it scrolls
        std::vector<ColumnEntry> column;
        int columnSpacing;
        int columnWidth;
        int panelHeight; // the panel stops growing at this height on a tall screen
    };
    void buildFrame(const Frame& frame);
    // A button of the screen (a picture, a push button, a box), by its object name.
    QAbstractButton* button(QStringView name) const;

    // The windows the customer and product cards' shared commands open.
    struct CardWindows {
        QString search;       // Trova: "frmTrovaClienti"
        QString section;      // what the search is for: "clienti"
        QString exportWindow; // Esporta: "frmExpClienti"
    };
    // The commands the customer and product cards share, with the same hints: Nuovo, Duplica,
    // Trova, Allega file (which runs `attach`), Salva, Anteprima, Stampa, Crea PDF, Esporta,
    // Guida, Esci and the four arrows; then the card's `own`.
    ScreenCommands cardCommands(const CardWindows& windows, std::function<void()> attach,
                                const ScreenCommands& own);
    // The hints of the commands every card has; a card that speaks of other things than "schede"
    // names its own.
    struct Hints {
        QString nuovo, salva, primo, indietro, avanti, ultimo;
    };
    static Hints cardHints();
    // Nuovo, Salva, the arrows, Guida and Esci with those hints.
    ScreenCommands recordCommands(const Hints& hints);
    // Wires the commands (actions, windows, keys and hints); each time the card is shown, the
    // buttons whose windows this build lacks are disabled.
    void wireCommands(ScreenCommands commands);
    const ScreenCommands& commands() const { return m_commands; }

    // ---- what each card does its own way

    // The card as it is each time it is shown (and, unless newCard says otherwise, after Nuovo).
    virtual void emptyCard() = 0;
    // Nuovo, once any unsaved changes are settled.
    virtual void newCard() { emptyCard(); }
    // Save's own checks and tidying, before the record is written. False stops Save; the card
    // has said why.
    virtual bool readyToSave() = 0;
    // The archive the card shows a record of.
    virtual QString archivePath() const;
    // The box an arrow that cannot reach the archive reports in.
    virtual MessageKind arrowFailureKind(CardArchive::Arrow arrow) const;
    // The printed card (Anteprima, Stampa, Crea PDF), filled from the screen as it is now.
    virtual ReportDocument cardReport() const = 0;
    // The card has been closed: what it keeps beyond the archive is written here.
    virtual void cardClosed() {}
    // The card was loaded, created or saved: what it shows is what it was given.
    virtual void cardSettled() {}
    // The card was saved; the record on the disk is the one it now shows.
    virtual void cardSaved() {}
    // The card is being left (replaced or closed) without its changes being saved, whether it
    // had any: what it holds beyond its record is let go here.
    virtual void leavingCard() {}
    // Numbers the card changed by an amount (units added through the stock window): a save adds
    // the amount to what another workstation may have stored meanwhile.
    virtual std::vector<CardArchive::Difference> differences() const { return {}; }
    // Fields worked out from others, worked out again when a save keeps another workstation's
    // change beside this card's.
    virtual CardArchive::Derived derived() const { return {}; }
    // What the card adds to the unsaved-changes question and to a failed save's message (the
    // units an unsaved invoice holds); empty for nothing.
    enum class Moment { Leaving, SaveFailed };
    virtual QString heldNote(Moment) const { return {}; }

    // ---- pieces for the cards' own commands

    // Save: true once the card is on the disk.
    bool saveCard();
    // Shows `texts` (one per record field) on the card; a flag other than "Sì" or "No" leaves its
    // box as it was.
    void showTexts(std::span<const QString> texts);
    // Empties every field control: texts, drop-downs, boxes and hidden holders.
    void clearFields();
    void clearPosition();
    void focusFirstField();
    // What the card shows now is what it was loaded, created or saved with.
    void markUnchanged();
    bool changed() const;
    // The text `field` had when the card was loaded, created or saved.
    QString unchangedText(int field) const { return m_changes.unchanged(size_t(field)); }
    // The archive access message, in a box of `kind`.
    void archiveFailed(MessageKind kind);
    void archiveFailed();
    // A warning about a field, which then takes the focus: false, for Save to stop.
    bool refuse(const QString& message, QWidget* field);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void move(CardArchive::Arrow arrow);
    // The question of confirmLeavingCard (and the save it may lead to), without letting the card go.
    bool mayLeaveCard();
    // `message` with the card's note for `moment` after a blank line, if it has one.
    QString withNote(const QString& message, Moment moment) const;

    AppContext& m_ctx;
    Card m_card;
    std::vector<QWidget*> m_fields;
    CardArchive::Changes m_changes;
    QByteArray m_shown; // the record the card was loaded from or last saved as; empty for a new card
    ScreenCommands m_commands;
    StatusLine* m_status = nullptr;
    QLabel* m_position = nullptr;
};

// A field's caption on a card: the small grey text above it, named after it ("lblCognome" for
// "txtCognome") and its buddy; without a field, a plain note.
QLabel* fieldCaption(const QString& text, QWidget* field, QWidget* parent);
// A label that holds a field's text out of sight.
QLabel* hiddenHolder(QWidget* parent, const QString& name, const QString& text = {});

// Opens record `index` (from 0) on the card window named `window`, as CardScreen::openRecord does.
// False when the build has no such card or the record cannot be read.
bool openOnCard(AppContext& ctx, QStringView window, qint64 index);

} // namespace tarvello

#pragma once

#include <QString>

class QUrl;

namespace tarvello
{

// The texts of the screen conventions that need no widget: why a field refused a key, and why
// the desktop did not open a file or an address.

// Which keys a number field lets through.
enum class KeyFilter {
    None,
    Decimal, // digits and the comma
    Digits,  // digits only
};

// What the window says when a field refuses a typed character, so the keystroke never vanishes
// without a word: the character and what to write instead. A number field names what it takes
// (the digits, and the comma where it has decimals); a text field (KeyFilter::None) gives, for an
// accented letter, the usual way to write it ("ì" as "i'", as in "Forli'").
QString refusedKeyHint(QChar c, KeyFilter filter = KeyFilter::None);

// What the window says when a full field refuses one more character: how many it holds.
QString fieldFullHint(int capacity);

// What the user is told when the desktop did not open `url`: the file (with the system's
// separators) or the address, so it can be opened by hand. A file that is not there says so.
QString cannotOpenMessage(const QUrl& url);

// What the user is told when a document file could not be written (the disk is full, the file
// is open in another program, the folder refuses writing): the file's name, then what to check.
// The program's own PDF files (Fattura.pdf) live in the program's folder.
QString documentNotCreatedMessage(const QString& fileName);
// The same for a print into a PDF file chosen in the print dialog, naming its folder.
QString printFileNotCreatedMessage(const QString& path);

// What the progress of a long printing says, to a printer and into a PDF file.
QString printingText();
QString printingPdfText();

} // namespace tarvello

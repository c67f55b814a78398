#pragma once
// The program's one way to the system clipboard. A write replaces what the clipboard holds by
// plain text, marked as secret so that clipboard managers keep it out of their history and out
// of cloud sync, and is then read back: only a clipboard that holds the text counts as written.
// The data handed over owns the text and overwrites it once the clipboard lets go of it.
// Tests derive from it to watch every write or to make one fail.

#include <QString>

class QMimeData;

namespace zintrova {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Puts text on the clipboard in place of everything it held. True when the clipboard then
    // holds exactly that text.
    bool SetText(const QString &text);
    // The data SetText hands over: the text as plain text, with the marks that ask clipboard
    // managers of this platform to leave it alone. The caller owns it.
    static QMimeData *SecretData(const QString &text);

protected:
    // Hands the data to the system clipboard, which takes it over.
    virtual void Write(QMimeData *data);
    // The plain text the system clipboard holds now.
    virtual QString Read() const;
};

// The clipboard the program uses.
Clipboard &ProgramClipboard();

} // namespace zintrova

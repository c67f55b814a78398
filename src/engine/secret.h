#pragma once
// Passwords leave no copies behind. Text that held one is overwritten before its memory goes back
// to the allocator, so that no later allocation, core file or swapped-out page shows it. Qt's
// strings share their characters between copies, so only the last holder overwrites them; every
// other holder just lets go, and the last one's release does the work.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <string>

namespace zintrova {

// Fills the bytes with zeros in a way the compiler cannot leave out as a dead store.
void Overwrite(void *data, std::size_t size);

// Lets go of the text, which is null or empty afterwards. When nothing else shares its characters,
// its whole buffer is overwritten first. Literals, which are never written, are only let go of.
void ReleaseSecret(QString &text);
void ReleaseSecret(QByteArray &bytes);
void ReleaseSecret(std::string &text);

// Releases a string at the end of the scope, whichever way the scope is left.
template <class Text> class ReleaseAtExit {
public:
    explicit ReleaseAtExit(Text &text) : text_(text) {}
    ~ReleaseAtExit() { ReleaseSecret(text_); }
    ReleaseAtExit(const ReleaseAtExit &) = delete;
    ReleaseAtExit &operator=(const ReleaseAtExit &) = delete;

private:
    Text &text_;
};

} // namespace zintrova

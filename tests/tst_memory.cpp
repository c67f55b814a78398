// A password that has left the label and the clipboard is gone from the process's memory: its
// characters were overwritten before the memory that held them was given back.

#include "engine/secret.h"
#include "window_fixture.h"

#include <fcntl.h>
#include <fstream>
#include <unistd.h>

using namespace zintrova;

namespace {

// The test keeps the passwords it looks for XOR-ed with this, or the scan would find its own copy.
constexpr char Mask = 0x5a;

// How often the masked word lies in the process's writable memory, one byte (UTF-8) or two
// (UTF-16) per character. Allocators keep their own links in the first bytes of a freed block,
// so the word's first 16 characters are left out.
int Occurrences(const QByteArray &masked, int width)
{
    const QByteArray word = masked.mid(16);
    std::ifstream maps("/proc/self/maps");
    const int mem = open("/proc/self/mem", O_RDONLY);
    std::string region;
    int found = 0;
    for (std::string line; std::getline(maps, line);) {
        unsigned long from = 0, to = 0;
        char rights[5] = {};
        std::sscanf(line.c_str(), "%lx-%lx %4s", &from, &to, rights);
        // The sanitizer's shadow memory is vast and holds no text.
        if (rights[1] != 'w' || to - from > (64ul << 20)) continue;
        region.resize(to - from);
        region.resize(std::max(pread(mem, region.data(), region.size(), long(from)), 0l));
        for (auto at = region.find(word[0] ^ Mask); at != region.npos;
             at = region.find(word[0] ^ Mask, at + 1)) {
            qsizetype k = 0;
            while (k < word.size() * width && at + k < region.size() &&
                   region[at + k] == (k % width ? 0 : word[k / width] ^ Mask))
                ++k;
            found += k == word.size() * width;
        }
    }
    close(mem);
    return found;
}

// Reads back a copy of the text of its own, as the clipboard of Windows does.
class ConvertingClipboard final : public Clipboard {
    QString Read() const override
    {
        return QString(Clipboard::Read().unicode(), Clipboard::Read().size());
    }
};

} // namespace

class TestMemory : public QObject {
    Q_OBJECT
private slots:
    // A batch of five, which the label shows one by one and the clipboard holds together.
    void replacedPasswordsAreOverwritten()
    {
        MainWindow t;
        ConvertingClipboard clipboard;
        t.probe.Clip() = &clipboard;
        // Long passwords, so that the composer's own string lives on the heap.
        t.clickSlider(1, 40);
        t.clickSlider(0, 40);
        t.pasteCount("5");
        t.click(t.w.cmCopy);
        // Read as a paste reads it, in UTF-8, and kept masked only. The shared text is let go
        // before the next copy, as a paste lets go of it.
        QByteArray masked;
        {
            const QByteArray text = QGuiApplication::clipboard()->mimeData()->data("text/plain");
            for (char c : text) // read only: a copy of the text would stay behind
                masked += char(c ^ Mask);
        }
        for (QString &password : t.shown) // the test's own record of what was shown
            ReleaseSecret(password);
        // Short passwords from now on, which need no block of the size the old ones had.
        t.clickSlider(0, 3);
        t.clickSlider(1, 3);
        t.w.tmTimer->Fire(); // the batch's restore
        t.click(t.w.cmCopy);
        // Each password of 40 characters, between the line ends.
        const QList<QByteArray> copied = masked.split('\n' ^ Mask);
        const auto isPassword = [](const QByteArray &word) { return word.size() >= 40; };
        QCOMPARE(int(std::count_if(copied.begin(), copied.end(), isPassword)), 5);
        for (const QByteArray &word : copied)
            if (isPassword(word))
                for (int width : {1, 2}) // left in UTF-8, in UTF-16
                    QCOMPARE(Occurrences(word.left(40), width), 0);
    }
};

QTEST_MAIN(TestMemory)
#include "tst_memory.moc"

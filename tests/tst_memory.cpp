// A password that has left the label and the clipboard is gone from the process's memory.

#include "mainwindow/fmMain.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace zintrova {

struct fmMainProbe {
    fmMain &w;
    Clipboard *&Clip() { return w.Clip; }
    void Copy() { w.cmCopy_Click(); }
};

} // namespace zintrova

using namespace zintrova;

namespace {

// The test keeps the passwords it looks for XOR-ed, or the scan would find its own copy.
constexpr char Mask = 0x5a;

std::vector<std::string> MaskedLines(const QByteArray &text)
{
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c != '\r' && c != '\n')
            lines.back() += char(c ^ Mask);
        else if (!lines.back().empty())
            lines.emplace_back();
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

// How often the masked text lies in the data, one byte (UTF-8) or two (UTF-16) per character.
int Matches(std::string_view data, const std::string &masked, std::size_t width)
{
    const char first = char(masked[0] ^ Mask);
    const std::size_t length = masked.size() * width;
    int found = 0;
    for (auto at = data.find(first); at != data.npos; at = data.find(first, at + 1)) {
        std::size_t k = 0;
        while (k < length && at + k < data.size() &&
               data[at + k] == (k % width ? 0 : masked[k / width] ^ Mask))
            ++k;
        found += k == length;
    }
    return found;
}

// How often the word lies in the process's writable memory.
int Occurrences(const std::string &word, std::size_t width)
{
    // Allocators keep their own links in the first bytes of a freed block: the start of a word
    // may be gone where the rest is still there.
    const std::string masked = word.substr(16);
    std::ifstream maps("/proc/self/maps");
    const int mem = open("/proc/self/mem", O_RDONLY);
    std::string region;
    int found = 0;
    for (std::string line; std::getline(maps, line);) {
        unsigned long from = 0, to = 0;
        char rights[5] = {};
        std::sscanf(line.c_str(), "%lx-%lx %4s", &from, &to, rights);
        // The sanitizer's shadow memory is vast and holds no text.
        if (std::strncmp(rights, "rw", 2) != 0 || to - from > (64ul << 20)) continue;
        region.resize(to - from);
        region.resize(std::max(pread(mem, region.data(), region.size(), long(from)), 0l));
        found += Matches(region, masked, width);
    }
    close(mem);
    return found;
}

// Reads back a copy of the text of its own, as the clipboard of Windows does.
class ConvertingClipboard final : public Clipboard {
    QString Read() const override
    {
        const QString held = Clipboard::Read();
        return QString(held.unicode(), held.size());
    }
};

} // namespace

class MemoryTest : public QObject {
    Q_OBJECT
private slots:
    void replacedPasswordsAreOverwritten_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("the password on show") << 1;
        QTest::newRow("a batch of five") << 5;
    }

    void replacedPasswordsAreOverwritten()
    {
        QFETCH(int, count);
        ConvertingClipboard clipboard;
        fmMain w;
        fmMainProbe probe{w};
        probe.Clip() = &clipboard;
        // Long passwords, so that the composer's own string lives on the heap.
        w.sldLen[1]->setValue(40);
        w.sldLen[0]->setValue(40);
        w.txNum->setText(QString::number(count));
        probe.Copy();
        // Read as a paste reads it: in UTF-8.
        const auto old = MaskedLines(QGuiApplication::clipboard()->mimeData()->data("text/plain"));
        QCOMPARE(old.size(), std::size_t(count));
        // Short passwords from now on, which need no block of the size the old ones had.
        w.sldLen[0]->setValue(3);
        w.sldLen[1]->setValue(3);
        w.tmTimer->Fire(); // the batch's restore
        probe.Copy();
        for (const std::string &word : old)
            for (const std::size_t width : {1, 2})
                QVERIFY2(Occurrences(word, width) == 0,
                         width == 1 ? "left in UTF-8" : "left in UTF-16");
    }
};

QTEST_MAIN(MemoryTest)
#include "tst_memory.moc"

// The engine and the settings record without any window: sets, pool, composer, the random
// source and its statistics, the number reading, and the record and its file.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/number.h"
#include "engine/random_source.h"
#include "settings/ini_file.h"
#include "settings/record.h"

#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <random>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

// A seeded stand-in for the system source, so that the statistics are repeatable.
class SeededRandom final : public RandomSource {
public:
    std::mt19937 engine;
    float Next() override { return UnitFromBits(engine()); }
};

// The working sets and pool for the filter and set boxes ("1111": filter, lower, upper, digits).
struct Pool {
    SetArray BaseSet, UseSet;
    SimilarTable Similar;
    std::string Exclude, Chars;
    explicit Pool(const char *boxes)
    {
        InitSets(BaseSet, Similar);
        BuildPool(BaseSet, Similar, boxes[0] - '0',
                  {0, boxes[1] - '0', boxes[2] - '0', boxes[3] - '0'}, Exclude, UseSet, Chars);
    }
    std::string Compose(int min, int max, RandomSource &random, std::int16_t &minPerSet) const
    {
        return ComposePassword(min, max, UseSet, Chars, random, minPerSet);
    }
};

// A draw that selects index i of n (the middle of its bucket).
float Slot(int i, int n)
{
    return (i + 0.5f) / n;
}

} // namespace

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    // The pool for each choice of boxes; a greyed box (2) counts as on, in the look-alike table
    // as in the pool.
    void poolTables()
    {
        const std::string lower = "abcdefghijkmnopqrstuvwxyz", upper = "ACEFGHJKLMNPQRTUVWXY";
        const std::pair<const char *, std::string> pools[] = {
            {"1111", lower + upper + "0123456789"},
            {"1212", lower + upper + "0123456789"},
            {"0111", "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"},
            {"1110", lower + "ABCDEFGHJKLMNPQRSTUVWXYZ"},
            {"1101", lower + "0123456789"},
            {"1011", upper + "0123456789"},
            {"1010", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
            {"1000", ""}};
        for (const auto &[boxes, chars] : pools) {
            const Pool pool(boxes);
            QCOMPARE(pool.Chars, chars);
            QCOMPARE(pool.UseSet[1] + pool.UseSet[2] + pool.UseSet[3], chars);
            QCOMPARE(pool.UseSet[2].empty(), boxes[2] == '0');
        }
    }

    // Exact passwords from scripted draws (the length, then per character a pick and a place),
    // the number of draws taken, and the share of every set.
    void scriptedDraws()
    {
        const float top = UnitFromBits(0xFFFFFFFFu); // the largest draw, just below 1
        const float a = Slot(0, 26), b = Slot(1, 26), x = Slot(23, 26);
        // "lud": 'c' into the empty password, 'A' before place 1, '9' at floor(0.99 * 2) + 1 = 2.
        // "l": ab + x at place 1 gives xab, at place 2 axb; the largest draw never appends.
        // "d": the largest draw picks the last character; a minimum above 40 is held to 40, a
        // crossed range gives the minimum's length; no set: nothing drawn.
        const std::tuple<const char *, int, int, std::vector<float>, std::string, int> draws[] = {
            {"1111", 3, 3, {0, Slot(2, 26), 0, Slot(0, 26), 0, Slot(9, 10), 0.99f}, "A9c", 7},
            {"1100", 3, 3, {0, b, 0, a, 0, x, 0}, "xab", 7},
            {"1100", 3, 3, {0, b, 0, a, 0, x, 0.5f}, "axb", 7},
            {"1100", 3, 3, {0, b, top, a, top, x, top}, "axb", 7},
            {"1001", 3, 3, {0, top, 0, top, top, top, top}, "999", 7},
            {"1001", 6, 8, {top, 0}, "00000000", 17},
            {"1001", 50, 40, {top, 0}, std::string(40, '0'), 81},
            {"1001", 20, 8, {top, 0}, std::string(20, '0'), 41},
            {"1000", 6, 8, {0.5f}, "", 0}};
        for (const auto &[boxes, min, max, scripted, password, used] : draws) {
            ScriptedRandom random(scripted);
            std::int16_t minPerSet = 9;
            QCOMPARE(Pool(boxes).Compose(min, max, random, minPerSet), password);
            QCOMPARE(int(random.Count()), used);
            QCOMPARE(minPerSet, used ? minPerSet : 9); // untouched when nothing is composed
        }
        // The share of every set grows by one at 8, 15, 25 and 32 characters.
        for (auto [length, share] :
             {std::pair{7, 1}, {8, 2}, {14, 2}, {15, 3}, {24, 3}, {25, 4}, {31, 4}, {32, 5}}) {
            ScriptedRandom random({0.37f, 0.81f, 0.05f, 0.66f, 0.23f});
            std::int16_t minPerSet = 0;
            QCOMPARE(int(Pool("1111").Compose(length, length, random, minPerSet).size()), length);
            QCOMPARE(minPerSet, share);
        }
    }

    // Many passwords, seeded and from the system source: every one has a length of the range
    // and its sets' shares and ends in a character of the first set that is on; both ends of the
    // range occur; each character of a set occurs about as often as the others (within six
    // standard deviations, which a fair source misses less than once in a hundred million).
    void statistics()
    {
        const std::tuple<const char *, int, int> runs[] = {
            {"1111", 6, 8}, {"0111", 3, 40}, {"1011", 20, 24}, {"1001", 3, 3}, {"0111", 40, 40}};
        for (auto [boxes, min, max] : runs) {
            const Pool pool(boxes);
            SeededRandom seeded;
            const bool system = max == 40 && min == 40;
            RandomSource &random = system ? ProgramRandom() : seeded;
            const SetArray &sets = pool.UseSet;
            const std::string &first = !sets[1].empty()   ? sets[1]
                                       : !sets[2].empty() ? sets[2]
                                                          : sets[3];
            std::map<char, int> count;
            std::map<std::size_t, int> lengths;
            for (int i = 0; i < 30000; ++i) {
                std::int16_t share = 0;
                const std::string p = pool.Compose(min, max, random, share);
                ++lengths[p.size()];
                for (char c : p)
                    ++count[c];
                QVERIFY(first.find(p.back()) != std::string::npos);
                for (const std::string &set : sets) {
                    const auto inSet = [&](char c) { return set.find(c) != set.npos; };
                    QVERIFY(set.empty() || std::count_if(p.begin(), p.end(), inSet) >= share);
                }
            }
            QVERIFY(lengths.begin()->first == std::size_t(min) &&
                    lengths.rbegin()->first == std::size_t(max));
            QCOMPARE(count.size(), pool.Chars.size());
            for (const std::string &set : sets) {
                double total = 0;
                for (char c : set)
                    total += count[c];
                for (char c : set)
                    QVERIFY2(std::abs(count[c] - total / set.size()) <
                                 6 * std::sqrt(total / set.size()),
                             std::string(1, c).c_str());
            }
        }
    }

    // The leading decimal number, blanks skipped, saturated to 16 bits; no number reads as 0.
    void numberReading()
    {
        const std::pair<const char *, int> numbers[] = {{"", 0},
                                                        {"  7x", 7},
                                                        {"-5", -5},
                                                        {"+12", 12},
                                                        {"a12", 0},
                                                        {"1e3", 1},
                                                        {"99999999999999999999", 32767}};
        for (auto [text, value] : numbers)
            QCOMPARE(ReadInt16(text), value);
    }

    // Each value goes to its own member; each is held to its columns when written, so the line is
    // always 21 digits.
    void recordLine()
    {
        QCOMPARE(DecodeRecord("123456789012345678901"),
                 (Record{12345, 67890, {1, 2, 3}, 4, {56, 78}, 901}));
        QCOMPARE(EncodeRecord({-15, 250000, {1, 1, 1}, 1, {6, 8}, 1}), "000009999911110608001");
        QCOMPARE(EncodeRecord({0, 0, {-1, 10, 0}, 12, {123, -4}, 1000}), "000000000009099900999");
    }

    // What the window receives from a settings file as it finds it at start-up: each value as
    // read, the boxes' refused values left out ("-"), the lengths held to the sliders' ranges.
    void settingsFiles_data()
    {
        QTest::addColumn<QByteArray>("file"); // none when null
        QTest::addColumn<QString>("received");
        const QString design = "1500,1200 1111 6-8 25";
        QTest::newRow("no file") << QByteArray() << "nothing";
        QTest::newRow("a sign alone") << QByteArray("-\r\n") << "nothing";
        QTest::newRow("CR LF") << QByteArray("015000120011110608025\r\n") << design;
        QTest::newRow("min above max")
            << QByteArray("000300004501013010007") << "30,45 0101 30-10 7";
        QTest::newRow("greyed, refused") << QByteArray("000000000021930608001") << "0,0 21-- 6-8 1";
        QTest::newRow("lengths beyond")
            << QByteArray("000000000011110250999") << "0,0 1111 3-40 999";
        QTest::newRow("signs") << QByteArray("-9999-0015-1-1-9-9-99") << "-9999,-15 0101 3-6 0";
        QTest::newRow("short") << QByteArray("01500012001\r\n") << "1500,1200 1000 3-6 0";
        QTest::newRow("a comma") << QByteArray("0150001200,11110608025") << "1500,1200 0000 3-6 0";
        QTest::newRow("10 MB") << QByteArray(10 << 20, '7') << "77777,77777 ---- 40-40 777";
    }
    void settingsFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, received);
        QTemporaryDir dir;
        QFile f(dir.filePath("Zintrova.ini"));
        QVERIFY(file.isNull() || (f.open(QIODevice::WriteOnly) && f.write(file) == file.size()));
        f.close();
        const auto a = ToApply(ReadRecordFile(f.fileName()));
        const auto box = [](std::optional<std::int16_t> v) {
            return v ? QString::number(*v) : "-";
        };
        QCOMPARE(!a ? "nothing"
                    : QString("%1,%2 %3%4%5%6 %7-%8 %9")
                          .arg(a->Left)
                          .arg(a->Top)
                          .arg(box(a->Set[0]), box(a->Set[1]), box(a->Set[2]), box(a->Filter))
                          .arg(a->Len[0])
                          .arg(a->Len[1])
                          .arg(a->Count),
                 received);
    }
};

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"

// The engine and the settings record without any window: the pool of each choice of boxes,
// passwords from scripted draws, the statistics of many, the number reading, and the record.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/number.h"
#include "engine/random_source.h"
#include "settings/record.h"

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

// The sets that are on, with the look-alike filter on.
enum class Sets { All, Lower, Digits, None };

// The working sets and pool for the filter box and the three set boxes (0 off, 1 on, 2 greyed).
struct Pool {
    SetArray BaseSet, UseSet;
    SimilarTable Similar;
    std::string Exclude, Chars;
    Pool(int filter, int lower, int upper, int digits)
    {
        InitSets(BaseSet, Similar);
        BuildPool(BaseSet, Similar, filter, {0, lower, upper, digits}, Exclude, UseSet, Chars);
    }
    explicit Pool(Sets on)
        : Pool(1, on == Sets::All || on == Sets::Lower, on == Sets::All,
               on == Sets::All || on == Sets::Digits)
    {
    }
    std::string Compose(int min, int max, RandomSource &random, std::int16_t &share) const
    {
        return ComposePassword(min, max, UseSet, Chars, random, share);
    }
};

// A draw that selects index i of n (the middle of its bucket).
float Slot(int i, int n)
{
    return (i + 0.5f) / n;
}

// What the window receives, in one line: "left,top boxes min-max count", the boxes the three
// sets and the filter, "-" for a value refused; "nothing" for no record.
QString Received(const std::optional<Applied> &a)
{
    if (!a) return "nothing";
    const auto box = [](std::optional<std::int16_t> v) { return v ? QString::number(*v) : "-"; };
    return QString("%1,%2 %3%4%5%6 %7-%8 %9")
        .arg(a->Left)
        .arg(a->Top)
        .arg(box(a->Set[0]), box(a->Set[1]), box(a->Set[2]), box(a->Filter))
        .arg(a->Len[0])
        .arg(a->Len[1])
        .arg(a->Count);
}

} // namespace

Q_DECLARE_METATYPE(Sets)
Q_DECLARE_METATYPE(Record)

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    // The filter leaves out the look-alikes of the sets that are on together; a greyed box
    // counts as on, in the look-alike table as in the pool.
    void poolForEachChoiceOfBoxes_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("lower");
        QTest::addColumn<int>("upper");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("pool");
        const QString lower = "abcdefghijklmnopqrstuvwxyz", upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                      digits = "0123456789", lowerNoL = "abcdefghijkmnopqrstuvwxyz",
                      upperFiltered = "ACEFGHJKLMNPQRTUVWXY";
        QTest::newRow("all, filtered") << 1 << 1 << 1 << 1 << lowerNoL + upperFiltered + digits;
        QTest::newRow("all greyed") << 2 << 2 << 2 << 2 << lowerNoL + upperFiltered + digits;
        QTest::newRow("all, unfiltered") << 0 << 1 << 1 << 1 << lower + upper + digits;
        QTest::newRow("letters: no l, I, O")
            << 1 << 1 << 1 << 0 << lowerNoL + "ABCDEFGHJKLMNPQRSTUVWXYZ";
        QTest::newRow("lower and digits: no l") << 1 << 1 << 0 << 1 << lowerNoL + digits;
        QTest::newRow("upper and digits") << 1 << 0 << 1 << 1 << upperFiltered + digits;
        QTest::newRow("lower alone") << 1 << 1 << 0 << 0 << lower;
        QTest::newRow("digits alone") << 1 << 0 << 0 << 1 << digits;
        QTest::newRow("none") << 1 << 0 << 0 << 0 << "";
    }
    void poolForEachChoiceOfBoxes()
    {
        QFETCH(int, filter);
        QFETCH(int, lower);
        QFETCH(int, upper);
        QFETCH(int, digits);
        QTEST(QString::fromStdString(Pool(filter, lower, upper, digits).Chars), "pool");
    }

    // The length comes first, then for each set that is on its share, each character picked
    // and then placed before one already placed (never after the last), then the rest from the
    // pool. A minimum above 40 is held to 40, a maximum below the minimum gives the minimum; with
    // no set on nothing is composed and the share is left as it was (-1).
    void scriptedPassword_data()
    {
        QTest::addColumn<Sets>("sets");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("share");
        const float top = UnitFromBits(0xFFFFFFFFu); // the largest draw, just below 1
        const float a = Slot(0, 26), b = Slot(1, 26), x = Slot(23, 26);
        // c, then A before it, then 9 at floor(0.99 * 2) = 1.
        QTest::newRow("one of each set")
            << Sets::All << 3 << 3
            << QList{0.f, Slot(2, 26), 0.f, Slot(0, 26), 0.f, Slot(9, 10), 0.99f} << "A9c" << 1;
        QTest::newRow("x placed first")
            << Sets::Lower << 3 << 3 << QList{0.f, b, 0.f, a, 0.f, x, 0.f} << "xab" << 1;
        QTest::newRow("x placed second")
            << Sets::Lower << 3 << 3 << QList{0.f, b, 0.f, a, 0.f, x, 0.5f} << "axb" << 1;
        QTest::newRow("the largest draw places before the last")
            << Sets::Lower << 3 << 3 << QList{0.f, b, top, a, top, x, top} << "axb" << 1;
        QTest::newRow("the largest draw picks the last")
            << Sets::Digits << 3 << 3 << QList{0.f, top} << "999" << 1;
        QTest::newRow("the largest draw gives the maximum")
            << Sets::Digits << 6 << 8 << QList{top, 0.f} << "00000000" << 2;
        QTest::newRow("a minimum above 40")
            << Sets::Digits << 50 << 40 << QList{top, 0.f} << QString(40, '0') << 5;
        QTest::newRow("the maximum below the minimum")
            << Sets::Digits << 20 << 8 << QList{top, 0.f} << QString(20, '0') << 3;
        QTest::newRow("no set") << Sets::None << 6 << 8 << QList{0.5f} << "" << -1;
    }
    void scriptedPassword()
    {
        QFETCH(Sets, sets);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(QList<float>, draws);
        ScriptedRandom random(std::vector<float>(draws.begin(), draws.end()));
        std::int16_t share = -1;
        QTEST(QString::fromStdString(Pool(sets).Compose(min, max, random, share)), "password");
        QTEST(int(share), "share");
    }

    // Each set that is on has its share of every password: one below 8 characters, one more at
    // 8, 15, 25 and 32. Draws of 0 pick each set's first character and the pool's, 'a'.
    void shareOfEachSet_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("share");
        for (auto [length, share] : {std::pair{3, 1},
                                     {7, 1},
                                     {8, 2},
                                     {14, 2},
                                     {15, 3},
                                     {24, 3},
                                     {25, 4},
                                     {31, 4},
                                     {32, 5},
                                     {40, 5}})
            QTest::addRow("%d characters", length) << length << share;
    }
    void shareOfEachSet()
    {
        QFETCH(int, length);
        QFETCH(int, share);
        ScriptedRandom zeros({0.f});
        std::int16_t told = 0;
        const std::string password = Pool(Sets::All).Compose(length, length, zeros, told);
        QCOMPARE(int(password.size()), length);
        QCOMPARE(int(std::count(password.begin(), password.end(), 'A')), share);
        QCOMPARE(int(std::count(password.begin(), password.end(), '0')), share);
        QCOMPARE(int(told), share);
    }

    // Many passwords, seeded and from the system source: both ends of the range occur; each ends
    // in a character of the first set that is on (placed first, and nothing goes after the last);
    // each character of a set occurs about as often as the others (within six standard
    // deviations, which a fair source misses less than once in a hundred million).
    void statistics_data()
    {
        QTest::addColumn<Sets>("sets");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<bool>("system");
        QTest::newRow("all sets, 6 to 8") << Sets::All << 6 << 8 << false;
        QTest::newRow("lower case, 3 to 40") << Sets::Lower << 3 << 40 << false;
        QTest::newRow("digits, 3") << Sets::Digits << 3 << 3 << false;
        QTest::newRow("all sets, 40, the system source") << Sets::All << 40 << 40 << true;
    }
    void statistics()
    {
        QFETCH(Sets, sets);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(bool, system);
        const Pool pool(sets);
        SeededRandom seeded;
        RandomSource &random = system ? ProgramRandom() : seeded;
        const std::string &first = pool.UseSet[1].empty() ? pool.UseSet[3] : pool.UseSet[1];
        std::map<char, int> count;
        std::map<std::size_t, int> lengths;
        for (int i = 0; i < 30000; ++i) {
            std::int16_t share = 0;
            const std::string p = pool.Compose(min, max, random, share);
            ++lengths[p.size()];
            for (char c : p)
                ++count[c];
            QVERIFY(first.find(p.back()) != std::string::npos);
        }
        QCOMPARE(int(lengths.begin()->first), min);
        QCOMPARE(int(lengths.rbegin()->first), max);
        QCOMPARE(count.size(), pool.Chars.size());
        for (const std::string &set : pool.UseSet) {
            double total = 0;
            for (char c : set)
                total += count[c];
            const double mean = total / set.size();
            for (char c : set)
                QVERIFY2(std::abs(count[c] - mean) < 6 * std::sqrt(mean),
                         std::string(1, c).c_str());
        }
    }

    // The leading decimal number, blanks skipped, saturated to 16 bits; no number reads as 0.
    void numberReading_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("nothing") << QByteArray() << 0;
        QTest::newRow("blanks first") << QByteArray(" \t7x") << 7;
        QTest::newRow("minus") << QByteArray("-5") << -5;
        QTest::newRow("plus") << QByteArray("+12") << 12;
        QTest::newRow("a letter first") << QByteArray("a12") << 0;
        QTest::newRow("no exponent") << QByteArray("1e3") << 1;
        QTest::newRow("beyond 16 bits") << QByteArray("99999999999999999999") << 32767;
        QTest::newRow("below 16 bits") << QByteArray("-40000") << -32768;
    }
    void numberReading()
    {
        QFETCH(QByteArray, text);
        QTEST(int(ReadInt16(text.toStdString())), "value");
    }

    // Each value has its columns (left, top, the sets, the filter, the lengths, the count); the
    // line is always 21 digits, as each value is held to what its columns show.
    void recordLine_data()
    {
        QTest::addColumn<Record>("record");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("the design") << Record{1500, 1200, {1, 1, 1}, 1, {6, 8}, 25}
                                    << QByteArray("01500"
                                                  "01200"
                                                  "111"
                                                  "1"
                                                  "0608"
                                                  "025");
        QTest::newRow("beyond the screen's edges") << Record{-15, 250000, {1, 1, 1}, 1, {6, 8}, 1}
                                                   << QByteArray("00000"
                                                                 "99999"
                                                                 "111"
                                                                 "1"
                                                                 "0608"
                                                                 "001");
        QTest::newRow("beyond the columns") << Record{0, 0, {-1, 10, 0}, 12, {123, -4}, 1000}
                                            << QByteArray("00000"
                                                          "00000"
                                                          "090"
                                                          "9"
                                                          "9900"
                                                          "999");
    }
    void recordLine()
    {
        QFETCH(Record, record);
        QTEST(QByteArray::fromStdString(EncodeRecord(record)), "line");
    }

    void recordColumns()
    {
        QCOMPARE(DecodeRecord("12345"
                              "67890"
                              "123"
                              "4"
                              "5678"
                              "901"),
                 (Record{12345, 67890, {1, 2, 3}, 4, {56, 78}, 901}));
    }

    // What the window receives from the start of a settings file: each value as read, a box's
    // value other than 0, 1 or 2 refused, the lengths held to the sliders' ranges, the count to
    // 0..999. The record ends at a comma or a line end; blanks before it are skipped.
    void receivedFromTheFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("received");
        const QString design = "1500,1200 1111 6-8 25";
        QTest::newRow("empty") << QByteArray() << "nothing";
        QTest::newRow("a sign alone") << QByteArray("-\r\n") << "nothing";
        QTest::newRow("CR LF") << QByteArray("01500"
                                             "01200"
                                             "111"
                                             "1"
                                             "0608"
                                             "025\r\n")
                               << design;
        QTest::newRow("blanks first") << QByteArray(" \t01500"
                                                    "01200"
                                                    "111"
                                                    "1"
                                                    "0608"
                                                    "025")
                                      << design;
        QTest::newRow("minimum above maximum") << QByteArray("00030"
                                                             "00045"
                                                             "010"
                                                             "1"
                                                             "3010"
                                                             "007")
                                               << "30,45 0101 30-10 7";
        QTest::newRow("greyed, and refused") << QByteArray("00000"
                                                           "00000"
                                                           "219"
                                                           "3"
                                                           "0608"
                                                           "001")
                                             << "0,0 21-- 6-8 1";
        QTest::newRow("lengths beyond the sliders") << QByteArray("00000"
                                                                  "00000"
                                                                  "111"
                                                                  "1"
                                                                  "0250"
                                                                  "999")
                                                    << "0,0 1111 3-40 999";
        QTest::newRow("signs") << QByteArray("-9999"
                                             "-0015"
                                             "-1-"
                                             "1"
                                             "-9-9"
                                             "-99")
                               << "-9999,-15 0101 3-6 0";
        QTest::newRow("short") << QByteArray("01500"
                                             "01200"
                                             "1\r\n")
                               << "1500,1200 1000 3-6 0";
        QTest::newRow("a comma") << QByteArray("01500"
                                               "01200,111"
                                               "1"
                                               "0608"
                                               "025")
                                 << "1500,1200 0000 3-6 0";
    }
    void receivedFromTheFile()
    {
        QFETCH(QByteArray, file);
        QTEST(Received(ToApply(RecordText(file.toStdString()))), "received");
    }
};

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"

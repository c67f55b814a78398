// The engine and the settings record without any window: the pool of each choice of boxes,
// passwords from scripted draws, the statistics of many, and the record.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/random_source.h"
#include "settings/record.h"

#include <QTest>
#include <map>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

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

// A record line from its columns: left, top, the three sets, the filter, the lengths, the count.
template <class... Column> QByteArray Columns(Column... columns)
{
    return (QByteArray() + ... + columns);
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
        const QString lower = "abcdefghijkmnopqrstuvwxyz", upper = "ACEFGHJKLMNPQRTUVWXY",
                      digits = "0123456789";
        QTest::newRow("all") << 1 << 1 << 1 << 1 << lower + upper + digits;
        QTest::newRow("all greyed") << 2 << 2 << 2 << 2 << lower + upper + digits;
        QTest::newRow("unfiltered")
            << 0 << 1 << 1 << 1 << "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        QTest::newRow("letters") << 1 << 1 << 1 << 0 << lower + "ABCDEFGHJKLMNPQRSTUVWXYZ";
        QTest::newRow("upper and digits") << 1 << 0 << 1 << 1 << upper + digits;
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

    // The length comes first, then for each set that is on its share, each character picked and
    // then placed before one already placed (never after the last), then the rest from the pool.
    // A minimum above 40 is held to 40, a maximum below the minimum gives the minimum; with no
    // set on nothing is composed.
    void scriptedPassword_data()
    {
        QTest::addColumn<Sets>("sets");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QString>("password");
        const float top = UnitFromBits(0xFFFFFFFFu); // the largest draw, just below 1
        const float a = Slot(0, 26), b = Slot(1, 26), x = Slot(23, 26), c = Slot(2, 26);
        // c, then A before it, then 9 at floor(0.99 * 2) = 1.
        QTest::newRow("one of each set")
            << Sets::All << 3 << 3 << QList{0.f, c, 0.f, a, 0.f, Slot(9, 10), 0.99f} << "A9c";
        QTest::newRow("x placed first")
            << Sets::Lower << 3 << 3 << QList{0.f, b, 0.f, a, 0.f, x, 0.f} << "xab";
        QTest::newRow("x placed second")
            << Sets::Lower << 3 << 3 << QList{0.f, b, 0.f, a, 0.f, x, 0.5f} << "axb";
        QTest::newRow("the largest draw places before the last")
            << Sets::Lower << 3 << 3 << QList{0.f, b, top, a, top, x, top} << "axb";
        QTest::newRow("the largest draws") << Sets::Digits << 6 << 8 << QList{top} << "99999999";
        QTest::newRow("a minimum above 40")
            << Sets::Digits << 50 << 40 << QList{top, 0.f} << QString(40, '0');
        QTest::newRow("draws of 1, which a source must not give")
            << Sets::Digits << 3 << 3 << QList{1.f} << "999";
        QTest::newRow("the maximum below the minimum")
            << Sets::Digits << 20 << 8 << QList{top, 0.f} << QString(20, '0');
        QTest::newRow("no set") << Sets::None << 6 << 8 << QList{0.5f} << "";
    }
    void scriptedPassword()
    {
        QFETCH(Sets, sets);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(QList<float>, draws);
        ScriptedRandom random(std::vector<float>(draws.begin(), draws.end()));
        std::int16_t share = 0;
        QTEST(QString::fromStdString(Pool(sets).Compose(min, max, random, share)), "password");
    }

    // Each set that is on has its share of every password: one below 8 characters, one more at
    // 8, 15, 25 and 32. Draws of 0 pick each set's first character, and the pool's: 'a'.
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

    // Many passwords from the system source: both ends of the range occur; each ends in a
    // lower-case letter (placed first, and nothing goes after the last); each character of a set
    // occurs about as often as the others (within six standard deviations, which a fair source
    // misses less than once in a hundred million).
    void statistics()
    {
        const Pool pool(Sets::All);
        const int min = 3, max = 40;
        std::map<char, int> count;
        std::map<std::size_t, int> lengths;
        for (int i = 0; i < 30000; ++i) {
            std::int16_t share = 0;
            const std::string p = pool.Compose(min, max, ProgramRandom(), share);
            ++lengths[p.size()];
            for (char c : p)
                ++count[c];
            QVERIFY(std::islower(p.back()));
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

    // Each value is held to what its columns show, so that a window partly beyond the screen's
    // edge cannot shift the later fields.
    void recordHeldToItsColumns_data()
    {
        QTest::addColumn<Record>("record");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("beyond the screen's edges")
            << Record{-15, 250000, {1, 1, 1}, 1, {6, 8}, 1}
            << Columns("00000", "99999", "111", "1", "0608", "001");
        QTest::newRow("beyond the columns") << Record{0, 0, {-1, 10, 0}, 12, {123, -4}, 1000}
                                            << Columns("00000", "00000", "090", "9", "9900", "999");
    }
    void recordHeldToItsColumns()
    {
        QFETCH(Record, record);
        QTEST(QByteArray::fromStdString(EncodeRecord(record)), "line");
    }

    // What the window receives from the start of a settings file: each value as read, a box's
    // value other than 0, 1 or 2 refused, the lengths held to the sliders' ranges, the count to
    // 0..999. The record ends at a comma or a line end.
    void receivedFromTheFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("received");
        QTest::newRow("CR LF") << Columns(" 01500", "01200", "111", "1", "0608", "025\r\n")
                               << "1500,1200 1111 6-8 25";
        QTest::newRow("minimum above maximum")
            << Columns("00030", "00045", "010", "1", "3010", "007") << "30,45 0101 30-10 7";
        QTest::newRow("greyed, and refused")
            << Columns("00000", "00000", "219", "3", "0608", "001") << "0,0 21-- 6-8 1";
        QTest::newRow("lengths beyond the sliders")
            << Columns("00000", "00000", "111", "1", "0250", "999") << "0,0 1111 3-40 999";
        QTest::newRow("signs") << Columns("-9999", "-0015", "-1-", "1", "-9-9", "-99")
                               << "-9999,-15 0101 3-6 0";
        QTest::newRow("short") << Columns("01500", "01200", "1\r\n") << "1500,1200 1000 3-6 0";
        QTest::newRow("a comma") << Columns("01500", "01200,111", "1", "0608", "025")
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

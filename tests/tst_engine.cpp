// The engine and the settings record without any window.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/random_source.h"
#include "settings/record.h"

#include <QTest>
#include <map>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

enum class Sets { All, Lower, Digits }; // with the look-alike filter on

// The pool for the filter box and the three set boxes (0 off, 1 on, 2 greyed).
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
    std::string Compose(int min, int max, RandomSource &random) const
    {
        std::int16_t share = 0; // what the composer tells of each set's share, not looked at here
        return ComposePassword(min, max, UseSet, Chars, random, share);
    }
};

// A draw that picks index i of n.
float Slot(int i, int n)
{
    return (i + 0.5f) / n;
}

// A record line from its columns: left, top, the three sets, the filter, the lengths, the count.
template <class... Column> QByteArray Columns(Column... columns)
{
    return (QByteArray() + ... + columns);
}

// "left,top boxes min-max count" as the window receives it, "-" for a box's value refused.
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
    // counts as on.
    void poolForEachChoiceOfBoxes_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("lower");
        QTest::addColumn<int>("upper");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("pool");
        const QString lower = "abcdefghijkmnopqrstuvwxyz", upper = "ACEFGHJKLMNPQRTUVWXY",
                      digits = "0123456789";
        QTest::newRow("all greyed") << 2 << 2 << 2 << 2 << lower + upper + digits;
        QTest::newRow("unfiltered")
            << 0 << 1 << 1 << 1 << "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        QTest::newRow("letters") << 1 << 1 << 1 << 0 << lower + "ABCDEFGHJKLMNPQRSTUVWXYZ";
        QTest::newRow("upper and digits") << 1 << 0 << 1 << 1 << upper + digits;
    }
    void poolForEachChoiceOfBoxes()
    {
        QFETCH(int, filter);
        QFETCH(int, lower);
        QFETCH(int, upper);
        QFETCH(int, digits);
        QTEST(QString::fromStdString(Pool(filter, lower, upper, digits).Chars), "pool");
    }

    // The length first, then each set's share, each character picked and then placed before
    // one already placed (never after the last), then the rest from the pool.
    void scriptedPassword_data()
    {
        QTest::addColumn<Sets>("sets");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QString>("password");
        const float top = UnitFromBits(0xFFFFFFFFu); // the largest draw, just below 1
        const float a = Slot(0, 26), b = Slot(1, 26), x = Slot(23, 26);
        // c; A before it; 9 at floor(0.99 * 2) = 1.
        QTest::newRow("one of each set")
            << Sets::All << 3 << 3 << QList{0.f, Slot(2, 26), 0.f, a, 0.f, Slot(9, 10), 0.99f}
            << "A9c";
        QTest::newRow("the largest draw places before the last")
            << Sets::Lower << 3 << 3 << QList{0.f, b, top, a, top, x, top} << "axb";
        QTest::newRow("the largest draws") << Sets::Digits << 6 << 8 << QList{top} << "99999999";
        QTest::newRow("a draw of 1, beyond any source's range, as the largest")
            << Sets::Digits << 3 << 3 << QList{1.f} << "999";
    }
    void scriptedPassword()
    {
        QFETCH(Sets, sets);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(QList<float>, draws);
        ScriptedRandom random(std::vector<float>(draws.begin(), draws.end()));
        QTEST(QString::fromStdString(Pool(sets).Compose(min, max, random)), "password");
    }

    // Each set has its share of every password: 1 below 8 characters, one more at 8, 15, 25
    // and 32. Draws of 0 pick each set's first character, and the pool's: 'a'.
    void shareOfEachSet_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("share");
        for (auto [length, share] :
             {std::pair{7, 1}, {8, 2}, {14, 2}, {15, 3}, {24, 3}, {25, 4}, {31, 4}, {32, 5}})
            QTest::addRow("%d characters", length) << length << share;
    }
    void shareOfEachSet()
    {
        QFETCH(int, length);
        QFETCH(int, share);
        ScriptedRandom zeros({0.f});
        const std::string password = Pool(Sets::All).Compose(length, length, zeros);
        QCOMPARE(int(password.size()), length);
        QCOMPARE(int(std::count(password.begin(), password.end(), 'A')), share);
        QCOMPARE(int(std::count(password.begin(), password.end(), '0')), share);
    }

    // From the system source each character of a set comes about as often as the others (within
    // six standard deviations, which a fair source misses less than once in a hundred million).
    void statistics()
    {
        const Pool pool(Sets::All);
        std::map<char, int> count;
        for (int i = 0; i < 30000; ++i)
            for (char c : pool.Compose(3, 40, ProgramRandom()))
                ++count[c];
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

    // What the window receives from the start of a settings file: a box's value other than 0, 1
    // or 2 refused, the lengths held to the sliders' ranges. A comma or a line end ends it.
    void receivedFromTheFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("received");
        QTest::newRow("CR LF") << Columns(" 01500", "01200", "111", "1", "0608", "025\r\n")
                               << "1500,1200 1111 6-8 25";
        QTest::newRow("greyed, refused, lengths beyond")
            << Columns("00030", "00045", "219", "3", "0250", "999") << "30,45 21-- 3-40 999";
        QTest::newRow("signs") << Columns("-9999", "-0015", "-1-", "1", "-9-9", "-99")
                               << "-9999,-15 0101 3-6 0";
        QTest::newRow("short, a comma") << Columns("01500", "0120,0111") << "1500,120 0000 3-6 0";
    }
    void receivedFromTheFile()
    {
        QFETCH(QByteArray, file);
        QTEST(Received(ToApply(RecordText(file.toStdString()))), "received");
    }
};

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"

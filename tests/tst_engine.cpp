// The engine and the settings record without any window: sets, pool, composer, the random
// source and its statistics, the number reading, and the record and its file.
//
// The statistics run over a fixed seeded source, so their outcome is deterministic; their
// thresholds are set so that a correct generator fails less than once in a million runs: a
// failure means a biased, stuck or clipped draw, not bad luck.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/number.h"
#include "engine/random_source.h"
#include "settings/ini_file.h"
#include "settings/record.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <map>
#include <random>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

// A seeded stand-in for the system source, so that the statistics are repeatable.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
    float Next() override { return UnitFromBits(std::uint32_t(engine_())); }

private:
    std::mt19937 engine_;
};

// Upper critical value of the chi-square distribution with df degrees of freedom for the upper
// tail probability whose normal quantile is z (Wilson-Hilferty; within a few percent for df >= 9).
double ChiSquareCritical(int df, double z)
{
    const double k = 2.0 / (9.0 * df);
    return df * std::pow(1.0 - k + z * std::sqrt(k), 3.0);
}

constexpr double zOneInAMillion = 4.753; // upper tail 1e-6
constexpr double zOneInABillion = 5.998; // upper tail 1e-9

struct Engine {
    SetArray BaseSet, UseSet;
    SimilarTable Similar;
    std::string Exclude, Pool;
    std::map<char, long> count;
    std::map<std::size_t, long> lengths;
    Engine(int filter, int lower, int upper, int digits)
    {
        InitSets(BaseSet, Similar);
        BuildPool(BaseSet, Similar, filter, {0, lower, upper, digits}, Exclude, UseSet, Pool);
    }

    // Composes n passwords and checks the per-set minimum of each one.
    void Run(RandomSource &random, int n, int lo, int hi)
    {
        // Insertion never appends: the first character drawn, from the first set on, stays last.
        const std::string &first =
            UseSet[1].empty() ? UseSet[2].empty() ? UseSet[3] : UseSet[2] : UseSet[1];
        const auto inSet = [](const std::string &set, char c) { return set.find(c) != set.npos; };
        for (int i = 0; i < n; ++i) {
            std::int16_t m = 0;
            const std::string p = ComposePassword(lo, hi, UseSet, Pool, random, m);
            ++lengths[p.size()];
            for (char c : p)
                ++count[c];
            QVERIFY2(inSet(first, p.back()), p.c_str());
            for (const std::string &set : UseSet) // every set that is on has its share
                QVERIFY2(set.empty() || std::count_if(p.begin(), p.end(),
                                                      [&](char c) { return inSet(set, c); }) >= m,
                         p.c_str());
        }
    }

    // Within each set of two or more the characters are equally likely: the chi-square statistic
    // of their frequencies stays below the critical value for the tail whose normal quantile is z.
    void CheckChiSquare(double z)
    {
        for (int k = 1; k <= 3; ++k) {
            const std::string &set = UseSet[k];
            if (set.size() < 2) continue;
            long total = 0;
            for (char c : set)
                total += count[c];
            const double expected = double(total) / double(set.size());
            double chi = 0;
            for (char c : set) {
                const double d = double(count[c]) - expected;
                chi += d * d / expected;
            }
            const double limit = ChiSquareCritical(int(set.size()) - 1, z);
            QVERIFY2(chi < limit, qPrintable(QString::asprintf("set %d: %g >= %g", k, chi, limit)));
        }
    }
};

// A draw that selects index i of n (the middle of its bucket).
float Slot(int i, int n)
{
    return (static_cast<float>(i) + 0.5f) / static_cast<float>(n);
}

const float Top = UnitFromBits(0xFFFFFFFFu); // the largest draw the source makes

} // namespace

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    // The pool for each choice of boxes (filter, lower, upper, digits); a greyed box (2) counts as
    // on, in the look-alike table as in the pool.
    void poolTables()
    {
        const QString lower = "abcdefghijklmnopqrstuvwxyz", upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        const QString lowerNoL = "abcdefghijkmnopqrstuvwxyz", digits = "0123456789";
        const QString upperFiltered = "ACEFGHJKLMNPQRTUVWXY";
        const std::pair<const char *, QString> pools[] = {
            {"1111", lowerNoL + upperFiltered + digits},
            {"1212", lowerNoL + upperFiltered + digits},
            {"0111", lower + upper + digits},
            {"1110", lowerNoL + "ABCDEFGHJKLMNPQRSTUVWXYZ"},
            {"1101", lowerNoL + digits},
            {"1011", upperFiltered + digits},
            {"1100", lower},
            {"1010", upper},
            {"1001", digits},
            {"1000", QString()}};
        for (const auto &[boxes, pool] : pools) {
            Engine e(boxes[0] - '0', boxes[1] - '0', boxes[2] - '0', boxes[3] - '0');
            QCOMPARE(QString::fromStdString(e.Pool), pool);
            QCOMPARE(QString::fromStdString(e.UseSet[1] + e.UseSet[2] + e.UseSet[3]), pool);
            QCOMPARE(e.UseSet[1].empty(), boxes[1] == '0');
            QCOMPARE(e.UseSet[2].empty(), boxes[2] == '0');
        }
    }

    // Exact passwords from scripted draws (the length, then per character a pick and a place),
    // the filter off, and the number of draws taken.
    void scriptedDraws()
    {
        QCOMPARE(Top, 1.0f - 1.0f / 16777216.0f); // below 1, so the last character is the last
        const float a = Slot(0, 26), b = Slot(1, 26), x = Slot(23, 26);
        const std::vector<float> topLength{Top, 0.0f};
        // "lud": 'c' into the empty password, 'A' before place 1, '9' at floor(0.99 * 2) + 1 = 2.
        // "l": ab + x at place 1 gives xab, at place 2 axb; the largest draw never appends.
        // "d": the largest draw picks the last character; lengths held to 3 - 40, a crossed range
        // gives the minimum's length; no set: nothing drawn, MinPerSet kept.
        const std::tuple<const char *, int, int, std::vector<float>, QString, int> draws[] = {
            {"lud", 3, 3, {0, Slot(2, 26), 0, Slot(0, 26), 0, Slot(9, 10), 0.99f}, "A9c", 7},
            {"l", 3, 3, {0, b, 0, a, 0, x, 0}, "xab", 7},
            {"l", 3, 3, {0, b, 0, a, 0, x, 0.5f}, "axb", 7},
            {"l", 3, 3, {0, b, Top, a, Top, x, Top}, "axb", 7},
            {"d", 3, 3, {0, Top, 0, Top, Top, Top, Top}, "999", 7},
            {"d", 6, 8, topLength, "00000000", 17},
            {"d", 50, 40, topLength, QString(40, '0'), 81},
            {"d", 1, 3, topLength, "000", 7},
            {"d", 20, 8, topLength, QString(20, '0'), 41},
            {"", 6, 8, {0.5f}, "", 0}};
        for (const auto &[sets, lo, hi, scripted, password, used] : draws) {
            const QString on = QLatin1String(sets);
            Engine e(0, on.contains('l'), on.contains('u'), on.contains('d'));
            ScriptedRandom r(scripted);
            std::int16_t minPerSet = 9;
            QCOMPARE(
                QString::fromStdString(ComposePassword(lo, hi, e.UseSet, e.Pool, r, minPerSet)),
                password);
            QCOMPARE(int(r.Count()), used);
            QVERIFY(used || minPerSet == 9);
        }
    }

    // The share of every set grows by one at 8, 15, 25 and 32 characters.
    void minPerSet()
    {
        const std::pair<int, int> shares[] = {{7, 1},  {8, 2},  {14, 2}, {15, 3},
                                              {24, 3}, {25, 4}, {31, 4}, {32, 5}};
        for (const auto &[length, minimum] : shares) {
            Engine e(1, 1, 1, 1);
            ScriptedRandom r({0.37f, 0.81f, 0.05f, 0.66f, 0.23f});
            std::int16_t m = 0;
            QCOMPARE(int(ComposePassword(length, length, e.UseSet, e.Pool, r, m).size()), length);
            QCOMPARE(int(m), minimum); // the seeded runs check that every set has its share
        }
    }

    // Seeded runs per choice of boxes (filter, lower, upper, digits) and range: both ends of the
    // length range are reached and nothing outside it, every character of the pool appears and
    // nothing else, and the characters of each set are equally likely.
    void seededStatistics()
    {
        for (const auto &[boxes, lo, hi] :
             {std::tuple{"1111", 6, 8}, {"0111", 3, 40}, {"1011", 20, 24}, {"1001", 3, 3}}) {
            Engine t(boxes[0] - '0', boxes[1] - '0', boxes[2] - '0', boxes[3] - '0');
            SeededRandom random(0x5EED0000u + static_cast<unsigned>(lo * 41 + hi));
            t.Run(random, 40000, lo, hi);
            QCOMPARE(t.lengths.begin()->first, std::size_t(lo));
            QCOMPARE(t.lengths.rbegin()->first, std::size_t(hi));
            QCOMPARE(t.count.size(), t.Pool.size());
            for (char c : t.Pool)
                QVERIFY2(t.count.count(c), std::string(1, c).c_str());
            t.CheckChiSquare(zOneInAMillion);
        }
    }

    // The real source, where no seed fixes the outcome: a looser threshold still catches a stuck or
    // clipped draw, which moves the statistic by orders of magnitude.
    void systemSourceLooseCheck()
    {
        Engine t(0, 1, 1, 1);
        t.Run(ProgramRandom(), 20000, 40, 40);
        QCOMPARE(t.count.size(), std::size_t(62));
        t.CheckChiSquare(zOneInABillion);
    }

    // The leading decimal number, blanks skipped, saturated to 16 bits; no number reads as 0.
    void numberReading()
    {
        const std::pair<const char *, int> numbers[] = {
            {"", 0},           {"025", 25},
            {"  7x", 7},       {"-", 0},
            {"-5", -5},        {"+12", 12},
            {"a12", 0},        {"12,5", 12},
            {"1e3", 1},        {"99999999999999999999", 32767},
            {"-99999", -32768}};
        for (const auto &[text, value] : numbers)
            QCOMPARE(int(ReadInt16(text)), value);
    }

    // Each value goes to its own member; each is held to its columns when written, so the line is
    // always 21 digits.
    void recordLine()
    {
        QCOMPARE(DecodeRecord("123456789012345678901"),
                 (Record{12345, 67890, {1, 2, 3}, 4, {56, 78}, 901}));
        QCOMPARE(EncodeRecord({-15, 250000, {1, 1, 1}, 1, {6, 8}, 1}),
                 std::string("000009999911110608001"));
        QCOMPARE(EncodeRecord({0, 0, {-1, 10, 0}, 12, {123, -4}, 1000}),
                 std::string("000000000009099900999"));
    }

    // What the window receives from a settings file as it finds it at start-up: each value as
    // read, the boxes' refused values left out, the lengths held to the sliders' ranges.
    void settingsFiles_data()
    {
        QTest::addColumn<QByteArray>("file"); // none when null
        QTest::addColumn<QString>("received");
        const QString design = "at 1500,1200 boxes 1111 lengths 6-8 count 25";
        const QString zeros = "at 0,0 boxes 0000 lengths 3-6 count 0";
        QTest::newRow("no file") << QByteArray() << "nothing";
        QTest::newRow("an empty file") << QByteArray("") << "nothing";
        QTest::newRow("a sign alone") << QByteArray("-\r\n") << "nothing";
        QTest::newRow("CR LF") << QByteArray("015000120011110608025\r\n") << design;
        QTest::newRow("LF") << QByteArray("015000120011110608025\n") << design;
        QTest::newRow("blanks before") << QByteArray(" \t 015000120011110608025") << design;
        QTest::newRow("minimum above maximum")
            << QByteArray("000300004501013010007") << "at 30,45 boxes 0101 lengths 30-10 count 7";
        QTest::newRow("a greyed box, refused boxes")
            << QByteArray("000000000021930608001") << "at 0,0 boxes 21-- lengths 6-8 count 1";
        QTest::newRow("lengths beyond the sliders")
            << QByteArray("000000000011110250999") << "at 0,0 boxes 1111 lengths 3-40 count 999";
        QTest::newRow("signs in every field")
            << QByteArray("-9999-0015-1-1-9-9-99") << "at -9999,-15 boxes 0101 lengths 3-6 count 0";
        QTest::newRow("short") << QByteArray("01500012001\r\n")
                               << "at 1500,1200 boxes 1000 lengths 3-6 count 0";
        QTest::newRow("the first line empty") << QByteArray("\r\n015000120011110608025") << zeros;
        QTest::newRow("a NUL byte") << QByteArray("0150001200111\0"
                                                  "0608025",
                                                  21)
                                    << "at 1500,1200 boxes 1110 lengths 6-8 count 25";
        QTest::newRow("a comma") << QByteArray("0150001200,11110608025")
                                 << "at 1500,1200 boxes 0000 lengths 3-6 count 0";
        QTest::newRow("letters") << QByteArray("abcdefghijklmnopqrstu\r\n") << zeros;
        QTest::newRow("10 MB") << QByteArray(10 << 20, '7')
                               << "at 77777,77777 boxes ---- lengths 40-40 count 777";
    }
    void settingsFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, received);
        QTemporaryDir dir;
        const QString path = dir.filePath("Zintrova.ini");
        QFile f(path);
        QVERIFY(file.isNull() || (f.open(QIODevice::WriteOnly) && f.write(file) == file.size()));
        f.close();
        const auto a = ToApply(ReadRecordFile(path));
        const auto box = [](std::optional<std::int16_t> v) {
            return v ? QString::number(*v) : QStringLiteral("-");
        };
        const QString got =
            !a ? QStringLiteral("nothing")
               : QStringLiteral("at %1,%2 boxes %3%4%5%6 lengths %7-%8 count %9")
                     .arg(a->Left)
                     .arg(a->Top)
                     .arg(box(a->Set[0]), box(a->Set[1]), box(a->Set[2]), box(a->Filter))
                     .arg(a->Len[0])
                     .arg(a->Len[1])
                     .arg(a->Count);
        QCOMPARE(got, received);
    }
};

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"

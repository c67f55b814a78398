// Statistical checks of the composer. Over a fixed seeded source the outcome is deterministic;
// the thresholds are set so that a correct generator fails less than once in a million runs, so
// a failure here means a biased, stuck or clipped draw, not bad luck.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/random_source.h"

#include <QTest>
#include <cmath>
#include <map>

using namespace zintrova;

namespace {

// A seeded stand-in for the system source (SplitMix64), so that the statistics are repeatable.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}
    float Next() override
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return UnitFromBits(static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32));
    }

private:
    std::uint64_t state_;
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

struct Tally {
    SetArray BaseSet, UseSet;
    SimilarTable Similar;
    std::string Exclude, Pool;
    std::map<char, long> count;
    std::map<std::size_t, long> lengths;

    Tally(int filter, int lower, int upper, int digits)
    {
        InitSets(BaseSet, Similar);
        BuildPool(BaseSet, Similar, filter, {0, lower, upper, digits}, Exclude, UseSet, Pool);
    }

    // Composes n passwords and checks the per-set minimum of each one.
    void Run(RandomSource &random, int n, int lo, int hi)
    {
        for (int i = 0; i < n; ++i) {
            std::int16_t m = 0;
            const std::string p = ComposePassword(lo, hi, UseSet, Pool, random, m);
            ++lengths[p.size()];
            // Insertion never appends, so the first character drawn, from the first set that is
            // on, stays last.
            const int first = !UseSet[1].empty() ? 1 : !UseSet[2].empty() ? 2 : 3;
            QVERIFY2(UseSet[first].find(p.back()) != std::string::npos, p.c_str());
            for (char c : p)
                ++count[c];
            for (int k = 1; k <= 3; ++k) {
                if (UseSet[k].empty()) continue;
                long inSet = 0;
                for (char c : p)
                    inSet += UseSet[k].find(c) != std::string::npos;
                QVERIFY2(inSet >= m, p.c_str());
            }
        }
    }

    // Chi-square statistic of the character frequencies within set k against uniform.
    double ChiSquare(int k) const
    {
        const std::string &set = UseSet[k];
        long total = 0;
        for (char c : set)
            total += count.count(c) ? count.at(c) : 0;
        const double expected = static_cast<double>(total) / static_cast<double>(set.size());
        double chi = 0;
        for (char c : set) {
            const double d = (count.count(c) ? count.at(c) : 0) - expected;
            chi += d * d / expected;
        }
        return chi;
    }
};

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT
private slots:
    void seededSource_data();
    void seededSource();
    void systemSourceLooseCheck();
};

void TestStatistics::seededSource_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::newRow("all sets, filter on, 6-8") << 1 << 1 << 1 << 1 << 6 << 8;
    QTest::newRow("all sets, filter off, 3-40") << 0 << 1 << 1 << 1 << 3 << 40;
    QTest::newRow("upper and digits, 20-24") << 1 << 0 << 1 << 1 << 20 << 24;
    QTest::newRow("digits only, 3-3") << 1 << 0 << 0 << 1 << 3 << 3;
}

void TestStatistics::seededSource()
{
    QFETCH(int, filter);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(int, digits);
    QFETCH(int, lo);
    QFETCH(int, hi);
    Tally t(filter, lower, upper, digits);
    SeededRandom random(0x5EED0000u + static_cast<unsigned>(lo * 41 + hi));
    t.Run(random, 40000, lo, hi);

    // Both ends of the length range are reached, and nothing outside it.
    QVERIFY(t.lengths.count(static_cast<std::size_t>(lo)));
    QVERIFY(t.lengths.count(static_cast<std::size_t>(hi)));
    QCOMPARE(t.lengths.begin()->first, std::size_t(lo));
    QCOMPARE(t.lengths.rbegin()->first, std::size_t(hi));
    // Every character of the pool appears, and nothing else.
    QCOMPARE(t.count.size(), t.Pool.size());
    for (char c : t.Pool)
        QVERIFY2(t.count.count(c), std::string(1, c).c_str());
    // Within each set the characters are equally likely.
    for (int k = 1; k <= 3; ++k) {
        const int n = static_cast<int>(t.UseSet[k].size());
        if (n < 2) continue;
        const double chi = t.ChiSquare(k), limit = ChiSquareCritical(n - 1, zOneInAMillion);
        QVERIFY2(
            chi < limit,
            qPrintable(QStringLiteral("set %1: chi-square %2 >= %3").arg(k).arg(chi).arg(limit)));
    }
}

void TestStatistics::systemSourceLooseCheck()
{
    // The real source, where no seed fixes the outcome: a looser threshold still catches a stuck
    // or clipped draw, which moves the statistic by orders of magnitude.
    Tally t(0, 1, 1, 1);
    t.Run(ProgramRandom(), 20000, 40, 40);
    QCOMPARE(t.count.size(), std::size_t(62));
    for (int k = 1; k <= 3; ++k) {
        const int n = static_cast<int>(t.UseSet[k].size());
        const double chi = t.ChiSquare(k), limit = ChiSquareCritical(n - 1, zOneInABillion);
        QVERIFY2(
            chi < limit,
            qPrintable(QStringLiteral("set %1: chi-square %2 >= %3").arg(k).arg(chi).arg(limit)));
    }
}

QTEST_APPLESS_MAIN(TestStatistics)
#include "tst_statistics.moc"

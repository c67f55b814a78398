// A batch copy on the real main window, on the offscreen platform: 999 passwords of length 40,
// from the click on "Multicopy" until the button reads "Done". The batch repaints the password
// label and lets pending events run after every password, as it does for the user.

#include "controls/fonts.h"
#include "mainwindow/fmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace zintrova;

namespace {

void BM_Batch999Length40(benchmark::State &state)
{
    fmMain w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) {
        state.SkipWithError("the window did not show");
        return;
    }
    w.sldLen[1]->setValue(40);
    w.sldLen[0]->setValue(40);
    w.txNum->setText(QStringLiteral("999"));
    for (auto _ : state) {
        QTest::mouseClick(w.cmCopy, Qt::LeftButton);
        state.PauseTiming();
        const bool done = w.cmCopy->text() == QStringLiteral("Done") &&
                          QGuiApplication::clipboard()->text().size() == 999 * 42;
        w.tmTimer->Fire(); // the restore, outside the measured time
        state.ResumeTiming();
        if (!done) {
            state.SkipWithError("the batch did not end in \"Done\" with 999 passwords of 40");
            break;
        }
    }
    state.counters["passwords/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 999, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_Batch999Length40)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

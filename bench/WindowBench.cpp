// Keystroke to repainted result: one digit typed into box 1 of the real main window, until
// both value boxes have repainted with the new number and its conversion. Reports the median
// and the 99th percentile of the single keystrokes besides Google Benchmark's mean.
#include "DesktopFonts.h"
#include "NumSpinEdit.h"
#include "frmMain.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void TypeDigit(QWidget* box, int digit)
{
    const QChar character(u'0' + digit);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + digit, Qt::NoModifier, QString(character));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_0 + digit, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(box, &press);
    QCoreApplication::sendEvent(box, &release);
}

double Percentile(std::vector<double> samples, double fraction)
{
    std::sort(samples.begin(), samples.end());
    return samples[std::min(samples.size() - 1, size_t(fraction * double(samples.size())))];
}

void KeystrokeToRepaintedResult(benchmark::State& state, int targetUnit)
{
    QTemporaryDir folder; // the window's preferences file goes there, never beside the bench
    tarvane::TfmMain window(nullptr, folder.filePath(QStringLiteral("tarvane")));
    window.show();
    window.lstUnits2->setCurrentRow(targetUnit);
    QCoreApplication::processEvents();

    std::vector<double> microseconds;
    int digit = 1;
    for (auto _ : state) {
        window.edValue1->selectAll();
        const Clock::time_point start = Clock::now();
        TypeDigit(window.edValue1, digit);
        window.edValue1->repaint();
        window.edValue2->repaint();
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        microseconds.push_back(elapsed.count() * 1e6);
        digit = digit % 9 + 1; // every keystroke changes the text
    }
    state.counters["median_us"] = Percentile(microseconds, 0.5);
    state.counters["p99_us"] = Percentile(microseconds, 0.99);
    window.hide();
}

} // namespace

BENCHMARK_CAPTURE(KeystrokeToRepaintedResult, VrmsToDbm50, 2)->UseManualTime()->Iterations(5000);
BENCHMARK_CAPTURE(KeystrokeToRepaintedResult, VrmsToVpp, 1)->UseManualTime()->Iterations(5000);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tarvane::RegisterDesktopFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// ConvertValue over all 144 unit pairs, against the same pairs computed by the bare
// formulas with no guards, in one run: in plain double (the target's yardstick) and in
// long double (so the cost of the guards alone shows apart from that of the wider
// arithmetic). Prints the cost per conversion and the ratios.
#include "Units.h"
#include "uConv.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>

namespace {

using tarvane::UnitCount;

constexpr int PairCount = UnitCount * UnitCount;

// An ordinary value in each unit, in catalogue order.
constexpr std::array<double, UnitCount> OrdinaryValues = {1.0,  2.5,   3.0,  -2.0, 4.0,   -6.0,
                                                          0.02, 0.002, 30.0, 40.0, 100.0, 90.0};

template <typename Real>
Real Impedance(int unit)
{
    return (unit == 2 || unit == 6) ? 50 : 600;
}

template <typename Real>
Real Ratio(Real level)
{
    return std::exp(level * std::numbers::ln10_v<Real> / 20);
}

template <typename Real>
Real V12()
{
    static const Real v12 = std::sqrt(Real(0.6)) * Ratio<Real>(12);
    return v12;
}

template <typename Real>
Real BareInbound(int unit, Real x)
{
    // clang-format off
    switch (unit) {
    case 1: return x / (2 * std::numbers::sqrt2_v<Real>);
    case 2:
    case 3: return std::sqrt(Impedance<Real>(unit) / 1000) * Ratio(x);
    case 4: return std::sqrt(Real(0.6)) * Ratio(x);
    case 5: return Ratio(x);
    case 6:
    case 7: return std::sqrt(x * Impedance<Real>(unit));
    case 8: return V12<Real>() / (75 / x);
    case 9: return V12<Real>() / (80 / x);
    case 10:
    case 11: return Real(1e-6) * Ratio(x);
    default: return x;
    }
    // clang-format on
}

template <typename Real>
Real BareDeviation(int unit, Real v)
{
    return (unit == 8 ? 75 : 80) / (V12<Real>() / v);
}

template <typename Real>
Real BareOutbound(int unit, Real v)
{
    // clang-format off
    switch (unit) {
    case 1: return std::numbers::sqrt2_v<Real> * (2 * v);
    case 2:
    case 3: return 10 * std::log10(v * v / Impedance<Real>(unit) / Real(0.001));
    case 4: return 20 * std::log10(v / std::sqrt(Real(0.6)));
    case 5: return 20 * std::log10(v);
    case 6:
    case 7: return v * v / Impedance<Real>(unit);
    case 8:
    case 9: return v > 0 ? BareDeviation(unit, v) : 0;
    case 10:
    case 11: return 20 * std::log10(v / Real(1e-6));
    default: return v;
    }
    // clang-format on
}

// Out of line like ConvertValue, so that neither side gets its dispatch folded away.
template <typename Real>
[[gnu::noinline]] double BareConvert(double value, int fromUnit, int toUnit)
{
    const Real x = value;
    if (fromUnit == toUnit) {
        return value;
    }
    if ((fromUnit == 2 && toUnit == 6) || (fromUnit == 3 && toUnit == 7)) {
        return static_cast<double>(std::pow(Real(10), x / 10) / 1000);
    }
    if ((toUnit == 8 || toUnit == 9) && fromUnit >= 1 && fromUnit <= 4) {
        return static_cast<double>(BareDeviation(toUnit, BareInbound(fromUnit, x)));
    }
    return static_cast<double>(BareOutbound(toUnit, BareInbound(fromUnit, x)));
}

template <typename Convert>
void RunAllPairs(benchmark::State& state, Convert convert)
{
    std::array<double, UnitCount> values = OrdinaryValues;
    benchmark::DoNotOptimize(values.data());
    for (auto _ : state) {
        // The values count as changed, so no conversion is folded at compile time.
        benchmark::ClobberMemory();
        for (int fromUnit = 0; fromUnit < UnitCount; ++fromUnit) {
            for (int toUnit = 0; toUnit < UnitCount; ++toUnit) {
                benchmark::DoNotOptimize(convert(values[fromUnit], fromUnit, toUnit));
            }
        }
    }
    state.counters["per_conversion"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * PairCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void ConvertValueAllPairs(benchmark::State& state)
{
    tarvane::ConversionFailed = false;
    RunAllPairs(state, tarvane::ConvertValue);
    if (tarvane::ConversionFailed) {
        state.SkipWithError("an ordinary value failed to convert");
    }
}

void BareDoubleAllPairs(benchmark::State& state)
{
    RunAllPairs(state, BareConvert<double>);
}

void BareLongDoubleAllPairs(benchmark::State& state)
{
    RunAllPairs(state, BareConvert<long double>);
}

BENCHMARK(ConvertValueAllPairs)->Unit(benchmark::kNanosecond);
BENCHMARK(BareDoubleAllPairs)->Unit(benchmark::kNanosecond);
BENCHMARK(BareLongDoubleAllPairs)->Unit(benchmark::kNanosecond);

// The console report, then the processor time per conversion of each benchmark kept for
// the summary (processor time, as the wall clock also counts other programs' turns).
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // With --benchmark_repetitions the median, reported after the runs, is kept.
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || median)) {
                m_nsPerConversion[run.run_name.function_name] =
                    run.GetAdjustedCPUTime() / PairCount;
            }
        }
    }

    void PrintSummary() const
    {
        const double guarded = Find("ConvertValueAllPairs");
        const double bareDouble = Find("BareDoubleAllPairs");
        const double bareLongDouble = Find("BareLongDoubleAllPairs");
        std::printf("\nConvertValue:             %6.1f ns per conversion (target: at most 100)\n",
                    guarded);
        std::printf("Bare formulas, double:    %6.1f ns per conversion\n", bareDouble);
        std::printf("Bare formulas, long double: %4.1f ns per conversion\n", bareLongDouble);
        std::printf("Ratio to bare double:      %5.2f (target: at most 3)\n", guarded / bareDouble);
        std::printf("Ratio to bare long double: %5.2f (the cost of the guards alone)\n",
                    guarded / bareLongDouble);
    }

private:
    double Find(const std::string& name) const
    {
        const auto found = m_nsPerConversion.find(name);
        return found == m_nsPerConversion.end() ? 0 : found->second;
    }

    std::map<std::string, double> m_nsPerConversion;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}

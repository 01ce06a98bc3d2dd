// ConvertValue over all 144 unit pairs of the window, against the same pairs computed by the
// bare formulas with no checks, in one run: in plain double and in long double, with the C
// library's logarithms and exponentials (whose last bits differ from one processor to the
// next). Prints the cost per conversion and the ratios.
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

using tarvane::UnitCatalogue;
using tarvane::UnitCount;
using tarvane::UnitKind;

constexpr int PairCount = UnitCount * UnitCount;

// An ordinary value in each unit, in catalogue order.
constexpr std::array<double, UnitCount> OrdinaryValues = {1.0,  2.5,   3.0,  -2.0, 4.0,   -6.0,
                                                          0.02, 0.002, 30.0, 40.0, 100.0, 90.0};

template <typename Real>
Real ValueOf(tarvane::Fraction fraction)
{
    return Real(fraction.numerator) / Real(fraction.denominator);
}

template <typename Real>
Real Ratio(Real level)
{
    return std::exp(level * std::numbers::ln10_v<Real> / 20);
}

template <typename Real>
Real BareInbound(const tarvane::Unit& unit, Real x);

template <typename Real>
Real ReferenceVoltage(const tarvane::Unit& deviationUnit)
{
    static const tarvane::Unit& levelUnit = UnitCatalogue[tarvane::UnitIndexOf("dBu")];
    return BareInbound<Real>(levelUnit, deviationUnit.deviationLevel);
}

template <typename Real>
Real BareInbound(const tarvane::Unit& unit, Real x)
{
    const Real reference = ValueOf<Real>(unit.reference);
    // clang-format off
    switch (unit.kind) {
    case UnitKind::Voltage: return x / std::sqrt(reference);
    case UnitKind::VoltageLevel: return std::sqrt(reference) * Ratio(x);
    case UnitKind::PowerLevel: return std::sqrt(Real(unit.impedance) * reference) * Ratio(x);
    case UnitKind::Power: return std::sqrt(x * Real(unit.impedance));
    case UnitKind::Deviation: return ReferenceVoltage<Real>(unit) / (reference / x);
    }
    // clang-format on
    return x;
}

template <typename Real>
Real BareDeviation(const tarvane::Unit& unit, Real v)
{
    return ValueOf<Real>(unit.reference) / (ReferenceVoltage<Real>(unit) / v);
}

template <typename Real>
Real BareOutbound(const tarvane::Unit& unit, Real v)
{
    const Real reference = ValueOf<Real>(unit.reference);
    const Real impedance = unit.impedance;
    // clang-format off
    switch (unit.kind) {
    case UnitKind::Voltage: return v * std::sqrt(reference);
    case UnitKind::VoltageLevel: return 20 * std::log10(v / std::sqrt(reference));
    case UnitKind::PowerLevel: return 10 * std::log10(v * v / impedance / reference);
    case UnitKind::Power: return v * v / impedance;
    case UnitKind::Deviation: return v > 0 ? BareDeviation(unit, v) : 0;
    }
    // clang-format on
    return v;
}

// Out of line like ConvertValue, so that neither side gets its dispatch folded away.
template <typename Real>
[[gnu::noinline]] double BareConvert(double value, int fromUnit, int toUnit)
{
    const tarvane::Unit& from = UnitCatalogue[fromUnit];
    const tarvane::Unit& to = UnitCatalogue[toUnit];
    const Real x = value;
    if (fromUnit == toUnit) {
        return value;
    }
    if (from.kind == UnitKind::PowerLevel && to.kind == UnitKind::Power
        && from.impedance == to.impedance) {
        return static_cast<double>(ValueOf<Real>(from.reference) * std::pow(Real(10), x / 10));
    }
    if (to.kind == UnitKind::Deviation && from.intoDeviationUnchecked) {
        return static_cast<double>(BareDeviation(to, BareInbound(from, x)));
    }
    return static_cast<double>(BareOutbound(to, BareInbound(from, x)));
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

// Whether a run ended in SkipWithError: Google Benchmark 1.8 replaced the run's
// error_occurred (Debian 12's 1.7) with skipped (Debian 13's 1.9).
template <typename BenchmarkRun>
bool Skipped(const BenchmarkRun& run)
{
    if constexpr (requires { run.skipped; }) {
        return run.skipped != 0;
    } else {
        return run.error_occurred;
    }
}

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
            if (!Skipped(run) && (run.run_type == Run::RT_Iteration || median)) {
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
        // No target: a conversion is a few millionths of what a keystroke may take; what the
        // figures show is what rounding each step once, the same on every processor, costs.
        std::printf("\nConvertValue:             %6.1f ns per conversion\n", guarded);
        std::printf("Bare formulas, double:    %6.1f ns per conversion\n", bareDouble);
        std::printf("Bare formulas, long double: %4.1f ns per conversion\n", bareLongDouble);
        std::printf("Ratio to bare double:      %5.2f\n", guarded / bareDouble);
        std::printf("Ratio to bare long double: %5.2f\n", guarded / bareLongDouble);
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

// What the About box keeps after it closes: Tarvane opening it from the main window and
// closing it with OK round after round, beside the same program running as many rounds of its
// event loop with the box left closed. Prints the heap in use and the resident memory after
// the first few rounds and after the last, their growth per round in each run, and the
// difference per opening. The target, at most 1 KB per opening, is the heap's: resident memory
// follows it, but by whole pages and as the allocator reuses them, so it is shown beside it.
// Runs offscreen unless a display is given.
// Usage: tarvane_about_memory_bench [rounds, 200 by default]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int WarmUpRounds = 10; // the first openings fill caches that are then reused
constexpr double TargetBytesPerOpening = 1024;

struct Sample {
    double heap = 0;
    double resident = 0;
};

struct Run {
    Sample afterWarmUp;
    Sample last;
};

// Runs the probe in the given mode; false when it failed or reported too few rounds.
bool Measure(const char* mode, int rounds, Run& run)
{
    const std::string command =
        std::string(TARVANE_ABOUT_MEMORY_PROBE) + ' ' + mode + ' ' + std::to_string(rounds);
    FILE* const output = popen(command.c_str(), "r");
    if (!output)
        return false;
    std::vector<Sample> samples;
    int round = 0;
    Sample sample;
    while (std::fscanf(output, "%d %lf %lf", &round, &sample.heap, &sample.resident) == 3)
        samples.push_back(sample);
    if (pclose(output) != 0 || int(samples.size()) != rounds)
        return false;
    run.afterWarmUp = samples[WarmUpRounds - 1];
    run.last = samples.back();
    return true;
}

Sample GrowthPerRound(const Run& run, int rounds)
{
    const int counted = rounds - WarmUpRounds;
    return {(run.last.heap - run.afterWarmUp.heap) / counted,
            (run.last.resident - run.afterWarmUp.resident) / counted};
}

void Print(const char* label, const Run& run, const Sample& growth)
{
    std::printf("%-22s %12.0f %12.0f %12.0f %12.0f %10.0f %10.0f\n", label, run.afterWarmUp.heap,
                run.last.heap, run.afterWarmUp.resident, run.last.resident, growth.heap,
                growth.resident);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(WarmUpRounds + 1, std::atoi(argv[1])) : 200;
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    Run closed;
    Run open;
    if (!Measure("closed", rounds, closed) || !Measure("open", rounds, open)) {
        std::fprintf(stderr, "the probe did not report every round\n");
        return EXIT_FAILURE;
    }
    const Sample closedGrowth = GrowthPerRound(closed, rounds);
    const Sample openGrowth = GrowthPerRound(open, rounds);

    std::printf("rounds: %d, counted after the first %d (platform: %s)\n", rounds, WarmUpRounds,
                std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "desktop");
    std::printf("%-22s %12s %12s %12s %12s %10s %10s\n", "bytes", "heap first", "heap last",
                "RSS first", "RSS last", "heap/round", "RSS/round");
    Print("About box left closed", closed, closedGrowth);
    Print("opened and closed", open, openGrowth);
    const double heap = openGrowth.heap - closedGrowth.heap;
    const double resident = openGrowth.resident - closedGrowth.resident;
    std::printf("kept per opening: heap %.0f B (target: at most %.0f B), resident %.0f B\n", heap,
                TargetBytesPerOpening, resident);
    return heap <= TargetBytesPerOpening ? EXIT_SUCCESS : EXIT_FAILURE;
}

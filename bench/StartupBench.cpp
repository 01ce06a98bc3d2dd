// Start-up of Tarvane against a bare Qt program showing an empty window of the same size,
// run alternately in the same session: the time from launch until the window is first on
// screen, and the peak resident memory. Prints medians and Tarvane's ratios to the bare
// program (targets: at most 1.3 for the time, 1.2 for the memory). Without a display the
// programs draw offscreen. With both an X display and a Wayland compositor at hand (DISPLAY
// and WAYLAND_DISPLAY set, as on a Wayland desktop with XWayland, or under weston nested in X:
// see scripts/virtual-display.sh), it also runs Tarvane under each, alternately, and prints
// the ratios of Wayland to X11 (target: at most 1.3 for the memory).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double TimeTarget = 1.3;
constexpr double MemoryTarget = 1.2;
constexpr double WaylandMemoryTarget = 1.3; // Tarvane under Wayland against X11

struct Sample {
    double milliseconds = 0;
    double megabytes = 0;
};

long long NowNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Runs a probe, on the given Qt platform when there is one; false when it failed to report
// its first showing.
bool Run(const char* program, Sample& sample, const char* platform = nullptr)
{
    int output[2];
    if (pipe(output) != 0)
        return false;
    const long long start = NowNanoseconds();
    const pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        close(output[1]);
        if (platform)
            setenv("QT_QPA_PLATFORM", platform, 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(output[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n; (n = read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(output[0]);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0 || text.empty())
        return false;
    sample.milliseconds = double(std::atoll(text.c_str()) - start) / 1e6;
    sample.megabytes = double(usage.ru_maxrss) / 1024.0;
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Contender {
    const char* label;
    const char* program;
    const char* platform; // the Qt platform to run it on; null for the caller's
};

// Runs the two alternately and prints their medians and the second's ratios to the first;
// false when a run failed.
bool Compare(int runs, const char* heading, const Contender& first, const Contender& second,
             std::optional<double> timeTarget, double memoryTarget)
{
    std::vector<double> firstTime, firstMemory, secondTime, secondMemory;
    for (int i = 0; i < runs; ++i) {
        Sample a, b;
        if (!Run(first.program, a, first.platform) || !Run(second.program, b, second.platform)) {
            std::fprintf(stderr, "%s or %s did not report its window\n", first.label, second.label);
            return false;
        }
        firstTime.push_back(a.milliseconds);
        firstMemory.push_back(a.megabytes);
        secondTime.push_back(b.milliseconds);
        secondMemory.push_back(b.megabytes);
    }
    std::printf("%-22s %12s %14s\n", heading, "shown (ms)", "peak RSS (MB)");
    std::printf("%-22s %12.1f %14.1f\n", first.label, Median(firstTime), Median(firstMemory));
    std::printf("%-22s %12.1f %14.1f\n", second.label, Median(secondTime), Median(secondMemory));
    std::printf("%-22s %12.2f %14.2f\n", "ratio", Median(secondTime) / Median(firstTime),
                Median(secondMemory) / Median(firstMemory));
    if (timeTarget)
        std::printf("%-22s %12.2f %14.2f\n", "target (at most)", *timeTarget, memoryTarget);
    else
        std::printf("%-22s %12s %14.2f\n", "target (at most)", "", memoryTarget);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::printf("runs each: %d (platform: %s)\n", runs,
                std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "desktop");
    if (!Compare(runs, "program", {"bare Qt window", TARVANE_BARE_PROBE, nullptr},
                 {"Tarvane", TARVANE_STARTUP_PROBE, nullptr}, TimeTarget, MemoryTarget))
        return 1;
    if (!std::getenv("DISPLAY") || !std::getenv("WAYLAND_DISPLAY"))
        return 0;
    std::printf("\n");
    return Compare(runs, "Tarvane under", {"X11", TARVANE_STARTUP_PROBE, "xcb"},
                   {"Wayland", TARVANE_STARTUP_PROBE, "wayland"}, std::nullopt, WaylandMemoryTarget)
        ? 0
        : 1;
}

// Start-up of Tarvane against a bare Qt program showing an empty window of the same size,
// run alternately in the same session: the time from launch until the window is first on
// screen, and the peak resident memory. Prints medians and Tarvane's ratios to the bare
// program (targets: at most 1.3 for the time, 1.2 for the memory). Without a display the
// programs draw offscreen.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double TimeTarget = 1.3;
constexpr double MemoryTarget = 1.2;

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

// Runs a probe; false when it failed to report its first showing.
bool Run(const char* program, Sample& sample)
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

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> bareTime, bareMemory, appTime, appMemory;
    for (int i = 0; i < runs; ++i) {
        Sample bare, app;
        if (!Run(TARVANE_BARE_PROBE, bare) || !Run(TARVANE_STARTUP_PROBE, app)) {
            std::fprintf(stderr, "a probe did not report its window\n");
            return 1;
        }
        bareTime.push_back(bare.milliseconds);
        bareMemory.push_back(bare.megabytes);
        appTime.push_back(app.milliseconds);
        appMemory.push_back(app.megabytes);
    }
    const double timeRatio = Median(appTime) / Median(bareTime);
    const double memoryRatio = Median(appMemory) / Median(bareMemory);
    std::printf("runs each: %d (platform: %s)\n", runs,
                std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "desktop");
    std::printf("%-22s %12s %14s\n", "program", "shown (ms)", "peak RSS (MB)");
    std::printf("%-22s %12.1f %14.1f\n", "bare Qt window", Median(bareTime), Median(bareMemory));
    std::printf("%-22s %12.1f %14.1f\n", "Tarvane", Median(appTime), Median(appMemory));
    std::printf("%-22s %12.2f %14.2f\n", "ratio", timeRatio, memoryRatio);
    std::printf("%-22s %12.2f %14.2f\n", "target (at most)", TimeTarget, MemoryTarget);
    return 0;
}

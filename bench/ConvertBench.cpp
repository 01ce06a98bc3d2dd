// tarvane-convert against GNU units, run alternately in the same session:
// - one conversion (1 Vrms in dBu) as a whole process: median wall time and peak resident
//   memory of each, and the ratios (targets: at least 3 times faster, in less memory);
// - streaming: values piped through each program, in lines per second (target for
//   tarvane-convert: at least 3 million Vrms to dBu), beside the floor of the same numbers
//   read and printed without converting (Vrms to Vrms), and tarvane-convert's lines that fail,
//   lines that carry their unit, and lines in units given with "@", S-meter readings, gains and
//   sums, beside bare numbers that convert (targets: a failing line costs at most twice a
//   converting one, a line with its unit or a sum at most 1.5 times).
// When GNU units is not installed, only tarvane-convert is measured, and the comparison is
// said to be skipped.
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Cost {
    double milliseconds = 0;
    double cpuMilliseconds = 0;
};

double NowMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double Milliseconds(const timeval& t)
{
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

std::vector<char*> Arguments(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// Runs a program with its input from a file (or /dev/null) and its output thrown away.
// False when it could not start, or did not exit normally with the status expected.
bool Run(const std::vector<std::string>& command, const char* inputFile, Cost& cost,
         int expectedStatus = 0)
{
    std::vector<char*> argv = Arguments(command);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inputFile, O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const double start = NowMilliseconds();
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status))
        return false;
    cost.milliseconds = NowMilliseconds() - start;
    cost.cpuMilliseconds = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    return WEXITSTATUS(status) == expectedStatus;
}

std::optional<double> HighWaterMegabytes(pid_t process)
{
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::atof(line.c_str() + 6) / 1024.0;
    }
    return std::nullopt;
}

// The peak resident memory of the program itself, read from /proc as it exits, held there
// by ptrace. The rusage of a child would also count this benchmark's own memory, which the
// child holds until it executes the program. Nothing when tracing is not allowed.
std::optional<double> PeakMegabytes(const std::vector<std::string>& command)
{
    std::vector<char*> argv = Arguments(command);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return std::nullopt;
    std::optional<double> peak;
    if (WIFSTOPPED(status)) { // stopped after the exec
        ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACEEXIT);
        ptrace(PTRACE_CONT, child, nullptr, nullptr);
        while (waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
            const bool exiting = status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8));
            if (exiting)
                peak = HighWaterMegabytes(child);
            const long signal = exiting ? 0 : WSTOPSIG(status);
            ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void*>(signal));
        }
    }
    return peak;
}

bool OnPath(const char* program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Random levels in volts, from `low` to `high`, one per line as `write` puts each of them.
template <typename Write>
std::string WriteLevels(int count, double low, double high, Write write)
{
    char name[] = "/tmp/tarvane_convert_bench_XXXXXX";
    const int fd = mkstemp(name);
    FILE* file = fdopen(fd, "w");
    std::mt19937 random(12);
    std::uniform_real_distribution<double> volts(low, high);
    for (int i = 0; i < count; ++i)
        write(file, volts(random), i);
    std::fclose(file);
    return name;
}

void WriteBare(FILE* file, double volts, int)
{
    std::fprintf(file, "%.6g\n", volts);
}

// The same levels, each with its unit as people write it: volts, millivolts, microvolts, Vrms.
void WriteWithUnit(FILE* file, double volts, int line)
{
    switch (line % 4) {
    case 0:
        std::fprintf(file, "%.6g V\n", volts);
        break;
    case 1:
        std::fprintf(file, "%.6g mV\n", volts * 1e3);
        break;
    case 2:
        std::fprintf(file, "%.6g \u00b5V\n", volts * 1e6);
        break;
    default:
        std::fprintf(file, "%.6gVrms\n", volts);
        break;
    }
}

// A way of writing levels that only a reader of "@", S-meter readings and arithmetic takes:
// the line, and beside it the same level as a bare number in the unit it carries.
struct Form {
    const char* unit;
    void (*writeLine)(FILE* file, double dBm); // dBm: the level across 50 ohms
    void (*writeNumber)(FILE* file, double dBm);
};

// clang-format off
constexpr Form NewForms[] = {
    {"dBm@75",
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g dBm@75\n", dBm - 1.7609); },
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g\n", dBm - 1.7609); }},
    {"dBmV",
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g dBmV\n", dBm + 46.9897); },
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g\n", dBm + 46.9897); }},
    {"dBFS@18dBu",
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g dBFS@18dBu\n", dBm - 28.7918); },
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g\n", dBm - 28.7918); }},
    {"S",
     [](FILE* file, double dBm) { std::fprintf(file, "S9+%.6g\n", dBm + 73); },
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g\n", 9 + (dBm + 73) / 6); }},
    {"dBm",
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g dBm + 20 dB\n", dBm - 20); },
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g\n", dBm); }},
    {"dBm",
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g dBm + %.6g dBm\n", dBm - 3, dBm - 3); },
     [](FILE* file, double dBm) { std::fprintf(file, "%.6g\n", dBm); }},
};
// clang-format on
constexpr int FormCount = std::size(NewForms);

double DbmOf(double volts)
{
    return 20 * std::log10(volts) + 13.0103;
}

// The levels in each new form in turn.
void WriteNewForms(FILE* file, double volts, int line)
{
    NewForms[line % FormCount].writeLine(file, DbmOf(volts));
}

// GNU units reads a pair of lines per conversion: the level, then the unit wanted.
void WriteForUnits(FILE* file, double volts, int)
{
    std::fprintf(file, "%.6g V\ndBu\n", volts);
}

struct Single {
    std::vector<double> milliseconds;
    std::optional<double> megabytes;
};

bool MeasureOnce(const std::vector<std::string>& command, Single& single)
{
    Cost cost;
    if (!Run(command, "/dev/null", cost)) {
        std::fprintf(stderr, "%s failed\n", command[0].c_str());
        return false;
    }
    single.milliseconds.push_back(cost.milliseconds);
    return true;
}

void ReportSingle(const char* label, const Single& single)
{
    std::printf("  %-40s median %7.2f ms   peak ", label, Median(single.milliseconds));
    if (single.megabytes)
        std::printf("%6.2f MiB\n", *single.megabytes);
    else
        std::printf("unknown (tracing is not allowed)\n");
}

// lines per second: by the wall clock (best of the runs) and by processor time
struct Rate {
    double wall = 0;
    double cpu = 0;
};

bool Stream(const std::vector<std::string>& command, const std::string& input, int lines,
            Rate& rate, int expectedStatus = 0)
{
    for (int run = 0; run < 3; ++run) {
        Cost cost;
        if (!Run(command, input.c_str(), cost, expectedStatus))
            return false;
        rate.wall = std::max(rate.wall, lines / (cost.milliseconds / 1e3));
        rate.cpu = std::max(rate.cpu, lines / (cost.cpuMilliseconds / 1e3));
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const bool withUnits = OnPath("units"); // GNU units
    if (!withUnits)
        std::printf("GNU units is not installed: the comparison with it is skipped.\n");

    const std::vector<std::string> tarvaneOne = {TARVANE_CONVERT, "1", "Vrms", "dBu"};
    const std::vector<std::string> unitsOne = {"units", "-t", "1 V", "dBu"};
    Single tarvane, units;
    for (int i = 0; i < runs; ++i) {
        if (!MeasureOnce(tarvaneOne, tarvane) || (withUnits && !MeasureOnce(unitsOne, units)))
            return 1;
    }
    tarvane.megabytes = PeakMegabytes(tarvaneOne);
    units.megabytes = withUnits ? PeakMegabytes(unitsOne) : std::nullopt;
    std::printf("One conversion as a whole process, 1 Vrms in dBu (%d runs each):\n", runs);
    ReportSingle("tarvane-convert 1 Vrms dBu", tarvane);
    if (withUnits) {
        ReportSingle("units -t '1 V' dBu", units);
        std::printf("  tarvane-convert is %.1f times faster (target: at least 3)\n",
                    Median(units.milliseconds) / Median(tarvane.milliseconds));
        if (tarvane.megabytes && units.megabytes)
            std::printf("  tarvane-convert uses %.1f times less memory (target: more than 1)\n",
                        *units.megabytes / *tarvane.megabytes);
    }

    constexpr int TarvaneLines = 2'000'000;
    constexpr int UnitsLines = 20'000;
    const std::string convertingInput = WriteLevels(TarvaneLines, 0.001, 100.0, WriteBare);
    const std::string failingInput = WriteLevels(TarvaneLines, -100.0, 0.0, WriteBare);
    const std::string withUnitInput = WriteLevels(TarvaneLines, 0.001, 100.0, WriteWithUnit);
    const std::string newFormsInput = WriteLevels(TarvaneLines, 0.001, 100.0, WriteNewForms);
    Rate convertingRate, floorRate, failingRate, withUnitRate, newFormsRate;
    bool streamed =
        Stream({TARVANE_CONVERT, "Vrms", "dBu"}, convertingInput, TarvaneLines, convertingRate)
        && Stream({TARVANE_CONVERT, "Vrms", "Vrms"}, convertingInput, TarvaneLines, floorRate)
        && Stream({TARVANE_CONVERT, "Vrms", "dBu"}, failingInput, TarvaneLines, failingRate, 1)
        && Stream({TARVANE_CONVERT, "dBu"}, withUnitInput, TarvaneLines, withUnitRate)
        && Stream({TARVANE_CONVERT, "dBu"}, newFormsInput, TarvaneLines, newFormsRate);
    std::remove(convertingInput.c_str());
    std::remove(failingInput.c_str());
    std::remove(withUnitInput.c_str());
    std::remove(newFormsInput.c_str());
    // The same levels of each new form as bare numbers in its unit: the seconds they take.
    Rate newFormsAsNumbers;
    for (int form = 0; form < FormCount && streamed; ++form) {
        const std::string input =
            WriteLevels(TarvaneLines, 0.001, 100.0, [form](FILE* file, double volts, int line) {
                if (line % FormCount == form)
                    NewForms[form].writeNumber(file, DbmOf(volts));
            });
        const int lines = (TarvaneLines - form + FormCount - 1) / FormCount;
        Rate rate;
        streamed = Stream({TARVANE_CONVERT, NewForms[form].unit, "dBu"}, input, lines, rate);
        newFormsAsNumbers.wall += lines / rate.wall;
        newFormsAsNumbers.cpu += lines / rate.cpu;
        std::remove(input.c_str());
    }
    newFormsAsNumbers = {TarvaneLines / newFormsAsNumbers.wall,
                         TarvaneLines / newFormsAsNumbers.cpu};
    if (!streamed) {
        std::fprintf(stderr, "tarvane-convert failed to stream\n");
        return 1;
    }
    std::printf("Streaming volts to dBu, lines per second (best of 3 runs; by processor time in "
                "brackets):\n");
    const auto report = [](const char* label, const Rate& rate, const char* target) {
        std::printf("  %-46s %10.0f  (%.0f)%s\n", label, rate.wall, rate.cpu, target);
    };
    report("tarvane-convert Vrms dBu, numbers", convertingRate, "   target: at least 3000000");
    report("the same numbers read and printed (Vrms Vrms)", floorRate, "   the floor");
    std::printf("  converting takes %.2f (%.2f) times as long as reading and printing\n",
                floorRate.wall / convertingRate.wall, floorRate.cpu / convertingRate.cpu);
    const char* const lineTarget = "   target: at least 2000000";
    report("tarvane-convert Vrms dBu, numbers that fail", failingRate, lineTarget);
    report("tarvane-convert dBu, levels with their unit", withUnitRate, lineTarget);
    report("tarvane-convert dBu, @, S-meter, gains, sums", newFormsRate, "");
    report("the same levels as numbers in their units", newFormsAsNumbers, "");
    std::printf("  a failing line takes %.2f (%.2f) times as long as a converting one (target: at "
                "most 2)\n",
                convertingRate.wall / failingRate.wall, convertingRate.cpu / failingRate.cpu);
    std::printf("  a level with its unit takes %.2f (%.2f) times as long as a number (target: at "
                "most 1.5)\n",
                convertingRate.wall / withUnitRate.wall, convertingRate.cpu / withUnitRate.cpu);
    std::printf("  a level with \"@\", an S-meter reading, a gain or a sum takes %.2f (%.2f) times "
                "as long as the number in its unit (target: at most 1.5)\n",
                newFormsAsNumbers.wall / newFormsRate.wall,
                newFormsAsNumbers.cpu / newFormsRate.cpu);
    if (withUnits) {
        const std::string unitsInput = WriteLevels(UnitsLines, 0.001, 100.0, WriteForUnits);
        Rate unitsRate;
        const bool unitsStreamed = Stream({"units", "-t"}, unitsInput, UnitsLines, unitsRate);
        std::remove(unitsInput.c_str());
        if (!unitsStreamed) {
            std::fprintf(stderr, "GNU units failed to stream\n");
            return 1;
        }
        report("units -t, a pair of lines per value", unitsRate, "");
        std::printf("  tarvane-convert streams %.0f times faster\n",
                    convertingRate.wall / unitsRate.wall);
    }
    return 0;
}

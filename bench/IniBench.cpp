// Reading the preferences at start-up from a large preferences file, against a plain read of
// the same file's bytes, in one run. The plain read is the floor any reader pays and grows
// linearly with the file, so a ratio that stays small and alike for every shape shows a
// reading that is linear too (target: well under a second for 10 MB of any shape).
// Usage: tarvane_ini_bench [size in MB, 10 by default]
#include "uUserPrefs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using Filler = std::function<QByteArray(qsizetype index)>;

struct Shape {
    const char* name;
    Filler piece;    // appended again and again until the file reaches its size
    bool inPrefsToo; // the bulk lies inside the section start-up reads
};

// The keys start-up reads, after the bulk: every one must be found past it.
const QByteArray PrefsHeader("[UserPrefs]\n");
const QByteArray PrefsKeys("Value1precision=6\nValue2precision=2\nValue1Index=3\nValue2Index=5\n"
                           "Value1=2.5\n");

QByteArray Contents(const Shape& shape, qsizetype size)
{
    QByteArray data = shape.inPrefsToo ? PrefsHeader : QByteArray();
    data.reserve(size + PrefsHeader.size() + PrefsKeys.size() + 64);
    for (qsizetype i = 0; data.size() < size; ++i)
        data += shape.piece(i);
    return data + '\n' + (shape.inPrefsToo ? QByteArray() : PrefsHeader) + PrefsKeys;
}

double Milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    const double megabytes = argc > 1 ? std::max(0.001, std::atof(argv[1])) : 10.0;
    const auto size = qsizetype(megabytes * 1024 * 1024);
    const QByteArray huge(size, 'x');
    const Shape shapes[] = {
        {"lines without \"=\"",
         [](qsizetype) { return QByteArray("a line of text with no equals sign in it\n"); }, false},
        {"one huge line", [&huge](qsizetype) { return huge; }, false},
        {"many sections", [](qsizetype i) { return "[Section" + QByteArray::number(i) + "]\n"; },
         false},
        {"many keys", [](qsizetype i) { return "Key" + QByteArray::number(i) + "=1\n"; }, true},
    };

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tarvane.ini"));
    constexpr int Runs = 5;
    std::printf("file size: %.1f MB, best of %d runs each\n", megabytes, Runs);
    std::printf("%-20s %16s %16s %8s\n", "shape", "prefs read (ms)", "plain read (ms)", "ratio");
    for (const Shape& shape : shapes) {
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(Contents(shape, size)) < size) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
        double prefsBest = 1e300;
        double plainBest = 1e300;
        for (int run = 0; run < Runs; ++run) {
            plainBest =
                std::min(plainBest, Milliseconds([&path] {
                             QFile file(path);
                             if (!file.open(QIODevice::ReadOnly) || file.readAll().isEmpty())
                                 std::abort();
                         }));
            prefsBest = std::min(prefsBest, Milliseconds([&path] {
                                     if (tarvane::ReadUserPrefs(path).Value1 != 2.5)
                                         std::abort(); // the keys after the bulk were not found
                                 }));
        }
        std::printf("%-20s %16.1f %16.1f %8.1f\n", shape.name, prefsBest, plainBest,
                    prefsBest / plainBest);
    }
    return 0;
}

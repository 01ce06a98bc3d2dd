// Feeds arbitrary bytes to the RTF reader and the rich-text engine: reading, loading and
// rendering must neither crash nor read out of bounds, and what is read keeps the
// reader's promises (valid UTF-16, font sizes within bounds).
#include "RichTextEngine.h"
#include "RtfReader.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace tarvane;

namespace {

void CheckContent(const TRtfContent& content)
{
    for (const TRtfParagraph& paragraph : content.Paragraphs) {
        for (const TRtfRun& run : paragraph.Runs) {
            if (run.Text.empty() || run.Format.HalfPoints < 1
                || run.Format.HalfPoints > RtfMaxHalfPoints)
                std::abort();
            const QString text = QString::fromStdU16String(run.Text);
            for (qsizetype i = 0; i < text.size(); ++i) {
                const QChar c = text.at(i);
                if (c.isLowSurrogate())
                    std::abort();
                if (c.isHighSurrogate()) {
                    if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate())
                        std::abort();
                    ++i;
                }
            }
        }
    }
}

// libFuzzer checks for leaks after every input that leaves memory allocated. Here that is
// fonts Qt's cache keeps for later inputs, part of which the checker takes for lost: fontconfig
// keeps a pattern's values at an offset from it, not behind a pointer. They are all freed at
// exit, where the leak check still runs; so leaks are checked there only, unless the command
// line asks otherwise. (No suppression can single those values out: the fontconfig function
// that allocates them is internal and has no name in the library.)
void CheckLeaksAtExitOnly(int& argc, char**& argv)
{
    static char flag[] = "-detect_leaks=0";
    static std::vector<char*> arguments;
    arguments.assign(argv, argv + argc);
    arguments.insert(arguments.begin() + 1, flag); // before the caller's flags, which win
    arguments.push_back(nullptr);
    argc = int(arguments.size()) - 1;
    argv = arguments.data();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    CheckLeaksAtExitOnly(*argc, *argv);
    // Rendering lays text out with real fonts, which needs a GUI application; the
    // offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto* const application = new QGuiApplication(*argc, *argv);
    // Qt's font cache is made when text is first measured and, being a global, is torn down
    // at exit before whatever was registered earlier. Ended after it, the application could
    // no longer release the fonts it loaded, and the leak check at exit reports them. So the
    // cache is made now and the application ended by a handler registered after it.
    QFontMetrics(QGuiApplication::font()).height();
    std::atexit([] { delete application; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const std::optional<TRtfContent> content =
            ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size)))
        CheckContent(*content);

    TRichTextEngine engine;
    engine.Load(bytes);
    engine.SetWordWrap(size % 2 == 0);
    QImage surface(64, 24, QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::transparent);
    QPainter painter(&surface);
    engine.FormatRange(painter, QRect(15, 15, 945, 345));
    return 0;
}

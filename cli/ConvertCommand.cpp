#include "ConvertCommand.h"

#include "LevelForms.h"
#include "LevelText.h"
#include "NumberForms.h"
#include "Units.h"
#include "uConv.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace tarvane {

namespace {

constexpr char FailureText[] = "-.--";
// What a text saved in UTF-8 by some editors starts with.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// Input is read, and output written, in blocks of this size. A line longer than one
// block cannot be a sensible number: it fails without being kept.
constexpr std::size_t BlockSize = 1 << 16;
// The conversions kept from the units of levels read.
constexpr std::size_t KeptLevelConversions = 16;

// The characters of a UTF-8 text: its bytes but those that go on with a character.
std::size_t Utf8Width(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The text and spaces after it, `width` characters in all.
std::string Padded(std::string text, std::size_t width)
{
    text.append(width - std::min(width, Utf8Width(text)), ' ');
    return text;
}

void Complain(const std::string& message)
{
    std::fprintf(stderr, "tarvane-convert : %s\n", message.c_str());
}

ssize_t ReadSome(int fd, char* data, std::size_t size)
{
    ssize_t n = 0;
    do {
        n = ::read(fd, data, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Standard input cut into lines, read in large blocks.
class InputLines {
public:
    explicit InputLines(int fd)
        : m_fd(fd)
        , m_buffer(BlockSize)
    {
    }

    // Reads one block and calls onLine(line) for every line it completes, with nothing for
    // a line longer than a block. False at the end of the input, once its last line (which
    // may lack its line break) is handed over, and when the input cannot be read.
    template <typename OnLine>
    bool ReadBlock(OnLine onLine)
    {
        const ssize_t n = ReadSome(m_fd, m_buffer.data() + m_filled, m_buffer.size() - m_filled);
        if (n <= 0) {
            m_failed = n < 0;
            if (m_filled > 0 || m_overlong) {
                HandOver({m_buffer.data(), m_filled}, onLine);
            }
            return false;
        }
        const char* lineStart = m_buffer.data();
        const char* scan = lineStart + m_filled;
        const char* const end = scan + n;
        while (const char* newline =
                   static_cast<const char*>(std::memchr(scan, '\n', end - scan))) {
            HandOver({lineStart, newline}, onLine);
            lineStart = scan = newline + 1;
        }
        m_filled = static_cast<std::size_t>(end - lineStart);
        std::memmove(m_buffer.data(), lineStart, m_filled);
        if (m_filled == m_buffer.size()) {
            m_overlong = true; // its start is dropped: only its end is still to be found
            m_filled = 0;
        }
        return true;
    }
    bool Failed() const { return m_failed; }

private:
    template <typename OnLine>
    void HandOver(std::string_view line, OnLine& onLine)
    {
        onLine(m_overlong ? std::nullopt : std::optional<std::string_view>(line));
        m_overlong = false;
    }

    int m_fd = -1;
    std::vector<char> m_buffer;
    std::size_t m_filled = 0;
    bool m_overlong = false;
    bool m_failed = false;
};

// Output gathered into large blocks, so that millions of lines take few system calls.
class OutputBlock {
public:
    explicit OutputBlock(int fd)
        : m_fd(fd)
        , m_buffer(BlockSize)
    {
    }

    // Where the next line goes, with room for a result and its line break.
    char* Reserve()
    {
        if (m_buffer.size() - m_size < MaxValueTextLength + 1) {
            Flush();
        }
        return m_buffer.data() + m_size;
    }
    // Ends the line that was written from Reserve() up to `end`.
    void Commit(char* end)
    {
        *end++ = '\n';
        m_size = static_cast<std::size_t>(end - m_buffer.data());
    }
    // Writes what is held; false once the output has refused a write.
    bool Flush()
    {
        if (m_size > 0 && !m_failed) {
            m_failed = !WriteAll(m_fd, m_buffer.data(), m_size);
        }
        m_size = 0;
        return !m_failed;
    }

private:
    int m_fd = -1;
    std::vector<char> m_buffer;
    std::size_t m_size = 0;
    bool m_failed = false;
};

} // namespace

ConvertCommand::ConvertCommand(const CommandLine& commandLine)
    : m_commandLine(commandLine)
{
    if (m_commandLine.fromUnit && m_commandLine.toUnit) {
        m_conversion = Conversion::Between(m_commandLine.fromUnit->unit, *m_commandLine.toUnit);
    }
}

int ConvertCommand::Run(int input, int output) const
{
    if (m_commandLine.action == CommandLine::Action::ConvertLines) {
        return ConvertLines(input, output);
    }
    const int status = WriteAnswer();
    // A full disk or a closed output loses the answer: that is a failure too.
    if (std::fflush(stdout) != 0) {
        Complain("impossible d'écrire la sortie");
        return ExitFailure;
    }
    return status;
}

int ConvertCommand::WriteAnswer() const
{
    switch (m_commandLine.action) {
    case CommandLine::Action::ConvertOne:
        return ConvertOne();
    case CommandLine::Action::ListUnits:
        return ListUnits();
    case CommandLine::Action::ShowHelp:
        std::fputs(UsageText().c_str(), stdout);
        return ExitSuccess;
    case CommandLine::Action::ShowVersion:
        std::puts("tarvane-convert (Tarvane) " TARVANE_VERSION);
        return ExitSuccess;
    case CommandLine::Action::ConvertLines:
        break;
    }
    return ExitUsageError;
}

Reading<Level> ConvertCommand::ReadValue(std::string_view text) const
{
    const std::optional<LevelUnit>& from = m_commandLine.fromUnit;
    if (!from) {
        return ReadLevelText(text);
    }
    const std::optional<ScaledReal> value = ReadValueIn(text, *from);
    return {value ? std::optional<Level>(Level{*value, from->unit}) : std::nullopt};
}

std::optional<double> ConvertCommand::Convert(const Level& level) const
{
    if (m_conversion) {
        return (*m_conversion)(level.value);
    }
    const auto known = std::find_if(m_levelConversions.begin(), m_levelConversions.end(),
                                    [&](const auto& entry) { return entry.first == level.unit; });
    const std::optional<Conversion>* conversion = nullptr;
    if (known != m_levelConversions.end()) {
        conversion = &known->second;
    } else {
        std::pair entry{level.unit, Conversion::Between(level.unit, *m_commandLine.toUnit)};
        if (m_levelConversions.size() < KeptLevelConversions) {
            m_levelConversions.push_back(std::move(entry));
            conversion = &m_levelConversions.back().second;
        } else {
            auto& oldest = m_levelConversions[m_oldestLevelConversion];
            m_oldestLevelConversion = (m_oldestLevelConversion + 1) % KeptLevelConversions;
            oldest = std::move(entry);
            conversion = &oldest.second;
        }
    }
    return *conversion ? (**conversion)(level.value) : std::nullopt;
}

bool ConvertCommand::WriteConverted(char*& out, std::optional<std::string_view> line) const
{
    const std::optional<Level> level = line ? ReadValue(*line).value : std::nullopt;
    const std::optional<double> result = level ? Convert(*level) : std::nullopt;
    if (!result) {
        out = std::copy_n(FailureText, std::size(FailureText) - 1, out);
        return false;
    }
    out = FormatValueIn(out, *result, m_commandLine.toUnit->unit,
                        m_commandLine.precision.value_or(CommandLine::DefaultPrecision));
    return true;
}

int ConvertCommand::ConvertOne() const
{
    const std::string_view text = m_commandLine.value;
    const Reading<Level> level = ReadValue(text);
    if (level.value && !m_commandLine.toUnit) {
        return WriteEveryUnit(*level.value);
    }
    const std::optional<double> result = level.value ? Convert(*level.value) : std::nullopt;
    const std::optional<LevelUnit>& from = m_commandLine.fromUnit;
    if (!result) {
        std::puts(FailureText);
        std::string message = "« " + std::string(text) + " »";
        if (!level.value) {
            message += from ? " n'est pas un nombre"
                : level.error == LevelError::NotALevel
                ? " n'est pas un niveau (un nombre suivi de son unité)"
                : " : " + LevelErrorText(level.error);
        } else {
            if (from) {
                message += " " + UnitName(from->unit);
            }
            message += " ne se convertit pas en " + UnitName(*m_commandLine.toUnit);
            message +=
                " (une tension nulle n'a pas de niveau en dB ; une puissance négative, une "
                "déviation nulle ou un résultat trop grand ne se convertissent pas non plus)";
        }
        Complain(message);
        return ExitFailure;
    }
    std::puts(ValueToString(*result, m_commandLine.toUnit->unit,
                            m_commandLine.precision.value_or(CommandLine::DefaultPrecision))
                  .c_str());
    return ExitSuccess;
}

int ConvertCommand::WriteEveryUnit(const Level& level) const
{
    struct Row {
        std::string identifier;
        std::string value;
        std::string_view name;
    };
    std::vector<Row> rows;
    std::size_t valueWidth = 0;
    std::size_t identifierWidth = 0;
    bool allConverted = true;
    const int units = m_commandLine.everyUnit ? CatalogueSize : UnitCount;
    for (int unit = 0; unit < units; ++unit) {
        // A unit that cannot do without what follows its "@" shows as its example has it.
        const QualifiedUnit qualified = UnitCatalogue[unit].parameter == UnitParameter::FullScale
            ? ReadLevel(UnitCatalogue[unit].example)->unit
            : QualifiedUnit{unit};
        const std::optional<double> result = TryConvertValue(level.value, level.unit, qualified);
        const std::optional<int>& precision = m_commandLine.precision;
        rows.push_back({UnitName(qualified),
                        result ? ValueToString(*result, unit,
                                               precision.value_or(CommandLine::DefaultPrecision),
                                               precision ? 0 : CommandLine::TableDigits)
                               : FailureText,
                        UnitCatalogue[unit].longName});
        valueWidth = std::max(valueWidth, rows.back().value.size());
        identifierWidth = std::max(identifierWidth, rows.back().identifier.size());
        allConverted = allConverted && result;
    }
    for (const Row& row : rows) {
        const std::string name(row.name);
        std::printf("%-*s  %*s  %s\n", int(identifierWidth), row.identifier.c_str(),
                    int(valueWidth), row.value.c_str(), name.c_str());
    }
    return allConverted ? ExitSuccess : ExitFailure;
}

int ConvertCommand::ConvertLines(int input, int output) const
{
    InputLines lines(input);
    OutputBlock out(output);
    bool allConverted = true;
    bool firstLine = true;
    const auto convertLine = [&](std::optional<std::string_view> line) {
        if (firstLine && line && line->starts_with(ByteOrderMark)) {
            line->remove_prefix(ByteOrderMark.size());
        }
        firstLine = false;
        char* end = out.Reserve();
        allConverted = WriteConverted(end, line) && allConverted;
        out.Commit(end);
    };
    // Answers go out before each wait for input, so a program feeding the lines one by one
    // gets each answer at once.
    while (out.Flush() && lines.ReadBlock(convertLine)) {}
    if (lines.Failed()) {
        Complain("impossible de lire l'entrée standard");
    }
    if (!out.Flush()) {
        Complain("impossible d'écrire la sortie");
        return ExitFailure;
    }
    return allConverted && !lines.Failed() ? ExitSuccess : ExitFailure;
}

int ConvertCommand::ListUnits() const
{
    std::size_t identifierWidth = 0;
    std::size_t exampleWidth = 0;
    std::vector<std::string> identifiers;
    for (const Unit& unit : UnitCatalogue) {
        std::string identifier(unit.identifier);
        if (unit.parameter == UnitParameter::FullScale) {
            identifier += "@NIVEAU";
        }
        if (!unit.alias.empty()) {
            identifier += " (" + std::string(unit.alias) + ")";
        }
        identifierWidth = std::max(identifierWidth, Utf8Width(identifier));
        exampleWidth = std::max(exampleWidth, Utf8Width(unit.example));
        identifiers.push_back(std::move(identifier));
    }
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        const Unit& entry = UnitCatalogue[unit];
        const std::string index = unit < UnitCount ? std::to_string(unit) : "-";
        const std::string example(entry.example);
        const std::string name(entry.longName);
        std::printf("%2s  %s  %s  %s\n", index.c_str(),
                    Padded(identifiers[unit], identifierWidth).c_str(),
                    Padded(example, exampleWidth).c_str(), name.c_str());
    }
    std::printf("Une impédance en ohms suit @ après %s : -73 dBm@75, 10 W@8.\n",
                ImpedanceSymbols().c_str());
    return ExitSuccess;
}

} // namespace tarvane

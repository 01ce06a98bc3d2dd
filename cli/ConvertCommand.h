#pragma once

#include "CommandLine.h"
#include "Conversion.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvane {

// Exit statuses of tarvane-convert.
enum ExitStatus : int {
    ExitSuccess = 0,    // every conversion succeeded
    ExitFailure = 1,    // a conversion failed, or the output could not be written
    ExitUsageError = 2, // the arguments make no command line
};

// Runs what a command line asks for, on the engine alone: one conversion, one value in
// every unit, a stream of conversions, or the unit list. Results are written as the window
// shows them, with "." as the separator, and "-.--" for a conversion that fails.
class ConvertCommand {
public:
    explicit ConvertCommand(const CommandLine& commandLine);

    // Reads lines from `input` and writes results to `output` (file descriptors);
    // messages go to standard error. Returns the exit status.
    int Run(int input, int output) const;

private:
    // Everything but the stream: an answer written to standard output.
    int WriteAnswer() const;
    int ConvertOne() const;
    // The level in every unit of the window (or of the catalogue), one per line: identifier,
    // value, name.
    int WriteEveryUnit(const Level& level) const;
    int ConvertLines(int input, int output) const;
    int ListUnits() const;
    // The level a value's text gives: a number in the unit converted from, or a level with
    // its own unit; or why the text gives none.
    Reading<Level> ReadValue(std::string_view text) const;
    // The converted level, or nothing when the conversion fails.
    std::optional<double> Convert(const Level& level) const;
    // Writes the result of one line at `out` and moves `out` past it; false on failure,
    // as for a line too long to be held (nothing).
    bool WriteConverted(char*& out, std::optional<std::string_view> line) const;

    CommandLine m_commandLine;
    // Between the units converted from and to, when both are given; else from the units of the
    // levels read, the last few of them, which lines of levels mostly repeat.
    std::optional<Conversion> m_conversion;
    mutable std::vector<std::pair<QualifiedUnit, std::optional<Conversion>>> m_levelConversions;
    mutable std::size_t m_oldestLevelConversion = 0;
};

} // namespace tarvane

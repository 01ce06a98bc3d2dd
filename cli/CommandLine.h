#pragma once

#include "LevelText.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace tarvane {

// What one run of tarvane-convert is asked to do, read from its arguments.
struct CommandLine {
    enum class Action { ConvertOne, ConvertLines, ListUnits, ShowHelp, ShowVersion };

    // The window's value boxes start with 4 decimals and their spinners go up to 10.
    static constexpr int DefaultPrecision = 4;
    static constexpr int MaxPrecision = 10;

    Action action = Action::ConvertLines;
    // The value of ConvertOne, as given: a number in `fromUnit`, or a level with its unit.
    std::string_view value;
    // Nothing: every value carries its own unit.
    std::optional<LevelUnit> fromUnit;
    // Nothing: the value in every unit, one per line (ConvertOne only).
    std::optional<int> toUnit;
    int precision = DefaultPrecision;
};

// Arguments that do not make a command line, and why (French, for the user).
struct UsageError {
    std::string message;
};

// Reads the arguments that follow the program's name. An argument that reads as a number
// or a level, such as "-10" or "-73dBm", is a value even where it begins with "-".
std::variant<CommandLine, UsageError> ParseCommandLine(std::span<const std::string_view> arguments);

// The forms of the command, in French, ending with a line break.
std::string_view Synopsis();
// The whole usage: the forms, what they do, the units and the exit statuses.
std::string UsageText();

} // namespace tarvane

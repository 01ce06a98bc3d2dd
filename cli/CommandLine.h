#pragma once

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
    std::string_view value; // the value of ConvertOne, as given
    int fromUnit = 0;
    int toUnit = 0;
    int precision = DefaultPrecision;
};

// Arguments that do not make a command line, and why (French, for the user).
struct UsageError {
    std::string message;
};

// Reads the arguments that follow the program's name. An argument that reads as a
// number, such as "-10", is a value even where it begins with "-".
std::variant<CommandLine, UsageError> ParseCommandLine(std::span<const std::string_view> arguments);

// The forms of the command, in French, ending with a line break.
std::string_view Synopsis();
// The whole usage: the forms, what they do, the units and the exit statuses.
std::string UsageText();

} // namespace tarvane

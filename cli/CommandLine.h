#pragma once

#include "LevelText.h"
#include "NumberForms.h"

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
    static constexpr int MaxPrecision = MaxShownDecimals;
    // Without a precision, the table of every unit shows at least this many significant digits.
    static constexpr int TableDigits = 5;

    Action action = Action::ConvertLines;
    // The value of ConvertOne, as given: a number in `fromUnit`, or a level with its unit.
    std::string_view value;
    // Nothing: every value carries its own unit.
    std::optional<LevelUnit> fromUnit;
    // Nothing: the value in every unit, one per line (ConvertOne only).
    std::optional<QualifiedUnit> toUnit;
    // That table holds every unit of the catalogue, not only the window's.
    bool everyUnit = false;
    // Nothing: DefaultPrecision, and TableDigits in the table.
    std::optional<int> precision;
};

// Arguments that do not make a command line, and why (French, for the user).
struct UsageError {
    std::string message;
};

// Reads the arguments that follow the program's name. An argument that reads as a number
// or a level, such as "-10" or "-73dBm", is a value even where it begins with "-".
std::variant<CommandLine, UsageError> ParseCommandLine(std::span<const std::string_view> arguments);

// Why a text is no level, in French, for the user.
std::string LevelErrorText(LevelError error);

// The symbols that "@" and an impedance may follow ("dBm, W, dBW").
std::string ImpedanceSymbols();

// The forms of the command, in French, ending with a line break.
std::string_view Synopsis();
// The whole usage: the forms, what they do, the units and the exit statuses.
std::string UsageText();

} // namespace tarvane

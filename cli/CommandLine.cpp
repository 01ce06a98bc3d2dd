#include "CommandLine.h"

#include "NumberForms.h"

#include <charconv>
#include <optional>
#include <vector>

namespace tarvane {

namespace {

std::string Quoted(std::string_view text)
{
    return "« " + std::string(text) + " »";
}

// Every identifier with its alias, for the usage and the unknown-unit message.
std::string UnitList()
{
    std::string list;
    for (int unit = 0; unit < UnitCount; ++unit) {
        const Unit& entry = UnitCatalogue[unit];
        list += unit == 0 ? "" : ", ";
        list += entry.identifier;
        if (!entry.alias.empty()) {
            list += " (" + std::string(entry.alias) + ")";
        }
    }
    return list + ", ou leur numéro de 0 à " + std::to_string(UnitCount - 1);
}

// A unit given by its number in the window's lists.
std::optional<int> UnitIndex(std::string_view argument)
{
    if (argument.empty() || argument.front() < '0' || argument.front() > '9') {
        return std::nullopt; // from_chars would take a sign
    }
    int index = -1;
    const char* const end = argument.data() + argument.size();
    const auto [stop, error] = std::from_chars(argument.data(), end, index);
    if (error != std::errc() || stop != end || index < 0 || index >= UnitCount) {
        return std::nullopt;
    }
    return index;
}

// The unit converted from: any unit a level may carry, or its number.
std::optional<LevelUnit> FromUnit(std::string_view argument)
{
    if (const std::optional<int> index = UnitIndex(argument)) {
        return LevelUnit{*index, 0};
    }
    return ReadLevelUnit(argument);
}

// The unit converted to: a unit without an SI prefix, or its number.
std::optional<int> ToUnit(std::string_view argument)
{
    if (const std::optional<int> index = UnitIndex(argument)) {
        return index;
    }
    return FindUnit(argument);
}

bool IsOption(std::string_view argument)
{
    return argument.size() > 1 && argument.front() == '-' && !ReadNumber(argument)
        && !ReadLevel(argument);
}

UsageError UnknownUnit(std::string_view argument)
{
    return UsageError{"unité inconnue : " + Quoted(argument) + " ; unités : " + UnitList()};
}

// What each operand stands for; nothing for what is not given.
struct OperandRoles {
    std::optional<std::string_view> value; // none: values are read from the standard input
    std::optional<std::string_view> from;  // none: each value carries its unit
    std::optional<std::string_view> to;    // none: the value in every unit
};

std::variant<OperandRoles, UsageError> RolesOf(const std::vector<std::string_view>& operands)
{
    switch (operands.size()) {
    case 3:
        return OperandRoles{operands[0], operands[1], operands[2]};
    case 2: {
        const std::string_view first = operands[0];
        // Two unit numbers read the standard input, as they always did.
        if ((FromUnit(first) && !ReadNumber(first))
            || (UnitIndex(first) && UnitIndex(operands[1]))) {
            return OperandRoles{std::nullopt, first, operands[1]};
        }
        if (ReadLevel(first)) {
            return OperandRoles{first, std::nullopt, operands[1]};
        }
        return OperandRoles{first, operands[1], std::nullopt};
    }
    case 1:
        if (ToUnit(operands[0])) {
            return OperandRoles{std::nullopt, std::nullopt, operands[0]};
        }
        if (ReadLevel(operands[0])) {
            return OperandRoles{operands[0], std::nullopt, std::nullopt};
        }
        if (ReadNumber(operands[0])) {
            return UsageError{"il manque l'unité de " + Quoted(operands[0])};
        }
        return UnknownUnit(operands[0]);
    default:
        return UsageError{
            "il faut une valeur et ses unités, ou des unités pour lire l'entrée standard"};
    }
}

std::optional<int> ParsePrecision(std::string_view text)
{
    int precision = -1;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, precision);
    if (text.empty() || text.front() == '-' || error != std::errc() || stop != end
        || precision > CommandLine::MaxPrecision) {
        return std::nullopt;
    }
    return precision;
}

// The options, in any order among the operands.
struct Options {
    bool listUnits = false;
    bool help = false;
    bool version = false;
    std::optional<std::string_view> precision;
};

std::variant<CommandLine, UsageError> ParseOperands(const Options& options,
                                                    const std::vector<std::string_view>& operands)
{
    CommandLine command;
    if (options.help || options.version) {
        command.action =
            options.help ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion;
        return command;
    }
    if (options.listUnits) {
        if (!operands.empty()) {
            return UsageError{"--units s'emploie seul"};
        }
        command.action = CommandLine::Action::ListUnits;
        return command;
    }
    const std::variant<OperandRoles, UsageError> roles = RolesOf(operands);
    if (const UsageError* error = std::get_if<UsageError>(&roles)) {
        return *error;
    }
    const auto& [value, from, to] = std::get<OperandRoles>(roles);
    command.action = value ? CommandLine::Action::ConvertOne : CommandLine::Action::ConvertLines;
    command.value = value.value_or(std::string_view());
    if (from && !(command.fromUnit = FromUnit(*from))) {
        return UnknownUnit(*from);
    }
    if (to && !(command.toUnit = ToUnit(*to))) {
        return UnknownUnit(*to);
    }
    if (options.precision) {
        const std::optional<int> precision = ParsePrecision(*options.precision);
        if (!precision) {
            return UsageError{"nombre de décimales incorrect : " + Quoted(*options.precision)
                              + " (de 0 à 10)"};
        }
        command.precision = *precision;
    }
    return command;
}

} // namespace

std::variant<CommandLine, UsageError> ParseCommandLine(std::span<const std::string_view> arguments)
{
    Options options;
    std::vector<std::string_view> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || !IsOption(argument)) {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--units") {
            options.listUnits = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "-p" || argument == "--precision") {
            if (++i == arguments.size()) {
                return UsageError{Quoted(argument) + " attend un nombre de décimales"};
            }
            options.precision = arguments[i];
        } else if (argument.starts_with("--precision=")) {
            options.precision = argument.substr(argument.find('=') + 1);
        } else if (argument.starts_with("-p")) {
            options.precision = argument.substr(2);
        } else {
            return UsageError{"option inconnue : " + Quoted(argument)};
        }
    }
    return ParseOperands(options, operands);
}

std::string_view Synopsis()
{
    return "Usage : tarvane-convert VALEUR DE [VERS] [-p N]\n"
           "        tarvane-convert NIVEAU [VERS] [-p N]\n"
           "        tarvane-convert [DE] VERS [-p N] < valeurs\n"
           "        tarvane-convert --units\n";
}

std::string UsageText()
{
    return std::string(Synopsis())
        + "Convertit un niveau de signal de l'unité DE en l'unité VERS et l'écrit comme la "
          "fenêtre\n"
          "de Tarvane le montre avec N décimales (4 par défaut, de 0 à 10 ; 0 : forme générale),\n"
          "avec le point pour séparateur. Un NIVEAU porte son unité (« 316µV », « -73 dBm »,\n"
          "« 0,775 Veff ») : DE est alors omis. Sans VERS, la valeur est écrite dans chaque "
          "unité,\n"
          "une par ligne. Sans VALEUR, convertit une valeur par ligne de l'entrée standard ; sans\n"
          "DE, chaque ligne porte son unité. Une ligne qui ne se convertit pas donne « -.-- ».\n"
          "Unités : "
        + UnitList()
        + ".\n"
          "Symboles : V, dBm, W, kHz, dBuV (dBµV), avec la première impédance ou référence de\n"
          "leur unité (50 ohms, 75 kHz) ; préfixes n, µ (u), m, k, M devant les volts et les\n"
          "watts de DE ou d'un NIVEAU (« 2 mW », « 1,5 kW50 »).\n"
          "Code de sortie : 0 si tout est converti, 1 si une conversion échoue, 2 pour une erreur\n"
          "d'emploi.\n";
}

} // namespace tarvane

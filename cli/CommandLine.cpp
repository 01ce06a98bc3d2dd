#include "CommandLine.h"

#include "NumberForms.h"
#include "UnitIdentifiers.h"

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
        list += unit == 0 ? "" : ", ";
        list += UnitIdentifiers[unit];
        for (const UnitAlias& alias : UnitAliases) {
            if (alias.unit == unit) {
                list += " (" + std::string(alias.name) + ")";
            }
        }
    }
    return list + ", ou leur numéro de 0 à 11";
}

bool IsOption(std::string_view argument)
{
    return argument.size() > 1 && argument.front() == '-' && !ReadNumber(argument);
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
        command.action = options.help ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion;
        return command;
    }
    if (options.listUnits) {
        if (!operands.empty()) {
            return UsageError{"--units s'emploie seul"};
        }
        command.action = CommandLine::Action::ListUnits;
        return command;
    }
    if (operands.size() != 2 && operands.size() != 3) {
        return UsageError{"il faut une valeur et deux unités, ou deux unités pour lire l'entrée standard"};
    }
    command.action = operands.size() == 3 ? CommandLine::Action::ConvertOne : CommandLine::Action::ConvertLines;
    const std::size_t firstUnit = operands.size() - 2;
    command.value = operands.size() == 3 ? operands[0] : std::string_view();
    const std::optional<int> fromUnit = FindUnit(operands[firstUnit]);
    const std::optional<int> toUnit = FindUnit(operands[firstUnit + 1]);
    if (!fromUnit || !toUnit) {
        return UsageError{"unité inconnue : " + Quoted(operands[fromUnit ? firstUnit + 1 : firstUnit])
                          + " ; unités : " + UnitList()};
    }
    command.fromUnit = *fromUnit;
    command.toUnit = *toUnit;
    if (options.precision) {
        const std::optional<int> precision = ParsePrecision(*options.precision);
        if (!precision) {
            return UsageError{"nombre de décimales incorrect : " + Quoted(*options.precision) + " (de 0 à 10)"};
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
    return "Usage : tarvane-convert VALEUR DE VERS [-p N]\n"
           "        tarvane-convert DE VERS [-p N] < valeurs\n"
           "        tarvane-convert --units\n";
}

std::string UsageText()
{
    return std::string(Synopsis()) +
           "Convertit un niveau de signal de l'unité DE en l'unité VERS et l'écrit comme la fenêtre\n"
           "de Tarvane le montre avec N décimales (4 par défaut, de 0 à 10 ; 0 : forme générale),\n"
           "avec le point pour séparateur. Sans VALEUR, convertit une valeur par ligne de l'entrée\n"
           "standard ; une ligne qui ne se convertit pas donne « -.-- ».\n"
           "Unités : " + UnitList() + ".\n"
           "Code de sortie : 0 si tout est converti, 1 si une conversion échoue, 2 pour une erreur\n"
           "d'emploi.\n";
}

} // namespace tarvane

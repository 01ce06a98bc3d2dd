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
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        const Unit& entry = UnitCatalogue[unit];
        list += unit == 0 ? "" : ", ";
        list += entry.identifier;
        if (entry.parameter == UnitParameter::FullScale) {
            list += "@NIVEAU";
        }
        if (!entry.alias.empty()) {
            list += " (" + std::string(entry.alias) + ")";
        }
    }
    return list + ", ou le numéro des " + std::to_string(UnitCount) + " premières de 0 à "
        + std::to_string(UnitCount - 1);
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
Reading<LevelUnit> FromUnit(std::string_view argument)
{
    if (const std::optional<int> index = UnitIndex(argument)) {
        return {LevelUnit{QualifiedUnit{*index}}};
    }
    return ReadUnitText(argument);
}

// The unit converted to: a unit without an SI prefix, or its number.
Reading<QualifiedUnit> ToUnit(std::string_view argument)
{
    const Reading<LevelUnit> unit = FromUnit(argument);
    if (!unit.value || unit.value->powerOfTen != 0) {
        return {std::nullopt, unit.error};
    }
    return {unit.value->unit};
}

// Whether an operand is a value with its unit: a level, or a text that would be one but for
// the reason it is given.
bool IsLevelOperand(std::string_view operand)
{
    const Reading<Level> level = ReadLevelText(operand);
    return level.value || level.error != LevelError::NotALevel;
}

bool IsOption(std::string_view argument)
{
    return argument.size() > 1 && argument.front() == '-' && !ReadNumber(argument)
        && !IsLevelOperand(argument);
}

// A unit argument that names no unit: the units, or why it is not one.
template <typename Value>
UsageError UnitRefused(std::string_view argument, const Reading<Value>& reading)
{
    if (reading.error != LevelError::NotALevel) {
        return UsageError{Quoted(argument) + " : " + LevelErrorText(reading.error)};
    }
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
        const Reading<LevelUnit> from = FromUnit(first);
        // Two unit numbers read the standard input, as they always did.
        if (((from.value || from.error != LevelError::NotALevel) && !ReadNumber(first))
            || (UnitIndex(first) && UnitIndex(operands[1]))) {
            return OperandRoles{std::nullopt, first, operands[1]};
        }
        if (IsLevelOperand(first)) {
            return OperandRoles{first, std::nullopt, operands[1]};
        }
        return OperandRoles{first, operands[1], std::nullopt};
    }
    case 1: {
        const Reading<QualifiedUnit> to = ToUnit(operands[0]);
        if (to.value) {
            return OperandRoles{std::nullopt, std::nullopt, operands[0]};
        }
        if (IsLevelOperand(operands[0])) {
            return OperandRoles{operands[0], std::nullopt, std::nullopt};
        }
        if (ReadNumber(operands[0])) {
            return UsageError{"il manque l'unité de " + Quoted(operands[0])};
        }
        return UnitRefused(operands[0], to);
    }
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
    bool everyUnit = false;
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
    if (from) {
        const Reading<LevelUnit> unit = FromUnit(*from);
        if (!(command.fromUnit = unit.value)) {
            return UnitRefused(*from, unit);
        }
    }
    if (to) {
        const Reading<QualifiedUnit> unit = ToUnit(*to);
        if (!(command.toUnit = unit.value)) {
            return UnitRefused(*to, unit);
        }
    }
    if (options.everyUnit && (to || !value)) {
        return UsageError{"--all s'emploie avec une valeur seule, sans unité d'arrivée"};
    }
    command.everyUnit = options.everyUnit;
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
        } else if (argument == "--all" || argument == "-a") {
            options.everyUnit = true;
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

std::string ImpedanceSymbols()
{
    std::string list;
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        const Unit& entry = UnitCatalogue[unit];
        if (entry.parameter == UnitParameter::Impedance
            && list.find(" " + std::string(entry.symbols[0]) + ",") == std::string::npos) {
            list += " " + std::string(entry.symbols[0]) + ",";
        }
    }
    return list.substr(1, list.size() - 2);
}

std::string LevelErrorText(LevelError error)
{
    switch (error) {
    case LevelError::NotALevel:
        break;
    case LevelError::FullScaleMissing:
        return "un niveau en dBFS ne se convertit qu'avec le niveau analogique de sa pleine "
               "échelle, écrit après @ (dBFS@18dBu, dBFS@24dBu)";
    case LevelError::FullScaleRefused:
        return "après dBFS@ vient le niveau analogique de la pleine échelle, un nombre suivi de "
               "son unité, d'une tension positive (dBFS@18dBu, dBFS@2dBV)";
    case LevelError::ImpedanceRefused:
        return "après @, l'impédance est un nombre d'ohms positif (dBm@75, W@8, "
               "« 10 W @ 8 ohms »)";
    case LevelError::ParameterRefused:
        return "@ ne suit que " + ImpedanceSymbols()
            + " (une impédance en ohms), dBFS (le niveau de pleine échelle) et S (@VHF)";
    case LevelError::GainAlone:
        return "un gain en dB n'est pas un niveau : il s'ajoute à un niveau écrit avant lui "
               "(« -73 dBm + 20 dB »)";
    case LevelError::Product:
        return "un niveau ne se multiplie ni ne se divise : il prend + ou - un gain en dB, ou + "
               "un autre niveau";
    case LevelError::SumOfKinds:
        return "deux niveaux ne s'additionnent que tous deux en dB ou tous deux en watts (en "
               "puissance, comme deux sources indépendantes) ; la somme de deux tensions ou de "
               "deux déviations dépend de leur phase";
    case LevelError::LevelSubtracted:
        return "un niveau ne se retranche pas d'un autre : seul un gain en dB se retranche "
               "(« 12 dBu - 6 dB »)";
    case LevelError::OutOfRange:
        return "le calcul n'a pas de résultat (une puissance négative, ou un nombre trop grand)";
    case LevelError::SMeterReading:
        return "un S-mètre lit de S1 à S9, suivi au besoin de +N ou -N dB, N un nombre sans "
               "signe (S7, S9+20, S1-6)";
    }
    return "ce n'est pas un niveau (un nombre suivi de son unité)";
}

std::string_view Synopsis()
{
    return "Usage : tarvane-convert VALEUR DE [VERS] [-p N] [--all]\n"
           "        tarvane-convert NIVEAU [VERS] [-p N] [--all]\n"
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
          "« 0,775 Veff », « S9+20 ») : DE est alors omis. Sans VERS, la valeur est écrite dans\n"
          "chacune des douze unités de la fenêtre (dans toutes avec --all), une par ligne, avec\n"
          "au moins 5 chiffres significatifs sans -p. Sans VALEUR, convertit une valeur par ligne\n"
          "de l'entrée standard ; sans DE, chaque ligne porte son unité. Une ligne qui ne se\n"
          "convertit pas donne « -.-- ». Un NIVEAU peut ajouter ou retrancher des gains en dB\n"
          "(« -73 dBm + 20 dB », « 12 dBu - 6 dB ») et ajouter en puissance d'autres niveaux\n"
          "(« -73 dBm + -73 dBm »).\n"
          "Unités : "
        + UnitList()
        + ".\n"
          "Symboles : V, dBm, W, kHz, dBuV (dBµV), avec la première impédance ou référence de\n"
          "leur unité (50 ohms, 75 kHz) ; préfixes n, µ (u), m, k, M devant les volts et les\n"
          "watts de DE ou d'un NIVEAU (« 2 mW », « 1,5 kW50 »). Après "
        + ImpedanceSymbols()
        + ",\n"
          "@R donne une autre impédance en ohms (« dBm@75 », « W@8 ») ; dBFS demande le niveau\n"
          "analogique de sa pleine échelle (« dBFS@18dBu »). --units donne un exemple de chaque\n"
          "unité.\n"
          "Code de sortie : 0 si tout est converti, 1 si une conversion échoue, 2 pour une erreur\n"
          "d'emploi.\n";
}

} // namespace tarvane

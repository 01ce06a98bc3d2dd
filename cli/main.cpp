// tarvane-convert: Tarvane's conversions from the shell, on the engine alone, so that it
// starts in about a millisecond and streams millions of values.
#include "CommandLine.h"
#include "ConvertCommand.h"

#include <unistd.h>

#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

int main(int argc, char* argv[])
{
    using namespace tarvane;
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::variant<CommandLine, UsageError> parsed = ParseCommandLine(arguments);
    if (const UsageError* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "tarvane-convert : %s\n%sAide : tarvane-convert --help\n",
                     error->message.c_str(), Synopsis().data());
        return ExitUsageError;
    }
    return ConvertCommand(std::get<CommandLine>(parsed)).Run(STDIN_FILENO, STDOUT_FILENO);
}

#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "tests/probe/ProbeCommands.h"

namespace zov::probe {

namespace {

struct Command {
    std::string usage;
    CommandHandler handler;
};

// Function-local so that registrations from other units never run before the table exists.
std::map<std::string, Command, std::less<>>& Commands()
{
    static std::map<std::string, Command, std::less<>> commands;
    return commands;
}

int PrintUsage()
{
    std::fputs("usage: zovprobe <command> [arguments]\n", stderr);
    for (const auto& [name, command] : Commands())
        std::fprintf(stderr, "  %s %s\n", name.c_str(), command.usage.c_str());
    return 2;
}

}  // namespace

CommandRegistration::CommandRegistration(std::string_view name, std::string_view usage, CommandHandler handler)
{
    Commands().emplace(std::string(name), Command{std::string(usage), std::move(handler)});
}

}  // namespace zov::probe

int main(int argc, char** argv)
{
    using namespace zov::probe;
    if (argc < 2)
        return PrintUsage();
    const auto found = Commands().find(std::string_view(argv[1]));
    if (found == Commands().end())
        return PrintUsage();
    return found->second.handler(std::span<char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
}

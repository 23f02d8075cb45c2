#pragma once
// zovprobe: a small command-line driver over the IDE's headless libraries, so that scripts and
// end-to-end tests can exercise a reader, a writer or a model without a window. Each subsystem
// registers its commands from a unit of this folder named <subsystem>_commands.cpp.

#include <functional>
#include <span>
#include <string_view>

namespace zov::probe {

// Arguments after the command name; the return value is the process's exit status.
using CommandHandler = std::function<int(std::span<char* const> args)>;

struct CommandRegistration {
    CommandRegistration(std::string_view name, std::string_view usage, CommandHandler handler);
};

}  // namespace zov::probe

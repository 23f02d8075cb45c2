#pragma once

// The hand-over from `interpret` to the engine: Initialise, Analyse and Execute.

#include <string>

namespace zov {

struct GrammarFiles {
    std::string script = "zov.cgt";
    std::string function = "Function.cgt";
    std::string interface = "Interface.cgt";
};

// Runs one script from start to end on the calling thread (the interpret thread). Returns
// true when the script ran to its end. The process ends after it either way.
bool RunEnginePhases(const GrammarFiles& grammars, const std::string& interfacePath,
                     const std::string& scriptPath);

}  // namespace zov

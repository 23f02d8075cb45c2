#include "EnginePhases.h"

namespace zov {

// No phase is available yet: the run ends right after its announcement.
bool RunEnginePhases(const GrammarFiles& /*grammars*/, const std::string& /*interfacePath*/,
                     const std::string& /*scriptPath*/)
{
    return false;
}

}  // namespace zov

#pragma once

// Runs the real zovrun with pipes on its three standard streams.

#include "../support/ChildProcess.h"
#include "../support/FileText.h"

#include <string>
#include <vector>

namespace zov::test {

class EngineProcess : public ChildProcess {
public:
    explicit EngineProcess(const std::vector<std::string>& args,
                           const std::string& program = std::string(ZOV_BIN_DIR) + "/zovrun")
        : ChildProcess(program, args)
    {}

    // Standard input stays open: the engine has to end by itself (`exit`, the end of a run, a signal).
    ProcessResult Finish() { return ChildProcess::Finish(false); }
};

inline std::string ReadGolden(const std::string& name)
{
    return ReadFile(std::string(ZOV_SOURCE_DIR) + "/tests/engine/golden/" + name);
}

}  // namespace zov::test

// Runs a CLI program with its three standard streams on pipes, for byte-exact tests of the line
// protocol.
#pragma once

#include "../support/ChildProcess.h"

#include <string>
#include <vector>

namespace zovtest {

using CliResult = zov::test::ProcessResult;
using CliProcess = zov::test::ChildProcess;

// Starts program with args, sends input, closes standard input and collects everything.
inline CliResult RunCli(const std::string& program, const std::vector<std::string>& args, const std::string& input,
                        const std::string& workDir = "")
{
    CliProcess process(program, args, workDir);
    const bool delivered = process.SendAll(input);
    CliResult result = process.Finish();
    result.timedOut = result.timedOut || !delivered;
    return result;
}

inline std::string BinPath(const std::string& name)
{
    return std::string(ZOV_BIN_DIR) + "/" + name;
}

}  // namespace zovtest

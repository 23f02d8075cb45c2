#pragma once

#include <string>

namespace zov {

// Settings a CLI takes from its interface line: "path|sync|mode|stop|slb|sq".
struct CliSettings {
    std::string Terminator;
    unsigned SyncMode = 1;  // 0: the reply ends on standard output, else on standard error
    std::string ExitCommand;
    bool DropLineBreaks = true;
    bool StripQuotes = false;
};

}  // namespace zov

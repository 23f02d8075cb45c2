// The run log: one block per run of a project test, appended to Name_<n>_.log in the project folder.
#include "ide/project/model/ProjectModel.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zov::project {

namespace {

bool AppendAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

std::string ProjectModel::RunLogPath(int runNumber) const
{
    return Directory + "/" + Name + "_" + std::to_string(runNumber) + "_.log";
}

bool ProjectModel::AppendRunLog(std::string_view text, std::string_view title, int runNumber)
{
    // The log is user text: UTF-8 with CR LF line ends, whatever ends the trace brings.
    std::string block = "[";
    block += title;
    block += "]\r\n";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            block += '\r';
        }
        block += text[i];
    }
    const int fd = ::open(RunLogPath(runNumber).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;  // the run goes on without its log
    }
    const bool written = AppendAll(fd, block);
    return (::close(fd) == 0) && written;
}

}  // namespace zov::project

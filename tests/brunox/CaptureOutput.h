// Runs one command line through a command object in this process and collects what it wrote on
// standard output and standard error (the marker included), byte for byte.
#pragma once

#include "MainCmd.h"
#include "../support/FileText.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace brunox_test {

struct LineOutput {
    std::string out;
    std::string err;
};

class Redirect {
public:
    Redirect(int fd, const std::string& path) : m_fd(fd)
    {
        std::fflush(nullptr);
        m_saved = dup(fd);
        std::FILE* file = std::fopen(path.c_str(), "w+");
        dup2(fileno(file), fd);
        std::fclose(file);
    }
    ~Redirect()
    {
        std::fflush(nullptr);
        dup2(m_saved, m_fd);
        close(m_saved);
    }

private:
    int m_fd;
    int m_saved;
};

inline LineOutput RunLine(CMainCmd& cmd, const std::string& line)
{
    const std::string base = "/tmp/brunox_capture_" + std::to_string(getpid());
    {
        Redirect out(STDOUT_FILENO, base + ".out");
        Redirect err(STDERR_FILENO, base + ".err");
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        cmd.TraiteCmd(buffer.data());
    }
    LineOutput output{zov::test::ReadFile(base + ".out"), zov::test::ReadFile(base + ".err")};
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return output;
}

}  // namespace brunox_test

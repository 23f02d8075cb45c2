#pragma once

// What every test that starts processes checks at its end: no child left unreaped, no
// descriptor left open.

#include <gtest/gtest.h>

#include <cerrno>
#include <dirent.h>
#include <sys/wait.h>

namespace zov::test {

// Descriptors this process holds now (the one that lists them included).
inline int OpenDescriptorCount()
{
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir))
            ++count;
        ::closedir(dir);
    }
    return count;
}

// Every child this process started has been reaped: there is none left to wait for.
inline void ExpectNoChildLeft()
{
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

}  // namespace zov::test

#include "common/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zov {

namespace fs = std::filesystem;

std::optional<std::string> ReadWholeFile(const fs::path& path)
{
    // Plain reads: a stream would throw out of its iterator on a read error (a folder in the file's
    // place). Without blocking on a FIFO, and only a regular file counts as one that can be read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char block[65536];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        bytes.append(block, static_cast<size_t>(got));
    }
    ::close(fd);
    return bytes;
}

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view bytes)
{
    std::error_code ignored;
    return WriteFileAtomically(path, bytes, ignored);
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::error_code& error)
{
    error.clear();
    const auto fail = [&error](int code) {
        error = std::error_code(code, std::generic_category());
        return false;
    };
    fs::path target = path;
    if (fs::is_symlink(target, error)) {
        target = fs::weakly_canonical(target, error);
        if (error) {
            return false;
        }
    }
    error.clear();
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return fail(EISDIR);
    }

    // A short name of our own in the target's folder: rename() only replaces atomically within one
    // file system, and a target name near the length limit must still leave room for it.
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder / (".zov-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp");
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return fail(errno);
        }
    }
    if (fd < 0) {
        return fail(EEXIST);
    }
    int code = 0;
    const auto check = [&code](bool ok) {
        if (!ok && code == 0) {
            code = errno != 0 ? errno : EIO;
        }
        return ok;
    };
    bool ok = check(WriteAll(fd, bytes));
    if (ok && exists) {
        ok = check(::fchmod(fd, existing.st_mode & 07777) == 0);
    }
    ok = ok && check(::fsync(fd) == 0);
    ok = check(::close(fd) == 0) && ok;
    ok = ok && check(::rename(temporary.c_str(), target.c_str()) == 0);
    if (!ok) {
        ::unlink(temporary.c_str());
        return fail(code);
    }
    return true;
}

}  // namespace zov

#include "DovrelFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovrel {

namespace {

Reply Out(std::string_view text)
{
    return Reply{std::string(text), {}};
}
Reply Err(std::string_view text)
{
    return Reply{{}, std::string(text)};
}
Reply YesNo(bool ok)
{
    return Out(ok ? kYes : kNo);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Opens without blocking (a FIFO without a peer would hang the tool) and refuses folders,
// which the C library would happily open for reading.
int OpenPlain(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0)
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    return fd;
}

bool IsDirectory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadOnly(const struct stat& st)
{
    return (st.st_mode & S_IWUSR) == 0;
}

// A name that a reply cannot carry: '|' separates the names, a line end would end the reply.
bool Representable(std::string_view name)
{
    return name.find_first_of("|\r\n") == std::string_view::npos;
}

// Case-insensitive order, bytes breaking ties, so that a listing reads the same on every
// file system and as folders that ignore case list their entries.
bool NameBefore(const std::string& a, const std::string& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ua = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto ub = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ua != ub)
            return ua < ub;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

enum class Listing { Files, Directories };

Reply ListFolder(const std::string& path, Listing listing, std::string_view mask)
{
    if (::chdir(path.c_str()) != 0)
        return Out("\n");
    DIR* folder = ::opendir(".");
    if (folder == nullptr)
        return Out("\n");
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.' || !Representable(name))
            continue;  // hidden, "." and ".." too
        struct stat st {};
        if (::fstatat(::dirfd(folder), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (ReadOnly(st))
            continue;
        const bool keep =
            listing == Listing::Files ? S_ISREG(st.st_mode) && MatchMask(mask, name) : S_ISDIR(st.st_mode);
        if (keep)
            names.push_back(name);
    }
    ::closedir(folder);
    std::sort(names.begin(), names.end(), NameBefore);
    std::string joined;
    for (const std::string& name : names) {
        if (!joined.empty())
            joined += '|';
        joined += name;
    }
    joined += '\n';
    return Out(joined);
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CopyContents(int in, int out)
{
    std::vector<char> block(1 << 16);
    for (;;) {
        const ssize_t got = ::read(in, block.data(), block.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (!WriteAll(out, block.data(), static_cast<std::size_t>(got)))
            return false;
    }
}

// Copies the regular file `source` with its permissions to a new temporary file in the folder
// of `destination` and returns that file's name, or "" on failure (nothing left behind). When
// `existing` describes the destination and it is the source itself, nothing is copied.
std::string CopyBeside(const std::string& source, const std::string& destination, const struct stat* existing)
{
    const int in = OpenPlain(source, O_RDONLY);
    if (in < 0)
        return {};
    struct stat sourceStat {};
    if (::fstat(in, &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode) ||
        (existing != nullptr && existing->st_dev == sourceStat.st_dev && existing->st_ino == sourceStat.st_ino)) {
        ::close(in);
        return {};
    }
    const std::size_t slash = destination.rfind('/');
    std::string temporary = slash == std::string::npos ? std::string() : destination.substr(0, slash + 1);
    temporary += ".dovrel-copy-XXXXXX";
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        ::close(in);
        return {};
    }
    bool ok = CopyContents(in, out);
    ok = ::fchmod(out, sourceStat.st_mode & 07777) == 0 && ok;
    ok = ::close(out) == 0 && ok;
    ::close(in);
    if (!ok) {
        ::unlink(temporary.c_str());
        return {};
    }
    return temporary;
}

}  // namespace

std::string Unescape(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            const char escaped = next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : '\0';
            if (escaped != '\0') {
                result += escaped;
                ++i;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

std::string BytesToHex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

std::string HexToBytes(std::string_view hex)
{
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(HexValue(hex[i]) * 16 + HexValue(hex[i + 1]));
    }
    return bytes;
}

bool IsHexText(std::string_view hex)
{
    return std::all_of(hex.begin(), hex.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

bool MatchMask(std::string_view mask, std::string_view name)
{
    if (mask == "*.*")
        return true;
    // Greedy match with one backtrack point: the last '*' seen.
    std::size_t m = 0, n = 0, starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || UpperAscii(mask[m]) == UpperAscii(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

CDovrelFiles::CDovrelFiles() : m_DataBuffer(kDataBufferSize) {}

CDovrelFiles::~CDovrelFiles() = default;

Reply CDovrelFiles::Open(const std::string& path, OpenMode mode)
{
    m_File.reset();
    const bool writing = mode == OpenMode::WriteText || mode == OpenMode::WriteBinary;
    const int fd = OpenPlain(path, writing ? (O_WRONLY | O_CREAT | O_TRUNC) : O_RDONLY);
    if (fd < 0)
        return YesNo(false);
    std::FILE* file = ::fdopen(fd, writing ? "w" : "r");
    if (file == nullptr) {
        ::close(fd);
        return YesNo(false);
    }
    m_File.reset(file);
    m_TextMode = mode == OpenMode::ReadText || mode == OpenMode::WriteText;
    return YesNo(true);
}

Reply CDovrelFiles::Close()
{
    m_File.reset();
    return {};
}

Reply CDovrelFiles::Eof()
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    return YesNo(std::feof(m_File.get()) != 0);
}

Reply CDovrelFiles::FileSize()
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    // The size from the descriptor leaves the position and the end-of-file indicator alone.
    std::fflush(m_File.get());
    struct stat st {};
    const long long size = ::fstat(::fileno(m_File.get()), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
    return Out(std::to_string(size));
}

// Reads like the C library's text mode where it was made: CR LF comes back as LF, a lone
// CR stays. Stops after LF when reading a line, as fgets does.
std::size_t CDovrelFiles::ReadTranslated(char* buffer, std::size_t size, bool stopAfterLineEnd)
{
    std::FILE* file = m_File.get();
    if (!m_TextMode && !stopAfterLineEnd)
        return std::fread(buffer, 1, size, file);
    std::size_t count = 0;
    while (count < size) {
        int c = std::getc(file);
        if (c == EOF)
            break;
        if (m_TextMode && c == '\r') {
            const int next = std::getc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        buffer[count++] = static_cast<char>(c);
        if (stopAfterLineEnd && c == '\n')
            break;
    }
    return count;
}

Reply CDovrelFiles::ReadLine()
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    // One line per call up to the buffer's size less the terminator; a longer line comes
    // back in pieces over the following calls.
    std::clearerr(m_File.get());
    const std::size_t count = ReadTranslated(m_DataBuffer.data(), kDataBufferSize - 1, true);
    // A file that cannot be read (one made by create) must not look like one at its end.
    if (count == 0 && std::ferror(m_File.get()) != 0) {
        std::clearerr(m_File.get());
        return Err(kErrReadFailed);
    }
    return Out(std::string_view(m_DataBuffer.data(), count));
}

Reply CDovrelFiles::Read(std::uint32_t size)
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    if (size > kDataBufferSize)
        return Err(kErrBufferTooSmall);
    std::clearerr(m_File.get());
    const std::size_t count = ReadTranslated(m_DataBuffer.data(), size, false);
    if (count == 0 && std::ferror(m_File.get()) != 0) {
        std::clearerr(m_File.get());
        return Err(kErrReadFailed);
    }
    if (count == 0)
        return Out(kNo);
    return Out(BytesToHex(std::string_view(m_DataBuffer.data(), count)) + "\n");
}

// Text mode writes LF as CR LF. Every write is flushed at once, so that other programs see
// the data while the file stays open and a terminated tool loses nothing.
bool CDovrelFiles::WriteTranslated(std::string_view bytes)
{
    std::FILE* file = m_File.get();
    bool ok = true;
    if (m_TextMode) {
        std::size_t start = 0;
        for (std::size_t lf = bytes.find('\n'); lf != std::string_view::npos; lf = bytes.find('\n', start)) {
            ok = ok && std::fwrite(bytes.data() + start, 1, lf - start, file) == lf - start;
            ok = ok && std::fwrite("\r\n", 1, 2, file) == 2;
            start = lf + 1;
        }
        ok = ok && std::fwrite(bytes.data() + start, 1, bytes.size() - start, file) == bytes.size() - start;
    } else {
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    ok = std::fflush(file) == 0 && ok;
    // The stream stays usable for what follows (a read, another write).
    if (!ok)
        std::clearerr(file);
    return ok;
}

Reply CDovrelFiles::WriteLine(std::string_view buffer)
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    if (buffer.empty())
        return Err(kErrEmptyData);
    if (!WriteTranslated(Unescape(buffer) + "\n"))
        return Err(kErrWriteFailed);
    return {};
}

// Only hex digits are data: anything else would be written as a zero half-byte, so the whole
// write is refused and the file keeps what it had.
Reply CDovrelFiles::Write(std::string_view hexBuffer)
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    if (hexBuffer.empty())
        return Err(kErrEmptyData);
    if (!IsHexText(hexBuffer))
        return Err(kErrWrongParameters);
    if (!WriteTranslated(HexToBytes(hexBuffer)))
        return Err(kErrWriteFailed);
    return {};
}

Reply CDovrelFiles::SeekBegin()
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    if (::fseeko(m_File.get(), 0, SEEK_SET) != 0)
        return Err(kErrSeekFailed);
    return {};
}

Reply CDovrelFiles::SeekEnd()
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    if (::fseeko(m_File.get(), 0, SEEK_END) != 0)
        return Err(kErrSeekFailed);
    return {};
}

// A position before the start is refused and the file stays where it was, so the next read
// or write cannot happen somewhere the script did not ask for unnoticed. Past the end is a
// position like any other: a write there fills the gap with zeros.
Reply CDovrelFiles::Seek(std::int32_t position)
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    if (position < 0)
        return Err(kErrWrongParameters);
    if (::fseeko(m_File.get(), position, SEEK_SET) != 0)
        return Err(kErrSeekFailed);
    return {};
}

Reply CDovrelFiles::Tell()
{
    if (!m_File)
        return Err(kErrNoOpenFile);
    return Out(std::to_string(static_cast<long long>(::ftello(m_File.get()))));
}

Reply CDovrelFiles::Exist(const std::string& path)
{
    const int fd = OpenPlain(path, O_RDONLY);
    if (fd < 0)
        return YesNo(false);
    ::close(fd);
    return YesNo(true);
}

Reply CDovrelFiles::Erase(const std::string& path)
{
    return YesNo(::unlink(path.c_str()) == 0);
}

// An existing target is refused, never replaced. A file moves to another file system as a
// copy that takes the new name only when it is free, and then the old name goes.
Reply CDovrelFiles::Rename(const std::string& oldPath, const std::string& newPath)
{
    if (::renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) == 0) {
        return YesNo(true);
    }
    if (errno == EXDEV) {
        struct stat st {};
        if (::lstat(oldPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return YesNo(false);
        const std::string temporary = CopyBeside(oldPath, newPath, nullptr);
        if (temporary.empty())
            return YesNo(false);
        if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) != 0) {
            ::unlink(temporary.c_str());
            return YesNo(false);
        }
        if (::unlink(oldPath.c_str()) != 0) {
            ::unlink(newPath.c_str());
            return YesNo(false);
        }
        return YesNo(true);
    }
    if (errno != EINVAL && errno != ENOSYS)
        return YesNo(false);
    // File systems without the no-replace flag: check, then rename.
    struct stat st {};
    if (::lstat(newPath.c_str(), &st) == 0 || errno != ENOENT)
        return YesNo(false);
    return YesNo(::rename(oldPath.c_str(), newPath.c_str()) == 0);
}

// The destination is replaced whole: the copy goes to a temporary file beside it, which then
// takes its name, so a failed copy leaves the old destination as it was and copying a file
// onto itself keeps it. A folder or a read-only file as destination is refused. A symbolic
// link as destination keeps pointing where it did: the file it names receives the copy, as it
// would from create.
// Copy answers nothing on standard output; a copy that did not happen is reported on standard
// error. Copying a file onto itself leaves it as it is and is no failure.
Reply CDovrelFiles::Copy(const std::string& source, const std::string& linkOrDestination)
{
    std::string destination = linkOrDestination;
    struct stat linkStat {};
    if (::lstat(destination.c_str(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode)) {
        std::error_code error;
        const std::filesystem::path target = std::filesystem::weakly_canonical(destination, error);
        if (error)
            return Err(kErrCopyFailed);
        destination = target.string();
    }
    struct stat destinationStat {};
    const bool destinationExists = ::stat(destination.c_str(), &destinationStat) == 0;
    if (destinationExists && (!S_ISREG(destinationStat.st_mode) || ReadOnly(destinationStat))) {
        return Err(kErrCopyFailed);
    }
    struct stat sourceStat {};
    if (destinationExists && ::stat(source.c_str(), &sourceStat) == 0 && S_ISREG(sourceStat.st_mode) &&
        sourceStat.st_dev == destinationStat.st_dev && sourceStat.st_ino == destinationStat.st_ino) {
        return {};
    }
    const std::string temporary = CopyBeside(source, destination, destinationExists ? &destinationStat : nullptr);
    if (temporary.empty())
        return Err(kErrCopyFailed);
    if (::rename(temporary.c_str(), destination.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return Err(kErrCopyFailed);
    }
    return {};
}

Reply CDovrelFiles::FindFile(const std::string& path, std::string_view mask)
{
    return ListFolder(path, Listing::Files, mask);
}

Reply CDovrelFiles::FindDir(const std::string& path)
{
    return ListFolder(path, Listing::Directories, {});
}

// Every missing folder along the path is created; the answer says whether the folder is
// there at the end, whether it existed before or not.
Reply CDovrelFiles::CreateDir(const std::string& path)
{
    if (path.empty())
        return YesNo(false);
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (prefix.back() == '/' || IsDirectory(prefix))
            continue;
        if (::mkdir(prefix.c_str(), 0777) != 0 && !IsDirectory(prefix))
            return YesNo(false);
    }
    if (!IsDirectory(path) && ::mkdir(path.c_str(), 0777) != 0 && !IsDirectory(path))
        return YesNo(false);
    return YesNo(IsDirectory(path));
}

}  // namespace dovrel

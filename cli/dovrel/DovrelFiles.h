// Dovrel's file operations, independent of the command table: one current file, and the
// file and folder commands that work on names. Every operation returns what the tool
// writes for it: the text for standard output and the text for standard error.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dovrel {

// Replies and error lines, byte for byte as scripts expect them.
inline constexpr std::string_view kErrNoOpenFile = "@_Error [No open file]\n";
inline constexpr std::string_view kErrBufferTooSmall = "@_Error [Buffer to small]\n";
inline constexpr std::string_view kErrEmptyData = "@_Error [Empty data]\n";
// A command that could not do what it was asked writes one of these and nothing on standard output,
// so that the script's log shows the failure instead of a silent success.
inline constexpr std::string_view kErrWrongParameters = "Wrong parameters!\n";  // as the command table's
inline constexpr std::string_view kErrReadFailed = "@_Error [Read failed]\n";
inline constexpr std::string_view kErrWriteFailed = "@_Error [Write failed]\n";
inline constexpr std::string_view kErrSeekFailed = "@_Error [Seek failed]\n";
inline constexpr std::string_view kErrCopyFailed = "@_Error [Copy failed]\n";
inline constexpr std::string_view kYes = "1\n";
inline constexpr std::string_view kNo = "0\n";

// Size of the data buffer: the most bytes one read takes, and the -buf switch's buffer.
inline constexpr std::uint32_t kDataBufferSize = 8196;

struct Reply {
    std::string out;
    std::string err;
};

enum class OpenMode { ReadText, ReadBinary, WriteText, WriteBinary };

// writeline's escapes: backslash n, r, t become LF, CR, TAB; any other backslash stays.
std::string Unescape(std::string_view text);
// Lower-case hex, two digits per byte.
std::string BytesToHex(std::string_view bytes);
// Pairs of hex digits to bytes; an odd last digit is ignored and a character that is not a
// hex digit counts as 0, so the byte count always follows from the text's length alone.
std::string HexToBytes(std::string_view hex);
// Whether every character is a hex digit (write refuses anything else rather than write zeros).
bool IsHexText(std::string_view hex);
// Wildcard match of a file name: '*' any run, '?' one character, letters without regard
// to case (names made for folders that ignore case keep matching); "*.*" matches every name.
bool MatchMask(std::string_view mask, std::string_view name);

class CDovrelFiles {
public:
    CDovrelFiles();
    ~CDovrelFiles();
    CDovrelFiles(const CDovrelFiles&) = delete;
    CDovrelFiles& operator=(const CDovrelFiles&) = delete;

    // The current file. Opening closes the file that was current first, so its writes
    // reach the disk and its handle is released, even when the new open fails.
    Reply Open(const std::string& path, OpenMode mode);
    Reply Close();
    bool HasFile() const { return m_File != nullptr; }

    Reply Eof();
    Reply FileSize();
    Reply ReadLine();
    Reply Read(std::uint32_t size);
    Reply WriteLine(std::string_view buffer);
    Reply Write(std::string_view hexBuffer);
    Reply SeekBegin();
    Reply SeekEnd();
    Reply Seek(std::int32_t position);
    Reply Tell();

    // Operations on names; they leave the current file alone.
    static Reply Exist(const std::string& path);
    static Reply Erase(const std::string& path);
    static Reply Rename(const std::string& oldPath, const std::string& newPath);
    static Reply Copy(const std::string& source, const std::string& destination);
    // Both change the working directory to `path` and leave it there, so that the listed
    // names can be opened as they are. Only plain entries are listed: no symbolic link, no
    // special file, no hidden one (leading dot), no read-only one (no owner write permission),
    // none whose name a reply cannot carry ('|', CR, LF). Names come sorted without regard to
    // case, joined by '|'.
    static Reply FindFile(const std::string& path, std::string_view mask);
    static Reply FindDir(const std::string& path);
    static Reply CreateDir(const std::string& path);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::size_t ReadTranslated(char* buffer, std::size_t size, bool stopAfterLineEnd);
    bool WriteTranslated(std::string_view bytes);

    std::unique_ptr<std::FILE, FileCloser> m_File;
    // Text mode keeps the line ends of text files as CR LF on disk and LF for the script.
    bool m_TextMode = false;
    std::vector<char> m_DataBuffer;
};

}  // namespace dovrel

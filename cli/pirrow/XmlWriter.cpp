#include "XmlWriter.h"

#include "XmlText.h"

#include <tinyxml.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pirrow {

namespace {

void Indent(std::string& out, int depth)
{
    out.append(static_cast<size_t>(depth) * 4, ' ');
}

void PrintNode(std::string& out, const TiXmlNode& node, int depth);

void PrintElement(std::string& out, const TiXmlElement& element, int depth)
{
    Indent(out, depth);
    const std::string name = Latin1Name(element.ValueStr());
    out += '<';
    out += name;
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute; attribute = attribute->Next()) {
        const std::string& value = attribute->ValueStr();
        const char quote = value.find('"') == std::string::npos ? '"' : '\'';
        out += ' ';
        out += Latin1Name(attribute->NameTStr());
        out += '=';
        out += quote;
        out += EscapeAttribute(value);
        out += quote;
    }
    const TiXmlNode* first = element.FirstChild();
    if (!first) {
        out += " />";
    } else if (first == element.LastChild() && first->ToText()) {
        out += '>';
        PrintNode(out, *first, depth + 1);
        out += "</" + name + '>';
    } else {
        out += '>';
        for (const TiXmlNode* child = first; child; child = child->NextSibling()) {
            if (!child->ToText()) {
                out += '\n';
            }
            PrintNode(out, *child, depth + 1);
        }
        out += '\n';
        Indent(out, depth);
        out += "</" + name + '>';
    }
}

void PrintDeclaration(std::string& out, const TiXmlDeclaration& declaration)
{
    out += "<?xml ";
    const auto field = [&out](const char* key, const char* value) {
        if (value && *value) {
            out += key;
            out += "=\"";
            out += EscapeAttribute(value);
            out += "\" ";
        }
    };
    field("version", declaration.Version());
    field("encoding", declaration.Encoding());
    field("standalone", declaration.Standalone());
    out += "?>";
}

void PrintNode(std::string& out, const TiXmlNode& node, int depth)
{
    if (const TiXmlElement* element = node.ToElement()) {
        PrintElement(out, *element, depth);
    } else if (const TiXmlText* text = node.ToText()) {
        out += ElementText(text->ValueStr());
    } else if (const TiXmlComment* comment = node.ToComment()) {
        Indent(out, depth);
        out += "<!--" + CommentText(comment->ValueStr()) + "-->";
    } else if (const TiXmlDeclaration* declaration = node.ToDeclaration()) {
        PrintDeclaration(out, *declaration);
    }
    // Pirrow never creates other kinds of node.
}

std::string SystemError(int error)
{
    return std::strerror(error);
}

}  // namespace

std::string PrintDocument(const TiXmlDocument& document)
{
    std::string out;
    for (const TiXmlNode* node = document.FirstChild(); node; node = node->NextSibling()) {
        PrintNode(out, *node, 0);
        out += '\n';
    }
    return out;
}

bool SaveFile(const std::string& path, std::string_view bytes, std::string& error)
{
    // Replace what a symbolic link points at, not the link itself.
    std::string target = path;
    std::error_code ignored;
    if (std::filesystem::is_symlink(path, ignored)) {
        const auto resolved = std::filesystem::weakly_canonical(path, ignored);
        if (!ignored) {
            target = resolved.string();
        }
    }

    mode_t mode = 0;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            error = SystemError(EISDIR);
            return false;
        }
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    // A short name of its own, so that a target name near the length limit still gets one.
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    std::string temporary = ((folder.empty() ? std::filesystem::path(".") : folder) / ".pirrow-XXXXXX").string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    const auto fail = [&](int code) {
        error = SystemError(code);
        ::unlink(temporary.c_str());
        return false;
    };
    if (::fchmod(fd, mode) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(code);
    }
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int code = n < 0 ? errno : EIO;
            ::close(fd);
            return fail(code);
        }
        written += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(code);
    }
    if (::close(fd) != 0) {
        return fail(errno);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return fail(errno);
    }
    return true;
}

}  // namespace pirrow

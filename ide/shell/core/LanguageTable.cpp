#include "ide/shell/core/LanguageTable.h"

#include "common/AtomicFile.h"
#include "common/TextCodec.h"
#include "common/AsciiCase.h"

#include <array>

namespace zov::shell {
namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string_view Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view TrimRight(std::string_view text)
{
    const size_t last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view TrimLeft(std::string_view text)
{
    const size_t first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The two characters backslash and t stand for a TAB.
std::string ExpandTabs(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 't') {
            out += '\t';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::uint32_t LanguageTable::HashKey(std::string_view key)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : key)
        crc = kCrcTable[(crc ^ static_cast<unsigned char>(c)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool LanguageTable::LoadLanguageFile(const std::filesystem::path& path)
{
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        return false;
    LoadText(*bytes);
    return true;
}

void LanguageTable::LoadText(std::string_view bytes)
{
    // Character by character, as the settings files: a file edited on both systems keeps both.
    std::string text;
    text.reserve(bytes.size());
    size_t pos = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (pos < bytes.size())
        AppendUtf8(text, NextChar(bytes, pos));

    entries_.clear();
    index_.clear();
    size_t begin = 0;
    while (begin <= text.size()) {
        const size_t end = text.find_first_of("\r\n", begin);
        const size_t stop = end == std::string::npos ? text.size() : end;
        ReadLine(std::string_view(text).substr(begin, stop - begin));
        if (end == std::string::npos)
            break;
        begin = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

void LanguageTable::ReadLine(std::string_view rawLine)
{
    const std::string_view line = Trim(rawLine);
    if (line.empty() || line.front() == ';')
        return;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    if (line.front() == '$') {
        const std::string name = ToUpperAscii(Trim(line.substr(0, equals)));
        const std::string value(Trim(line.substr(equals + 1)));
        if (name == "$HELP")
            helpFile_ = value;
        else if (name == "$TIPS")
            tipsFile_ = value;
        else if (name == "$LANGUAGE")
            languageName_ = value;
        return;
    }
    Entry entry{ExpandTabs(TrimRight(line.substr(0, equals))), ExpandTabs(TrimLeft(line.substr(equals + 1)))};
    // An empty translation would blank captions and messages: it counts as none. An empty key
    // would translate every blank text.
    if (!entry.text.empty() && !entry.key.empty())
        index_.try_emplace(entry.key, entries_.size());
    entries_.push_back(std::move(entry));
}

std::string LanguageTable::Lookup(std::string_view text) const
{
    const size_t colon = text.find(':');
    const bool colonEnds = colon != std::string_view::npos && colon + 1 == text.size();
    const std::string_view key = Trim(colonEnds ? text.substr(0, colon) : text);
    const auto found = index_.find(key);
    if (found == index_.end())
        return std::string(text);
    std::string translation = entries_[found->second].text;
    if (colonEnds)
        translation += " :";
    return translation;
}

std::string TranslateText(const LanguageTable* table, std::string_view text)
{
    if (table == nullptr || text.empty())
        return std::string(text);
    return table->Lookup(text);
}

Translate TranslateWith(const LanguageTable* table)
{
    return [table](std::string_view text) { return TranslateText(table, text); };
}

}  // namespace zov::shell

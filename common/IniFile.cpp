#include "common/IniFile.h"

#include "common/AsciiCase.h"
#include "common/AtomicFile.h"
#include "common/TextCodec.h"

#include <utility>
#include <cstdint>
#include <mutex>

namespace zov {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back()) {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

// The value as it must be written so that a read gives it back unchanged.
std::string StoredValue(std::string_view value)
{
    const bool altersOnRead = Trim(value) != value || Unquote(value) != value;
    return altersOnRead ? "\"" + std::string(value) + "\"" : std::string(value);
}

bool HasLineEnd(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool IsValidSection(std::string_view section)
{
    return !HasLineEnd(section) && section.find(']') == std::string_view::npos;
}

bool IsValidKey(std::string_view key)
{
    key = Trim(key);
    return !key.empty() && !HasLineEnd(key) && key.find('=') == std::string_view::npos && key.front() != '[';
}

// Deciding for the whole text would turn every UTF-8 character of a file into two or three
// Windows-1252 ones as soon as one stray byte is in it, and a write would store them so.
std::string DecodeByCharacter(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    size_t pos = 0;
    while (pos < bytes.size()) {
        AppendUtf8(text, NextChar(bytes, pos));
    }
    return text;
}

std::mutex& WriteMutex()
{
    // Read-modify-write of one file by two threads of this process must not lose an update.
    static std::mutex mutex;
    return mutex;
}

}  // namespace

IniDocument::IniDocument(std::string_view text)
{
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        bom_ = kUtf8Bom;
        text.remove_prefix(kUtf8Bom.size());
    }
    bool newLineKnown = false;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        std::string end =
            (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? "\r\n" : std::string(1, text[i]);
        lines_.push_back({std::string(text.substr(start, i - start)), end});
        if (!newLineKnown) {
            newLine_ = end;
            newLineKnown = true;
        }
        i += end.size() - 1;
        start = i + 1;
    }
    if (start < text.size()) {
        lines_.push_back({std::string(text.substr(start)), ""});
    }
}

IniDocument::Parsed IniDocument::ParseLine(std::string_view text)
{
    Parsed parsed;
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty()) {
        return parsed;
    }
    if (trimmed.front() == '[') {
        const size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos) {
            parsed.kind = Parsed::Kind::Header;
            parsed.name = Trim(trimmed.substr(1, close - 1));
            return parsed;
        }
    }
    const size_t equals = text.find('=');
    const std::string_view name = Trim(text.substr(0, equals));
    if (name.empty()) {
        return parsed;
    }
    parsed.kind = Parsed::Kind::Key;
    parsed.name = name;
    parsed.hasEquals = equals != std::string_view::npos;
    parsed.valueStart = parsed.hasEquals ? equals + 1 : text.size();
    return parsed;
}

std::optional<std::pair<size_t, size_t>> IniDocument::FindSection(std::string_view section) const
{
    section = Trim(section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Parsed parsed = ParseLine(lines_[i].text);
        if (parsed.kind != Parsed::Kind::Header || !EqualsIgnoringAsciiCase(parsed.name, section)) {
            continue;
        }
        size_t last = i + 1;
        while (last < lines_.size() && ParseLine(lines_[last].text).kind != Parsed::Kind::Header) {
            ++last;
        }
        return std::make_pair(i + 1, last);
    }
    return std::nullopt;
}

std::optional<size_t> IniDocument::FindKey(size_t first, size_t last, std::string_view key) const
{
    key = Trim(key);
    for (size_t i = first; i < last; ++i) {
        const Parsed parsed = ParseLine(lines_[i].text);
        if (parsed.kind == Parsed::Kind::Key && EqualsIgnoringAsciiCase(parsed.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const
{
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = FindKey(range->first, range->second, key);
    if (!index) {
        return std::nullopt;
    }
    const std::string& text = lines_[*index].text;
    const Parsed parsed = ParseLine(text);
    return std::string(Unquote(Trim(std::string_view(text).substr(parsed.valueStart))));
}

void IniDocument::EnsureLastLineEnded()
{
    if (!lines_.empty() && lines_.back().end.empty()) {
        lines_.back().end = newLine_;
    }
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    if (!IsValidSection(section) || !IsValidKey(key) || HasLineEnd(value)) {
        return false;
    }
    const std::string stored = StoredValue(value);
    const auto range = FindSection(section);
    if (!range) {
        EnsureLastLineEnded();
        if (!lines_.empty() && !Trim(lines_.back().text).empty()) {
            lines_.push_back({"", newLine_});
        }
        lines_.push_back({"[" + std::string(Trim(section)) + "]", newLine_});
        lines_.push_back({std::string(Trim(key)) + "=" + stored, newLine_});
        return true;
    }
    if (const auto index = FindKey(range->first, range->second, key)) {
        std::string& text = lines_[*index].text;
        const Parsed parsed = ParseLine(text);
        if (parsed.hasEquals) {
            // Keep the key as spelt in the file and the spacing around '='.
            size_t valueStart = parsed.valueStart;
            while (valueStart < text.size() && IsBlank(text[valueStart])) {
                ++valueStart;
            }
            text = text.substr(0, valueStart) + stored;
        } else {
            const size_t nameStart = text.find_first_not_of(" \t");
            text = text.substr(0, nameStart) + parsed.name + "=" + stored;
        }
        return true;
    }
    // After the last non-blank line of the section, so that the blank lines that separate it
    // from the next section stay where they are.
    size_t insertAt = range->first;
    for (size_t i = range->second; i > range->first; --i) {
        if (!Trim(lines_[i - 1].text).empty()) {
            insertAt = i;
            break;
        }
    }
    if (lines_[insertAt - 1].end.empty()) {
        lines_[insertAt - 1].end = newLine_;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  Line{std::string(Trim(key)) + "=" + stored, newLine_});
    return true;
}

bool IniDocument::RemoveKey(std::string_view section, std::string_view key)
{
    const auto range = FindSection(section);
    if (!range) {
        return false;
    }
    const auto index = FindKey(range->first, range->second, key);
    if (!index) {
        return false;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
    return true;
}

bool IniDocument::RemoveSection(std::string_view section)
{
    const auto range = FindSection(section);
    if (!range) {
        return false;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->first - 1),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->second));
    return true;
}

std::vector<std::string> IniDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        Parsed parsed = ParseLine(line.text);
        if (parsed.kind == Parsed::Kind::Header) {
            names.push_back(std::move(parsed.name));
        }
    }
    return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const
{
    std::vector<std::string> names;
    if (const auto range = FindSection(section)) {
        for (size_t i = range->first; i < range->second; ++i) {
            Parsed parsed = ParseLine(lines_[i].text);
            if (parsed.kind == Parsed::Kind::Key) {
                names.push_back(std::move(parsed.name));
            }
        }
    }
    return names;
}

std::string IniDocument::Text() const
{
    std::string text = bom_;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.end;
    }
    return text;
}

int ParseProfileInt(std::string_view text, int defaultValue)
{
    text = Trim(text);
    if (text.empty()) {
        return defaultValue;
    }
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10u + static_cast<uint32_t>(c - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int>(value);
}

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

std::optional<IniDocument> IniFile::Load() const
{
    if (const auto bytes = ReadWholeFile(path_)) {
        return IniDocument(DecodeByCharacter(*bytes));
    }
    std::error_code error;
    const bool missing = !std::filesystem::exists(path_, error) && !error;
    return missing ? std::optional<IniDocument>(IniDocument()) : std::nullopt;
}

bool IniFile::Store(const IniDocument& document) const
{
    return WriteFileAtomically(path_, document.Text());
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    const auto value = Load().value_or(IniDocument()).Get(section, key);
    return value ? *value : std::string(defaultValue);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int defaultValue) const
{
    const auto value = Load().value_or(IniDocument()).Get(section, key);
    return value ? ParseProfileInt(*value, defaultValue) : defaultValue;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const
{
    std::lock_guard lock(WriteMutex());
    std::optional<IniDocument> document = Load();
    return document && document->Set(section, key, value) && Store(*document);
}

bool IniFile::WriteInt(std::string_view section, std::string_view key, int value) const
{
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) const
{
    std::lock_guard lock(WriteMutex());
    std::optional<IniDocument> document = Load();
    return document && document->RemoveKey(section, key) && Store(*document);
}

bool IniFile::DeleteSection(std::string_view section) const
{
    std::lock_guard lock(WriteMutex());
    std::optional<IniDocument> document = Load();
    return document && document->RemoveSection(section) && Store(*document);
}

std::vector<std::string> IniFile::SectionNames() const
{
    return Load().value_or(IniDocument()).SectionNames();
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const
{
    return Load().value_or(IniDocument()).KeyNames(section);
}

}  // namespace zov

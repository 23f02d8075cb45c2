#include "ide/shell/search/ScriptSearch.h"

#include "common/AtomicFile.h"
#include "common/PathUtils.h"
#include "common/TextCodec.h"

#include <QString>

namespace zov::shell {

namespace {

std::string ExpandTabs(std::string_view line, std::string_view blanks)
{
    std::string shown;
    shown.reserve(line.size());
    for (const char c : line) {
        if (c == '\t')
            shown += blanks;
        else
            shown += c;
    }
    return shown;
}

// Case folding on decoded text: "é" and "É" meet, as the user reads them.
std::string Upper(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUpper().toStdString();
}

bool IsAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::string Fold(std::string_view line)
{
    if (IsAscii(line)) {
        std::string upper(line);
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return upper;
    }
    return Upper(line);
}

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool Matches(std::string_view line, std::string_view text, bool wholeWord)
{
    if (!wholeWord)
        return line.find(text) != std::string_view::npos;
    const std::string spaced = ExpandTabs(line, " ");
    const std::string inner = " " + std::string(text) + " ";
    return spaced == text || spaced.find(inner) != std::string::npos ||
           spaced.compare(0, text.size() + 1, std::string(text) + " ") == 0 ||
           EndsWith(spaced, " " + std::string(text));
}

}  // namespace

std::string ScriptDisplayName(std::string_view entry)
{
    std::string_view name = entry.size() >= 4 ? entry.substr(0, entry.size() - 4) : std::string_view();
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    return std::string(name);
}

std::vector<SearchHit> SearchScriptFile(const std::string& path, std::string_view entry, const SearchQuery& query)
{
    std::vector<SearchHit> hits;
    const auto bytes = ReadWholeFile(path);
    if (!bytes || bytes->empty())
        return hits;
    const std::string text = DecodeText(*bytes);
    const std::string wanted = query.matchCase ? query.text : Upper(query.text);
    const std::string name = ScriptDisplayName(entry);
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        ++number;
        const bool found =
            query.matchCase ? Matches(line, wanted, query.wholeWord) : Matches(Fold(line), wanted, query.wholeWord);
        if (found) {
            SearchHit hit;
            hit.fileEntry = std::string(entry);
            hit.line = number;
            hit.paneLine = name + ":" + std::to_string(number) + ":" + ExpandTabs(line, "    ");
            hits.push_back(std::move(hit));
        }
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return hits;
}

ScriptSearch::ScriptSearch(Translate translate) : translate_(std::move(translate)) {}

std::string ScriptSearch::Start(const SearchQuery& query, std::vector<std::string> entries, std::string projectFolder)
{
    query_ = query;
    entries_ = std::move(entries);
    projectFolder_ = std::move(projectFolder);
    next_ = 0;
    count_ = 0;
    stopped_ = false;
    return translate_("Recherche de") + " '" + query_.text + "'...";
}

std::vector<SearchHit> ScriptSearch::Step(std::chrono::milliseconds budget)
{
    std::vector<SearchHit> found;
    const auto deadline = std::chrono::steady_clock::now() + budget;
    while (Running()) {
        const std::string& entry = entries_[next_];
        const std::string path = IsAbsolutePath(entry) ? entry : projectFolder_ + "/" + entry;
        std::vector<SearchHit> hits = SearchScriptFile(path, entry, query_);
        for (SearchHit& hit : hits) {
            hit.fileIndex = next_;
            found.push_back(std::move(hit));
        }
        count_ += hits.size();
        ++next_;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return found;
}

std::string ScriptSearch::SummaryLine() const
{
    if (count_ == 0) {
        const std::string text = query_.matchCase ? query_.text : Upper(query_.text);
        return translate_("Impossible de trouver la chaine") + " '" + text + "'.";
    }
    return std::to_string(count_) + " " + translate_("occurrences ont été trouvées");
}

}  // namespace zov::shell

#pragma once
// Find in the project's scripts: every line of every listed script that holds the text, as the
// find pane lists it ("name:line:text"). The search advances in slices of bounded time, so the
// window that drives it from a zero-delay timer stays responsive; stopping keeps what was found.

#include "ide/shell/core/Translate.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zov::shell {

struct SearchQuery {
    std::string text;
    bool matchCase = false;
    bool wholeWord = false;
};

// One matching line. The pane shows `paneLine`; opening the hit uses the entry and line as they are.
struct SearchHit {
    std::size_t fileIndex = 0;
    std::string fileEntry;
    int line = 0;  // 1-based
    std::string paneLine;
};

// The name shown for a script entry: without its four-character extension and its folders.
std::string ScriptDisplayName(std::string_view entry);

// The hits of one script file (path already resolved); an unreadable or empty file gives none.
std::vector<SearchHit> SearchScriptFile(const std::string& path, std::string_view entry, const SearchQuery& query);

class ScriptSearch {
public:
    explicit ScriptSearch(Translate translate = IdentityTranslate());

    // Starts over with the entries (absolute, or relative to the project folder). Returns the
    // pane's first line: "Recherche de '<text>'...".
    std::string Start(const SearchQuery& query, std::vector<std::string> entries, std::string projectFolder);

    // Searches files until `budget` has passed (at least one file per call) and returns the hits
    // found meanwhile. Nothing once finished or stopped.
    std::vector<SearchHit> Step(std::chrono::milliseconds budget);

    // The pane's last line once every file is searched: the count of hits, or the not-found line
    // (with the text upper-cased when case was ignored).
    std::string SummaryLine() const;

    void Stop() { stopped_ = true; }
    bool Running() const { return !stopped_ && next_ < entries_.size(); }
    bool Finished() const { return !stopped_ && next_ >= entries_.size(); }
    std::size_t HitCount() const { return count_; }

private:
    Translate translate_;
    SearchQuery query_;
    std::vector<std::string> entries_;
    std::string projectFolder_;
    std::size_t next_ = 0;
    std::size_t count_ = 0;
    bool stopped_ = true;
};

}  // namespace zov::shell

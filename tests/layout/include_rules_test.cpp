// Every include line of the sources against the dependencies the layout forbids: the IDE never
// reaches the engine, headless cores never reach Qt Widgets, lower engine layers never reach
// higher ones, shared code never reaches a program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Rule {
    std::string_view from;    // folder of the including file (prefix, from the repository root)
    std::string_view to;      // folder it must not include from
    std::string_view except;  // a part of `to` that stays allowed ("" for none)
};

constexpr Rule kRules[] = {
    {"ide/", "engine/", ""},
    {"ide/shell/core/", "ide/", "ide/shell/core/"},
    {"ide/reports/", "ide/project/", "ide/project/model/"},
    {"ide/editor/", "ide/execution/", ""},
    {"ide/interfaces/", "ide/project/", ""},
    {"cli/", "engine/", ""},
    {"cli/", "ide/", ""},
    {"tools/", "engine/", ""},
    {"tools/", "ide/", ""},
    {"common/", "engine/", ""},
    {"common/", "ide/", ""},
    {"common/", "cli/", ""},
    {"engine/", "ide/", ""},
    {"engine/", "cli/", ""},
    {"engine/tree/", "engine/console/", ""},
    {"engine/tree/", "engine/processes/", ""},
    {"engine/processes/", "engine/runtime/", ""},
    {"engine/processes/", "engine/tree/", ""},
    {"engine/processes/", "engine/console/", ""},
    // The grammar reads tables and texts; it stands on the base layer alone.
    {"engine/grammar/", "engine/", "engine/grammar/"},
    {"engine/grammar/", "engine/", "engine/base/"},
    {"engine/base/", "engine/", "engine/base/"},
};

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Headless folders: the model and core libraries of the IDE, the generator's core, and common/
// apart from its shared widgets.
bool IsHeadless(std::string_view file)
{
    if (StartsWith(file, "common/"))
        return !StartsWith(file, "common/gui/");
    if (StartsWith(file, "generator/core/"))
        return true;
    return StartsWith(file, "ide/") &&
           (file.find("/model/") != std::string_view::npos || file.find("/core/") != std::string_view::npos);
}

struct Include {
    std::string target;  // as written
    bool angled = false;
};

// The repository path an include names: written from the root, or beside the including file.
std::string Resolve(const fs::path& root, std::string_view file, const Include& include)
{
    if (include.angled)
        return include.target;
    if (fs::exists(root / include.target))
        return include.target;
    const fs::path beside = fs::path(file).parent_path() / include.target;
    return beside.lexically_normal().generic_string();
}

std::vector<std::string> Violations(std::string_view file, const std::string& resolved, bool angled,
                                    const std::set<std::string>& widgetHeaders)
{
    std::vector<std::string> found;
    if (angled) {
        const bool widgets = StartsWith(resolved, "QtWidgets/") || resolved == "QtWidgets" ||
                             (resolved.find('/') == std::string::npos && widgetHeaders.count(resolved) != 0);
        if (widgets && IsHeadless(file))
            found.push_back(std::string(file) + " includes Qt Widgets (<" + resolved + ">)");
        return found;
    }
    for (const Rule& rule : kRules) {
        if (!StartsWith(file, rule.from) || !StartsWith(resolved, rule.to))
            continue;
        bool allowed = !rule.except.empty() && StartsWith(resolved, rule.except);
        // Two exceptions for one pair of folders (grammar on itself and on base) are two rules;
        // the target is refused only when no rule of that pair allows it.
        for (const Rule& other : kRules)
            if (other.from == rule.from && other.to == rule.to && !other.except.empty() &&
                StartsWith(resolved, other.except))
                allowed = true;
        if (!allowed)
            found.push_back(std::string(file) + " includes " + resolved);
    }
    return found;
}

std::vector<Include> IncludesOf(const fs::path& path)
{
    static const std::regex line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> includes;
    std::ifstream in(path);
    std::string text;
    while (std::getline(in, text)) {
        std::smatch match;
        if (std::regex_search(text, match, line))
            includes.push_back({match[2].str(), match[1].str() == "<"});
    }
    return includes;
}

std::set<std::string> WidgetHeaders()
{
    std::set<std::string> names;
    const std::string dir = ZOV_QT_WIDGETS_DIR;
    std::error_code error;
    if (!dir.empty())
        for (const auto& entry : fs::directory_iterator(dir, error))
            if (entry.is_regular_file(error) && entry.path().extension().empty())
                names.insert(entry.path().filename().string());
    return names;
}

TEST(IncludeRules, TheCheckerRefusesEachForbiddenKindOfEdge)
{
    const std::set<std::string> widgets{"QWidget", "QDialog"};
    struct Case {
        std::string_view file;
        std::string target;
        bool angled;
        bool refused;
    };
    const Case cases[] = {
        {"ide/execution/model/EngineRunner.cpp", "engine/runtime/Debugger.h", false, true},
        {"ide/execution/model/EngineRunner.cpp", "common/process/ProcessSpawn.h", false, false},
        {"ide/project/model/Project.cpp", "QWidget", true, true},
        {"ide/project/model/Project.cpp", "QtWidgets/QDialog", true, true},
        {"ide/editor/model/TextBuffer.h", "QString", true, false},
        {"ide/project/ProjectTree.cpp", "QWidget", true, false},
        {"generator/core/Generator.cpp", "QWidget", true, true},
        {"generator/VantoroDialog.cpp", "QWidget", true, false},
        {"common/xml/XmlWriter.cpp", "QDialog", true, true},
        {"common/gui/FolderPicker.cpp", "QDialog", true, false},
        {"ide/shell/core/Settings.cpp", "ide/interfaces/model/InterfaceSet.h", false, true},
        {"ide/shell/core/Settings.cpp", "ide/shell/core/Prompter.h", false, false},
        {"ide/reports/HtmlReport.cpp", "ide/project/ProjectTree.h", false, true},
        {"ide/reports/HtmlReport.cpp", "ide/project/model/Project.h", false, false},
        {"ide/editor/EditorView.cpp", "ide/execution/ScriptView.h", false, true},
        {"ide/interfaces/model/InterfaceSet.cpp", "ide/project/model/Project.h", false, true},
        {"cli/pirrow/NewCmd.cpp", "engine/base/Value.h", false, true},
        {"tools/grammarc/TableWriter.cpp", "engine/grammar/GrammarTable.h", false, true},
        {"tools/grammarc/TableWriter.cpp", "common/cgt/CgtCodes.h", false, false},
        {"engine/tree/Node.cpp", "engine/processes/ProcessRegistry.h", false, true},
        {"engine/tree/Node.cpp", "engine/console/Console.h", false, true},
        {"engine/tree/Node.cpp", "engine/runtime/Debugger.h", false, false},
        {"engine/processes/CliProcess.cpp", "engine/runtime/EngineState.h", false, true},
        {"engine/grammar/Parser.cpp", "engine/base/MemoryProbes.h", false, false},
        {"engine/grammar/Parser.cpp", "engine/input/ScriptLoader.h", false, true},
        {"engine/base/Output.cpp", "engine/grammar/Parser.h", false, true},
        {"common/IniFile.cpp", "engine/base/StringHelpers.h", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(!Violations(c.file, c.target, c.angled, widgets).empty(), c.refused) << c.file << " -> " << c.target;
}

TEST(IncludeRules, NoSourceOfTheTreeHasAForbiddenInclude)
{
    const fs::path root = ZOV_SOURCE_DIR;
    const std::set<std::string> widgets = WidgetHeaders();
    std::vector<std::string> found;
    std::size_t files = 0;
    for (const char* top : {"engine", "common", "cli", "tools", "ide", "generator"}) {
        std::error_code error;
        if (!fs::is_directory(root / top, error))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const fs::path& path = entry.path();
            if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp"))
                continue;
            const std::string relative = fs::relative(path, root).generic_string();
            if (relative.find("node_modules") != std::string::npos)
                continue;
            ++files;
            for (const Include& include : IncludesOf(path)) {
                const auto more = Violations(relative, Resolve(root, relative, include), include.angled, widgets);
                found.insert(found.end(), more.begin(), more.end());
            }
        }
    }
    EXPECT_GT(files, 100u);
    std::ostringstream report;
    for (const std::string& line : found)
        report << line << '\n';
    EXPECT_TRUE(found.empty()) << report.str();
}

// The engine's own units include each other from the repository root, so that a reader sees the
// layer of every dependency in the line itself.
TEST(IncludeRules, EngineIncludesAreWrittenFromTheRoot)
{
    const fs::path root = ZOV_SOURCE_DIR;
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root / "engine")) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp"))
            continue;
        for (const Include& include : IncludesOf(path))
            if (!include.angled && !StartsWith(include.target, "engine/") && !StartsWith(include.target, "common/"))
                found.push_back(fs::relative(path, root).generic_string() + ": " + include.target);
    }
    EXPECT_TRUE(found.empty()) << found.size() << " includes, first: " << (found.empty() ? "" : found.front());
}

}  // namespace

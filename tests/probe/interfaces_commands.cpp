// zovprobe commands over the interface model: a .qzi read and written back, the temporary
// interface of a set, the definition on one line of it, and a macro laid out on lines.

#include "ide/interfaces/model/InterfaceSet.h"
#include "tests/probe/ProbeCommands.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace zov::probe {

namespace {

namespace fs = std::filesystem;
using interfaces::InterfaceSet;

// Every prompt is a line "MSG: <text>" on standard output, answered as a batch run would.
class PrintingPrompter : public shell::Prompter {
public:
    shell::PromptAnswer Ask(const std::string& text, shell::PromptIcon, shell::PromptButtons buttons) override
    {
        std::printf("MSG: %s\n", text.c_str());
        return shell::EscapeAnswer(buttons);
    }
    std::optional<std::string> OpenFile(const shell::FileRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const shell::FileRequest&) override { return std::nullopt; }
    std::optional<std::string> BrowseFolder(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::uint32_t> ChooseColour(const std::string&, std::uint32_t) override { return std::nullopt; }
};

void PrintLoadErrors(const InterfaceSet& set)
{
    for (const std::string& line : set.LoadErrors())
        std::printf("%s\n", line.c_str());
}

std::string FolderOf(const std::string& path)
{
    return fs::absolute(path).parent_path().string();
}

int RoundTrip(std::span<char* const> args)
{
    if (args.size() != 2)
        return 2;
    const std::string in = args[0];
    const std::string out = args[1];
    PrintingPrompter prompter;
    InterfaceSet set({FolderOf(in), "", FolderOf(in)}, prompter);
    const bool read = set.Load(in);
    PrintLoadErrors(set);
    if (!read)
        return 1;
    const bool written =
        out == in ? set.Save() : set.WriteInterfaceFile(out, interfaces::ViewOf(set.MainInterface()), false);
    return written ? 0 : 1;
}

const CommandRegistration roundTrip{"qzi-roundtrip", "IN OUT", RoundTrip};

int Temp(std::span<char* const> args)
{
    std::string install, engine, project, mainPath, out;
    std::vector<std::pair<std::string, std::string>> inserts;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--install" && hasValue) {
            install = args[++i];
        } else if (arg == "--engine" && hasValue) {
            engine = args[++i];
        } else if (arg == "--project" && hasValue) {
            project = args[++i];
        } else if (arg == "--main" && hasValue) {
            mainPath = args[++i];
        } else if (arg == "--insert" && i + 2 < args.size()) {
            inserts.emplace_back(args[i + 1], args[i + 2]);
            i += 2;
        } else if (out.empty() && !arg.starts_with("--")) {
            out = arg;
        } else {
            return 2;
        }
    }
    if (out.empty())
        return 2;
    PrintingPrompter prompter;
    InterfaceSet set({install, engine, FolderOf(out)}, prompter);
    set.Load(mainPath);
    PrintLoadErrors(set);
    for (std::size_t i = 0; i < inserts.size(); ++i) {
        set.InsertInterface(inserts[i].second, inserts[i].first, static_cast<int>(i), 0);
        PrintLoadErrors(set);
    }
    set.SetProjectFolder(project);
    if (!set.WriteTempInterface())
        return 1;
    std::error_code error;
    if (!fs::equivalent(set.GetTempInterfacePath(), out, error))
        fs::rename(set.GetTempInterfacePath(), out, error);
    return error ? 1 : 0;
}

const CommandRegistration temp{"qzi-temp", "--install D --engine D --project D --main M [--insert FOLDER NAME]... OUT",
                               Temp};

int Line(std::span<char* const> args)
{
    if (args.size() != 2)
        return 2;
    const auto [kind, name] = interfaces::ReadDefinitionAtLine(args[0], std::atoi(args[1]));
    std::printf("%d %s\n", static_cast<int>(kind), name.c_str());
    return 0;
}

const CommandRegistration line{"qzi-line", "TEMP N", Line};

int Expand(std::span<char* const> args)
{
    if (args.size() != 3)
        return 2;
    PrintingPrompter prompter;
    InterfaceSet set({FolderOf(args[0]), "", FolderOf(args[0])}, prompter);
    if (!set.Load(args[0])) {
        for (const std::string& error : set.LoadErrors())
            std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::string text = set.ExpandMacro(args[1], std::atoi(args[2]));
    if (!text.empty())
        std::printf("%s\n", text.c_str());
    return 0;
}

const CommandRegistration expand{"expand-macro", "QZI NAME DEPTH", Expand};

}  // namespace

}  // namespace zov::probe

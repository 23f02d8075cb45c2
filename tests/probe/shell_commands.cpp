// zovprobe commands over the shell's headless core: translation with a language file, the
// start-up request of a command line, the instance temporary folder, the settings table.
#include "ide/shell/core/CommandLine.h"
#include "ide/shell/core/InstanceFolder.h"
#include "ide/shell/core/LanguageTable.h"
#include "ide/shell/core/Settings.h"
#include "tests/probe/ProbeCommands.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace zov::probe {
namespace {

using namespace zov::shell;

// translate FILE TEXT...: one translated text a line; exit 1 when the file cannot be read.
const CommandRegistration translate{"translate", "LANGUAGE_FILE TEXT...", [](std::span<char* const> args) {
                                        if (args.empty())
                                            return 2;
                                        LanguageTable table;
                                        if (!table.LoadLanguageFile(args[0])) {
                                            std::fprintf(stderr, "cannot read %s\n", args[0]);
                                            return 1;
                                        }
                                        for (std::size_t i = 1; i < args.size(); ++i)
                                            std::printf("%s\n", TranslateText(&table, args[i]).c_str());
                                        return 0;
                                    }};

// start-request ARG...: "<kind>\t<path>" of what the IDE would open, from the current folder.
const CommandRegistration startRequest{
    "start-request", "[ARG...]", [](std::span<char* const> args) {
        const std::vector<std::string> words(args.begin(), args.end());
        const StartupRequest request = ClassifyCommandLine(words, "", std::filesystem::current_path());
        static constexpr const char* kKinds[] = {"none", "batch", "project", "document"};
        std::printf("%s\t%s\n", kKinds[static_cast<int>(request.kind)], request.path.c_str());
        return 0;
    }};

// temp-folder [BASE]: claims an instance folder, prints it (or why there is none), releases it.
const CommandRegistration tempFolder{
    "temp-folder", "[BASE]", [](std::span<char* const> args) {
        const InstanceFolder folder(args.empty() ? DefaultTempBase() : std::filesystem::path(args[0]));
        if (!folder.HasFolder()) {
            std::printf("%s\n", folder.StartupMessage(IdentityTranslate()).c_str());
            return 1;
        }
        std::printf("%d\t%s\t%s\n", folder.Number(), folder.Folder().c_str(), folder.Purged() ? "purged" : "shared");
        return 0;
    }};

// settings-table: "section\tkey\ttype\tdefault" of every row, the folder defaults as "{zov}".
const CommandRegistration settingsTable{
    "settings-table", "", [](std::span<char* const>) {
        const Settings settings("/dev/null", "{zov}");
        for (const SettingEntry& row : kSettingTable)
            std::printf("%.*s\t%.*s\t%s\t%s\n", static_cast<int>(row.section.size()), row.section.data(),
                        static_cast<int>(row.key.size()), row.key.data(),
                        row.type == SettingType::Int ? "int" : "string", settings.DefaultText(row.id).c_str());
        return 0;
    }};

}  // namespace
}  // namespace zov::probe

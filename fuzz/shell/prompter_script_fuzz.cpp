// Feeds arbitrary bytes as a file of answers to the IDE's scripted prompter and asks it one prompt
// of every kind until the lines run out, checking what callers rely on: a box answers with one of
// its own buttons, a colour fits in 24 bits, a path given back is absolute, and every prompt is
// one log line.
#include "ide/shell/ScriptedPrompter.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace zov::shell;

const fs::path& Folder()
{
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / ("zov_prompter_fuzz_" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path script = Folder() / "answers.txt";
    const fs::path log = Folder() / "prompts.log";
    {
        std::ofstream out(script, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    fs::remove(log);

    ScriptedPrompter prompter(script, PromptLog(log), nullptr);
    const PromptButtons boxes[] = {PromptButtons::Ok, PromptButtons::OkCancel, PromptButtons::YesNo,
                                   PromptButtons::YesNoCancel};
    int prompts = 0;
    // At most one prompt per line, plus one to find the end.
    std::size_t lines = 1;
    for (std::size_t i = 0; i < size; ++i)
        lines += data[i] == '\n';
    for (std::size_t round = 0; round < lines && round < 64; ++round) {
        const PromptButtons buttons = boxes[round % 4];
        const PromptAnswer answer = prompter.Ask("Question\r\nsuite", PromptIcon::Question, buttons);
        if (!BoxHasAnswer(buttons, answer))
            std::abort();
        ++prompts;
        for (const auto& path :
             {prompter.OpenFile({"Ouvrir", "A|*.a|", ""}), prompter.SaveFile({"Enregistrer", "", ""}),
              prompter.BrowseFolder("Dossier", Folder().string())}) {
            if (path && (path->empty() || path->front() != '/'))
                std::abort();
        }
        if (const auto colour = prompter.ChooseColour("Couleur", 0x123456); colour && *colour > 0xFFFFFF)
            std::abort();
        (void)prompter.AnswerDialog("Dialogue");
        prompts += 5;
    }

    std::ifstream in(log, std::ios::binary);
    const std::string logged((std::istreambuf_iterator<char>(in)), {});
    std::size_t newlines = 0;
    for (char c : logged)
        newlines += c == '\n';
    if (newlines != static_cast<std::size_t>(prompts))
        std::abort();
    return 0;
}

#pragma once
// The texts of the prompter that answers from a file: one answer line, the prompt log line and
// the file filters. No toolkit here, so the reading of the answer file is fuzzed on its own.

#include "ide/shell/core/Prompter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zov::shell {

// Names a file of answers: every prompt takes the next answer line and no window opens.
inline constexpr const char* kPrompterScriptVariable = "ZOV_IDE_PROMPTER_SCRIPT";
// Names a file that gets one line per prompt, whichever prompter answers it.
inline constexpr const char* kPrompterLogVariable = "ZOV_IDE_PROMPTER_LOG";

struct ScriptAnswer {
    PromptAnswer button = PromptAnswer::Ok;
    std::string value;  // the bytes after the button and its one blank, as they are
};

enum class ScriptLine {
    Skip,    // blank, or a comment starting with '#'
    Answer,  // "ok", "yes", "no" or "cancel" (any case), then optionally one blank and a value
    Wrong,   // anything else
};

// Reads one line of an answer file (its LF gone; a CR before it is dropped here). Leading blanks
// are skipped; exactly one blank separates the button from the value, which keeps its own blanks.
ScriptLine ParseScriptLine(std::string_view line, ScriptAnswer& answer);

// The answer a box gives for a scripted button: the button itself, or its counterpart where the
// box lacks it (OK and Yes, Cancel and No); nothing when neither is there.
std::optional<PromptAnswer> AnswerForBox(PromptButtons buttons, PromptAnswer scripted);

// A decimal Windows colour (0xBBGGRR), digits only.
std::optional<std::uint32_t> ParseColourValue(std::string_view text);

const char* KindName(PromptKind kind);

// "<kind>\t<text>\n", every line break of the text (CR LF, LF or CR) written as the two
// characters "\n", so that one prompt is always one line.
std::string FormatPromptLine(PromptKind kind, std::string_view text);

// A filter written the framework way ("Fichier ZOV Projet|*.qzp|Tous|*.*||") in the toolkit's form
// ("Fichier ZOV Projet (*.qzp);;Tous (*.*)"): each label gets its patterns in parentheses unless it
// shows them already; patterns separated by ';' become separated by blanks.
std::string ConvertFileFilter(std::string_view filter);

}  // namespace zov::shell

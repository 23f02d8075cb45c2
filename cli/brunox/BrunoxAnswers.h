// The lines of a file of answers, as the scripted prompter reads them. No toolkit here: the
// reading of outside text stays testable and fuzzable on its own.
#pragma once

#include <string>
#include <string_view>

struct TPromptAnswer {
    bool bOk = false;   // "ok"/"yes" (any case); false for "cancel"/"no"
    std::string value;  // the bytes after the button and its one blank, as they are
};

enum class EAnswerLine {
    Skip,    // blank, or a comment starting with '#'
    Answer,  // a button, with a value only after "ok"/"yes"
    Wrong,   // anything else: an unknown button, or a value after "cancel"/"no"
};

// Reads one line (its LF already gone; a CR before it is dropped here). Leading blanks (spaces,
// tabs) are skipped; exactly one blank separates the button from the value, so that a typed text
// keeps its own blanks.
EAnswerLine ParseAnswerLine(std::string_view line, TPromptAnswer& answer);

// The item index of a combobox answer: decimal digits only, below count.
bool ParseItemIndex(std::string_view text, int count, int& index);

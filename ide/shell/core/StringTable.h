#pragma once
// The IDE's numbered texts (window titles, the version, the tips dialog's messages, the status
// and tooltip prompts of the commands), kept in one table so that every one is translated the
// same way and none is built from pieces.

#include "ide/shell/core/LanguageTable.h"

#include <string>
#include <string_view>

namespace zov::shell {

namespace string_ids {
// The document kind: "\n" title "\n" document name "\n" open-dialog filter "\n" extension ...
inline constexpr unsigned kMainFrame = 128;
inline constexpr unsigned kTipsDidYouKnow = 600;
inline constexpr unsigned kTipsFileUnreadable = 601;
inline constexpr unsigned kTipsReadProblem = 602;
inline constexpr unsigned kAboutLink = 1267;
inline constexpr unsigned kVersion = 8000;
// The status bar's text while nothing is going on.
inline constexpr unsigned kIdleMessage = 57345;
}  // namespace string_ids

// The text of a number; "" for a number without text.
std::string_view LoadStringResource(unsigned id);

// The same in the user's language (see TranslateText).
std::string LoadTranslatedString(unsigned id, const LanguageTable* table);

}  // namespace zov::shell

#pragma once
// The texts the interface lists show for a record: every column is one blank followed by the
// value. Kept apart from the widgets so that the rules are tested without a window.

#include "ide/interfaces/model/InterfaceRecords.h"
#include "ide/shell/core/Translate.h"

#include <string>
#include <string_view>
#include <vector>

namespace zov::interfaces {

std::vector<std::string> CliRowTexts(const CliRecord& record);
std::vector<std::string> FunctionRowTexts(const FunctionRecord& record, const shell::Translate& translate);
std::vector<std::string> ConstantRowTexts(const ConstantRecord& record, const shell::Translate& translate);
std::vector<std::string> MacroRowTexts(const MacroRecord& record);

// The body as a freshly filled list shows it: up to the first "&" when that stands within the
// first 50 characters, else cut to 50 characters; "..." marks a cut.
std::string MacroBodyRowText(std::string_view body);
// The body after its text was edited: the length rule alone.
std::string EditedMacroBodyRowText(std::string_view body);

// The header row of inserted interface: " [" + display name + "]".
std::string InsertedInterfaceHeaderText(std::string_view displayName);

}  // namespace zov::interfaces

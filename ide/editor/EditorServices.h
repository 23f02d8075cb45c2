#pragma once
// What the editor view asks of the rest of the IDE without linking to it: the interface set's
// functions and names, the macro dialog and the macro list. The frame fills them; a view without
// them inserts no call skeleton and creates no macro.

#include "ide/editor/model/MacroFolding.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace zov::editor {

struct FunctionSkeleton {
    QString name;
    int parameterCount = 0;
};

struct EditorServices {
    // The function of index i of the interface set's list; nothing past its end.
    std::function<std::optional<FunctionSkeleton>(int index)> functionAt;
    // A macro of that name exists.
    std::function<bool(const std::string& name)> isMacroName;
    // No CLI, function or constant has that name (exact comparison).
    std::function<bool(const std::string& name)> isNameFree;
    // The word names a macro or starts a constant: "Modifier constante / macro" applies to it.
    std::function<bool(const std::string& word)> isMacroOrConstant;
    // "Modifier constante / macro" on that word: the frame opens the macro's or constant's dialog.
    std::function<void(const std::string& word)> editConstantOrMacro;
    // The dialog "Nom de la macro": the name typed, nothing on Cancel.
    std::function<std::optional<std::string>()> askMacroName;
    // Creates the macro through the macro list; false when it could not.
    std::function<bool(const std::string& name, const std::string& body)> applyMacroText;
    MacroExpander expandMacro;
};

}  // namespace zov::editor

#pragma once

// A label named by a label statement or a goto; its name keeps the leading ':' as written
// (a CLI time-out jumps to ":TIMEOUT"). Also the script's one table of labels.

#include <string>
#include <string_view>
#include <vector>

#include "engine/tree/Node.h"

namespace zov {

class CLabel final : public CExpression {
public:
    CLabel() = default;
    const std::string& LabelName() const { return name_; }
    void SetLabelName(std::string name) { name_ = std::move(name); }

    // Type 6. The label of a label statement registers it in the script's labels; a name that
    // a statement already holds is the duplicate-label error.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    // Nothing: the statement that holds the label acts.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    std::string name_;
};

// The labels of the whole script: name to label statement, names compared exactly. An entry
// whose statement is null counts as absent.
class CLabelList {
public:
    // The label statement registered under the name, or null.
    CAny* Find(std::string_view name) const;
    // False when a statement already holds the name; a null entry is taken over.
    bool Register(std::string_view name, CAny* statement);
    void Clear();
    std::size_t Size() const { return names_.size(); }

private:
    std::vector<std::string> names_;
    std::vector<CAny*> statements_;
};

// The labels of the script being run. Emptied when the analysis of a script begins (the name
// analysis of its root), so that a second script never sees the first one's labels.
CLabelList& ScriptLabels();

}  // namespace zov

#include "engine/runtime/Label.h"

#include "engine/tree/statements/LabelStmt.h"
#include "engine/base/Messages.h"

namespace zov {

int CLabel::TypeAnalysis(CSymbolStore*, TypeCode& typeOut, CErrorList& errors, std::uint32_t)
{
    typeOut = kTypeName;
    CAny* owner = Parent();
    if (!owner || !dynamic_cast<CLabelStmt*>(owner))
        return kAnalysisDone;  // the label named by a goto
    if (!ScriptLabels().Register(name_, owner)) {
        AddError(errors, stmtmsg::DuplicateLabel);
        return kAnalysisFailed;
    }
    return kAnalysisDone;
}

JumpTarget CLabel::Execute(CSymbolStore*, CValue&, CDebugger&)
{
    return nullptr;
}

CAny* CLabelList::Find(std::string_view name) const
{
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (statements_[i] && names_[i] == name)
            return statements_[i];
    }
    return nullptr;
}

bool CLabelList::Register(std::string_view name, CAny* statement)
{
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] != name)
            continue;
        if (statements_[i])
            return false;
        statements_[i] = statement;
        return true;
    }
    names_.emplace_back(name);
    statements_.push_back(statement);
    return true;
}

void CLabelList::Clear()
{
    names_.clear();
    statements_.clear();
}

CLabelList& ScriptLabels()
{
    static CLabelList labels;
    return labels;
}

}  // namespace zov

#include "Debugger.h"

namespace zov {

CDebugger::CDebugger()
{
    Reset();
}

void CDebugger::Reset()
{
    currentLine_ = 0;
    previousLine_ = 0;
    ResetBreakpoints();
    breakpoints_[0] = 0;
    step_ = false;
    abort_ = false;
    waiting_ = true;
}

void CDebugger::SetBreakpoint(int line, std::uint16_t state)
{
    if (line < 1 || line > kMaxBreakpointLine)
        return;
    breakpoints_[static_cast<std::size_t>(line)] = state;
}

std::uint16_t CDebugger::Breakpoint(int line) const
{
    if (line < 1 || line > kMaxBreakpointLine)
        return 0;
    return breakpoints_[static_cast<std::size_t>(line)];
}

void CDebugger::ResetBreakpoints()
{
    for (int line = 1; line <= kMaxBreakpointLine; ++line)
        breakpoints_[static_cast<std::size_t>(line)] = 0;
}

void CDebugger::Next()
{
    step_ = true;
    waiting_ = false;
}

void CDebugger::Break()
{
    Next();
}

void CDebugger::Continue()
{
    step_ = false;
    waiting_ = false;
}

void CDebugger::GetValue(const std::string& /*name*/)
{
}

void CDebugger::SetValue(const std::string& /*name*/, const std::string& /*text*/)
{
}

CDebugger& Debugger()
{
    static CDebugger debugger;
    return debugger;
}

}  // namespace zov

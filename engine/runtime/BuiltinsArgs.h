#pragma once

// Reading a built-in's arguments. A handler may be given fewer values than its prototype has
// (an argument the call node could not form): a missing value reads as null, 0 or 0.0.

#include "engine/base/Value.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zov::builtin_args {

// The text of argument `index`, or nothing for a null (absent) text.
inline std::optional<std::string_view> Text(std::span<const CValue> args, std::size_t index)
{
    if (index >= args.size() || !args[index].HasText())
        return std::nullopt;
    return args[index].TextView();
}

inline std::int32_t Word(std::span<const CValue> args, std::size_t index)
{
    return index < args.size() ? args[index].Word() : 0;
}

inline double Real(std::span<const CValue> args, std::size_t index)
{
    return index < args.size() ? args[index].RealValue() : 0.0;
}

// A boolean parameter takes the low byte of the word.
inline bool Boolean(std::span<const CValue> args, std::size_t index)
{
    return index < args.size() && args[index].LowByte() != 0;
}

// The "no text" result.
inline CValue NoText()
{
    return CValue{};
}

inline CValue TextResult(std::string&& text)
{
    CValue v;
    v.AdoptText(std::move(text));
    return v;
}

}  // namespace zov::builtin_args

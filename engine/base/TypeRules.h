#pragma once

// What the statements accept where they need an integer or a condition.

#include "engine/base/Value.h"

namespace zov {

// Counts, indexes and loop bounds are integers (a CLI handle is one too); an undetermined type
// and a call of an unknown procedure have been reported where they arose.
inline constexpr bool CountsAsInteger(TypeCode type)
{
    return type == kTypeUndetermined || type == kTypeUnknownProcedure || type == kTypeInteger || type == kTypeCli ||
           type == kTypeAny;
}

// A condition is a boolean or an integer (its low byte is read); a real or a text has no truth
// the run could read.
inline constexpr bool CountsAsCondition(TypeCode type)
{
    return CountsAsInteger(type) || type == kTypeBoolean;
}

}  // namespace zov

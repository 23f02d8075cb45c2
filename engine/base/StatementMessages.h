#pragma once

// The messages of the statements: analysis errors listed until the phase ends, run-time
// errors printed at once.

#include "engine/base/Value.h"

namespace zov::stmtmsg {

inline constexpr char UndeterminedType[] = "Impossible de determiner le type de l'expression";
inline constexpr char CliVariableRequired[] = "Type incorrect, variable CLI obligatoire";
inline constexpr char DuplicateLabel[] = "Ce label existe deja";
inline constexpr char CliNotStarted[] = "CLI non initialise";
inline constexpr char UnknownLabel[] = "Ce label n'existe pas";
inline constexpr char ForBoundNotInteger[] = "Les bornes et le pas d'une boucle for doivent etre des entiers";
inline constexpr char ConditionNotBoolean[] = "La condition doit etre un booleen ou un entier";
inline constexpr char ArrayIndexNotInteger[] = "L'indice d'un tableau doit etre un entier";
inline constexpr char ArrayCountNotInteger[] = "La taille d'un tableau doit etre un entier";

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

}  // namespace zov::stmtmsg

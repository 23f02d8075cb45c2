#pragma once

// The messages of the statements: analysis errors listed until the phase ends, run-time
// errors printed at once.

namespace zov::stmtmsg {

inline constexpr char UndeterminedType[] = "Impossible de determiner le type de l'expression";
inline constexpr char CliVariableRequired[] = "Type incorrect, variable CLI obligatoire";
inline constexpr char DuplicateLabel[] = "Ce label existe deja";
inline constexpr char CliNotStarted[] = "CLI non initialise";
inline constexpr char UnknownLabel[] = "Ce label n'existe pas";

}  // namespace zov::stmtmsg

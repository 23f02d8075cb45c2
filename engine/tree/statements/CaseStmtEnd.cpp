#include "engine/tree/statements/CaseStmtEnd.h"

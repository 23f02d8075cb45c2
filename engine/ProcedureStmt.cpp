#include "ProcedureStmt.h"

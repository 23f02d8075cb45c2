#include "CaseStmt.h"

#include "CaseStmtEnd.h"

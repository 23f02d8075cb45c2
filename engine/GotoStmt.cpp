#include "GotoStmt.h"

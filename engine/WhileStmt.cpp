#include "WhileStmt.h"

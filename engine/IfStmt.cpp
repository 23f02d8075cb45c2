#include "IfStmt.h"

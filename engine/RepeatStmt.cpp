#include "RepeatStmt.h"

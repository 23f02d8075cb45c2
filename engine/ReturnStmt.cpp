#include "ReturnStmt.h"

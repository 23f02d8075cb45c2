#include "WithStmt.h"

#include "ForStmt.h"

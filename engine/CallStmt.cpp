#include "CallStmt.h"

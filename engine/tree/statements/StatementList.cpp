#include "engine/tree/statements/StatementList.h"

#include "StatementList.h"

#include "LabelStmt.h"

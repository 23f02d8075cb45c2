#include "DimStmt.h"

#include "GreaterEqualExpression.h"

#include "LessEqualExpression.h"

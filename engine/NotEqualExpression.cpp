#include "NotEqualExpression.h"

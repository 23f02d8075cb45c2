#include "GreaterExpression.h"

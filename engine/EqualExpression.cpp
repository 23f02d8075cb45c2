#include "EqualExpression.h"

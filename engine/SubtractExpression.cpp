#include "SubtractExpression.h"

#include "NegateExpression.h"

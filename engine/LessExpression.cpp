#include "LessExpression.h"

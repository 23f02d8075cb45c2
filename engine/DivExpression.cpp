#include "DivExpression.h"

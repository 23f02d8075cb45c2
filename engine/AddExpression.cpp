#include "AddExpression.h"

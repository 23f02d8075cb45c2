#include "AndExpression.h"

#include "OrExpression.h"

#include "MultExpression.h"

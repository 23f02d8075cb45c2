#include "PowerExpression.h"

#include "XorExpression.h"

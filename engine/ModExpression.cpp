#include "ModExpression.h"

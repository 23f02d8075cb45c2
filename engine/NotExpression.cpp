#include "NotExpression.h"

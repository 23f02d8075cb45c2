#include "FunctionCall.h"

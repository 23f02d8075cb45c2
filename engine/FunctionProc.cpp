#include "FunctionProc.h"

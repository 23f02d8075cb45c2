#include "ProcParamList.h"

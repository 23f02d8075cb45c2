#include "ConstantList.h"

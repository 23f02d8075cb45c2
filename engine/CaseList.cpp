#include "CaseList.h"

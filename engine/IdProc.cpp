#include "IdProc.h"

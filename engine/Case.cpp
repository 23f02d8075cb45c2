#include "Case.h"

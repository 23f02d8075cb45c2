#include "Start.h"

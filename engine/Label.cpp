#include "Label.h"

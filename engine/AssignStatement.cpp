#include "AssignStatement.h"

#include "graph/axis_rules.h"

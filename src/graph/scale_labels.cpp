#include "graph/scale_labels.h"

#include "performance_model.h"

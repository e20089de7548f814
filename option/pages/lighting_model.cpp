#include "lighting_model.h"

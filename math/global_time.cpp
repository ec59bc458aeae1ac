// Storage of the frame clock shared by everything that moves.
#include "math/global_time.h"

float global_time = 0.0f;

// The frame clock: seconds taken by the previous frame, at most 0.1.
#pragma once

extern float global_time;

// The game's creatures and the carrot, drawn in their own sprite boxes.
#pragma once

#include <string>

namespace Art {

enum class RabbitKind { Run, Sit, Dangle, Kick };

struct RabbitPose {
    RabbitKind kind = RabbitKind::Sit;
    double phase = 0;        // run cycle, 0..1
    bool eyes_closed = false;
    bool carrot = false;     // carrying one in the mouth
};

// A rabbit in a 40 x 60 box (y down), facing left, feet on the bottom edge.
std::string Rabbit(const RabbitPose& pose);

// An eagle in a 180 x 270 box, facing left; `phase` 0..1 runs one wing beat.
std::string Eagle(double phase);

// A carrot in a 28 x 60 box, leaves up.
std::string Carrot();

} // namespace Art

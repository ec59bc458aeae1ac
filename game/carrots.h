// The carrot wave: once the whole field has been harvested, every carrot is
// armed to grow again and one more eagle joins the hunt.
#pragma once

// Runs the wave step of a game frame; returns whether a wave started.
bool RunCarrotWave();

/* What the frame benchmark counts while the game runs, shared by the counting
   stand-ins (C) and the benchmark (C++). */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct FrameCounters {
    uint64_t binds;       /* glBindTexture calls */
    uint64_t draws;       /* glDrawArrays and glBegin calls */
    uint64_t round_trips; /* requests that waited for the X server's reply */
    double x_wait_seconds; /* time spent in those waits */
    uint64_t fragments;   /* fragments drawn, as the benchmark counts them */
    uint64_t allocations; /* malloc, calloc and fresh realloc calls of the counting thread */
    uint64_t fsyncs;      /* fsync calls: the record's writes */
    double fsync_seconds; /* time spent in them */
    uint64_t sounds_played; /* alSourcePlay calls: sounds started */
};

extern struct FrameCounters bench_counters;
/* Called just before each buffer swap, while the finished frame is still in the back buffer. */
extern void (*bench_before_swap)(void);

void BenchCountAllocationsOfThisThread(void);
/* Whether allocations are counted at all (not under the sanitizers). */
int BenchCountsAllocations(void);
/* The bot's finger: while set, the X server's answer to the game's pointer
   query says the left button is held, as if the player held it. */
extern int bench_left_button;
/* Gives the current GL drawable the keyboard focus once it is viewable; 0 until then. */
int BenchFocusCurrentWindow(void);

#ifdef __cplusplus
}
#endif

/* Counts what a frame asks of others: texture binds and draw calls at the GL
   boundary, X server round trips where Xlib and Mesa wait for replies, heap
   allocations of the main thread, the record's fsyncs, the sounds started, and
   the swap, where a picture can be taken. The benchmark's own definitions stand
   in front of the libraries' and pass every call on unchanged. */
#define _GNU_SOURCE
#include "bench/frame_counters.h"

#include <AL/al.h>
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <stddef.h>
#include <stdint.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

struct FrameCounters bench_counters;
void (*bench_before_swap)(void);

static void* Next(const char* name) { return dlsym(RTLD_NEXT, name); }

static double Now(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec * 1e-9;
}

/* Counts one round trip and the time it took. */
#define ROUND_TRIP(call)                                  \
    do {                                                  \
        double t0 = Now();                                \
        void* reply = (void*)(call);                      \
        ++bench_counters.round_trips;                     \
        bench_counters.x_wait_seconds += Now() - t0;      \
        return reply;                                     \
    } while (0)

void GLAPIENTRY glBindTexture(GLenum target, GLuint texture)
{
    static void(GLAPIENTRY * real)(GLenum, GLuint);
    if (!real)
        real = (void(GLAPIENTRY*)(GLenum, GLuint))Next("glBindTexture");
    ++bench_counters.binds;
    real(target, texture);
}

void GLAPIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    static void(GLAPIENTRY * real)(GLenum, GLint, GLsizei);
    if (!real)
        real = (void(GLAPIENTRY*)(GLenum, GLint, GLsizei))Next("glDrawArrays");
    ++bench_counters.draws;
    real(mode, first, count);
}

void GLAPIENTRY glBegin(GLenum mode)
{
    static void(GLAPIENTRY * real)(GLenum);
    if (!real)
        real = (void(GLAPIENTRY*)(GLenum))Next("glBegin");
    ++bench_counters.draws;
    real(mode);
}

void glXSwapBuffers(Display* dpy, GLXDrawable drawable)
{
    static void (*real)(Display*, GLXDrawable);
    if (!real)
        real = (void (*)(Display*, GLXDrawable))Next("glXSwapBuffers");
    if (bench_before_swap)
        bench_before_swap();
    real(dpy, drawable);
}

void* xcb_wait_for_reply(xcb_connection_t* c, unsigned int request, xcb_generic_error_t** e)
{
    static void* (*real)(xcb_connection_t*, unsigned int, xcb_generic_error_t**);
    if (!real)
        real = (void* (*)(xcb_connection_t*, unsigned int, xcb_generic_error_t**))Next("xcb_wait_for_reply");
    ROUND_TRIP(real(c, request, e));
}

void* xcb_wait_for_reply64(xcb_connection_t* c, uint64_t request, xcb_generic_error_t** e)
{
    static void* (*real)(xcb_connection_t*, uint64_t, xcb_generic_error_t**);
    if (!real)
        real = (void* (*)(xcb_connection_t*, uint64_t, xcb_generic_error_t**))Next("xcb_wait_for_reply64");
    ROUND_TRIP(real(c, request, e));
}

xcb_generic_error_t* xcb_request_check(xcb_connection_t* c, xcb_void_cookie_t cookie)
{
    static xcb_generic_error_t* (*real)(xcb_connection_t*, xcb_void_cookie_t);
    if (!real)
        real = (xcb_generic_error_t * (*)(xcb_connection_t*, xcb_void_cookie_t)) Next("xcb_request_check");
    ROUND_TRIP(real(c, cookie));
}

int fsync(int fd)
{
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))Next("fsync");
    double t0 = Now();
    int result = real(fd);
    ++bench_counters.fsyncs;
    bench_counters.fsync_seconds += Now() - t0;
    return result;
}

AL_API void AL_APIENTRY alSourcePlay(ALuint source)
{
    static void(AL_APIENTRY * real)(ALuint);
    if (!real)
        real = (void(AL_APIENTRY*)(ALuint))Next("alSourcePlay");
    ++bench_counters.sounds_played;
    real(source);
}

/* The sanitizers keep their own allocator; there the count is left out. */
#if !defined(__SANITIZE_ADDRESS__)
extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t n, size_t size);
extern void* __libc_realloc(void* p, size_t size);

/* Only the thread that runs the frame counts: the rasteriser's and the
   mixer's threads are not the game's. */
static __thread int counting_thread;

void BenchCountAllocationsOfThisThread(void) { counting_thread = 1; }

void* malloc(size_t size)
{
    if (counting_thread)
        ++bench_counters.allocations;
    return __libc_malloc(size);
}

void* calloc(size_t n, size_t size)
{
    if (counting_thread)
        ++bench_counters.allocations;
    return __libc_calloc(n, size);
}

void* realloc(void* p, size_t size)
{
    if (counting_thread && !p)
        ++bench_counters.allocations;
    return __libc_realloc(p, size);
}

int BenchCountsAllocations(void) { return 1; }
#else
void BenchCountAllocationsOfThisThread(void) {}
int BenchCountsAllocations(void) { return 0; }
#endif

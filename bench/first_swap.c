/* Preloaded into a program by bench_launch: at the end of its first buffer swap
   it writes the monotonic time in nanoseconds (8 bytes) to the descriptor named
   by BM_FIRST_SWAP_FD and closes it, so the launcher learns when the first
   frame was shown without polling the screen. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdint.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

void glXSwapBuffers(Display* dpy, GLXDrawable drawable)
{
    static void (*real)(Display*, GLXDrawable);
    static int reported;
    if (!real)
        real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    real(dpy, drawable);
    if (reported)
        return;
    reported = 1;
    const char* fd_text = getenv("BM_FIRST_SWAP_FD");
    if (!fd_text)
        return;
    int fd = atoi(fd_text);
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ns = (uint64_t)ts.tv_sec * 1000000000u + (uint64_t)ts.tv_nsec;
    if (write(fd, &ns, sizeof ns) != (ssize_t)sizeof ns) {
        /* The launcher then reports that no frame came. */
    }
    close(fd);
}

/* Counts the frames a window shows, as the X server's damage reports see them, for
   end-to-end tests to know that the game drew (and so sampled its input) after
   they moved or pressed something: frames WINDOW COUNT SECONDS. Prints the count;
   exits 0 once it saw COUNT, 1 when SECONDS passed first, 2 when the window is gone. */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long seen;

static int Gone(Display* dpy, XErrorEvent* e)
{
    (void)dpy, (void)e;
    printf("%ld\n", seen);
    exit(2);
}

static double Now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

int main(int argc, char** argv)
{
    int damage_event, damage_error;
    Display* dpy = argc == 4 ? XOpenDisplay(NULL) : NULL;
    if (!dpy || !XDamageQueryExtension(dpy, &damage_event, &damage_error)) {
        fprintf(stderr, "usage: %s WINDOW COUNT SECONDS (with an X display that has DAMAGE)\n", argv[0]);
        return 3;
    }
    Window win = (Window)strtoul(argv[1], NULL, 0);
    long want = atol(argv[2]);
    double deadline = Now() + atof(argv[3]);
    XSetErrorHandler(Gone);
    XSelectInput(dpy, win, StructureNotifyMask);
    /* Reports only when the damage goes from none to some; each report is
       subtracted, so each new draw of the window reports again. */
    Damage damage = XDamageCreate(dpy, win, XDamageReportNonEmpty);
    XSync(dpy, False);
    while (seen < want && Now() < deadline) {
        struct pollfd fd = {ConnectionNumber(dpy), POLLIN, 0};
        if (!XPending(dpy))
            poll(&fd, 1, (int)((deadline - Now()) * 1000) + 1);
        while (XPending(dpy) && seen < want) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == DestroyNotify)
                Gone(dpy, NULL);
            if (ev.type == damage_event + XDamageNotify) {
                ++seen;
                XDamageSubtract(dpy, damage, None, None);
            }
        }
    }
    printf("%ld\n", seen);
    return seen >= want ? 0 : 1;
}

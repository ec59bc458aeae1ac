/* Counts the frames a window shows, as the X server's damage reports see them, so
   that end-to-end tests know the game drew (and so sampled its input) after they
   moved or pressed something: frames WINDOW COUNT SECONDS. Prints the count; exits
   0 once it saw COUNT, 1 when SECONDS passed first, 2 when the window is gone. */
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

static int MsLeft(const struct timespec* end)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (int)((end->tv_sec - t.tv_sec) * 1000 + (end->tv_nsec - t.tv_nsec) / 1000000);
}

int main(int argc, char** argv)
{
    int damage_event, damage_error;
    Display* dpy = argc == 4 ? XOpenDisplay(NULL) : NULL;
    if (!dpy || !XDamageQueryExtension(dpy, &damage_event, &damage_error)) {
        fprintf(stderr, "usage: %s WINDOW COUNT SECONDS, on an X display with DAMAGE\n", argv[0]);
        return 3;
    }
    Window win = (Window)strtoul(argv[1], NULL, 0);
    long want = atol(argv[2]);
    struct timespec end;
    clock_gettime(CLOCK_MONOTONIC, &end);
    end.tv_sec += atol(argv[3]);
    XSetErrorHandler(Gone);
    XSelectInput(dpy, win, StructureNotifyMask);
    /* Reports only when the damage goes from none to some; each report is
       subtracted, so that the next draw reports again. */
    Damage damage = XDamageCreate(dpy, win, XDamageReportNonEmpty);
    XSync(dpy, False);
    struct pollfd fd = {ConnectionNumber(dpy), POLLIN, 0};
    while (seen < want && (XPending(dpy) || (MsLeft(&end) > 0 && poll(&fd, 1, MsLeft(&end)) > 0))) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == DestroyNotify)
            Gone(dpy, NULL);
        if (ev.type == damage_event + XDamageNotify) {
            ++seen;
            XDamageSubtract(dpy, damage, None, None);
        }
    }
    printf("%ld\n", seen);
    return seen >= want ? 0 : 1;
}

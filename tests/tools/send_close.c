/* Asks a window to close the way a window manager's close button does
   (a WM_DELETE_WINDOW message), for end-to-end tests run without one. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    Display* dpy = argc == 2 ? XOpenDisplay(NULL) : NULL;
    if (!dpy) {
        fprintf(stderr, "usage: %s WINDOW_ID, on an X display\n", argv[0]);
        return 2;
    }
    XEvent ev = {0};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = (Window)strtoul(argv[1], NULL, 0);
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, ev.xclient.window, False, NoEventMask, &ev);
    XCloseDisplay(dpy);
    return 0;
}

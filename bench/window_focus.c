/* The X side of the frame benchmark, kept apart from the game's headers (whose
   Cursor namespace meets X11's Cursor type): without a window manager nobody
   gives the game window the focus, so the benchmark does, as one would. */
#include "bench/frame_counters.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

int BenchFocusCurrentWindow(void)
{
    Display* dpy = glXGetCurrentDisplay();
    Window win = glXGetCurrentDrawable();
    XWindowAttributes a;
    if (!dpy || !win || !XGetWindowAttributes(dpy, win, &a) || a.map_state != IsViewable)
        return 0;
    XSetInputFocus(dpy, win, RevertToParent, CurrentTime);
    XSync(dpy, False);
    return 1;
}

/* The bot's finger on the left button. The game learns what the player holds
   from the X server's answer to its pointer query; this stand-in passes that
   answer on, with the left button held while the bot holds it, so a scripted
   click takes the game's own way: sampled input, panels, the field, the sound. */
#define _GNU_SOURCE
#include "bench/frame_counters.h"

#include <dlfcn.h>
#include <xcb/xcb.h>

int bench_left_button;

xcb_query_pointer_reply_t* xcb_query_pointer_reply(xcb_connection_t* c, xcb_query_pointer_cookie_t cookie,
                                                   xcb_generic_error_t** e)
{
    static xcb_query_pointer_reply_t* (*real)(xcb_connection_t*, xcb_query_pointer_cookie_t, xcb_generic_error_t**);
    if (!real)
        real = (xcb_query_pointer_reply_t * (*)(xcb_connection_t*, xcb_query_pointer_cookie_t, xcb_generic_error_t**))
            dlsym(RTLD_NEXT, "xcb_query_pointer_reply");
    xcb_query_pointer_reply_t* reply = real(c, cookie, e);
    if (reply && bench_left_button)
        reply->mask |= XCB_BUTTON_MASK_1;
    return reply;
}

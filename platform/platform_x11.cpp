// Linux/X11 implementation of the OS layer: instance lock, the window's hints to
// the desktop, the input sample, rest, full screen, clock, document opening and
// the GLX swap-interval switch.
#include "platform/platform.h"
#include "platform/keep_libraries.h"
#include "platform/window_icon.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

Window game_window = 0;
int instance_lock_fd = -1;

// "host:0.1" and ":0" name the same server; keep host and display number only.
std::string DisplayKey()
{
    const char* d = getenv("DISPLAY");
    std::string key = (d && *d) ? d : "nodisplay";
    size_t colon = key.rfind(':');
    if (colon != std::string::npos) {
        size_t dot = key.find('.', colon);
        if (dot != std::string::npos)
            key.erase(dot);
    }
    for (char& c : key)
        if (c == '/' || c == ':' || c == ' ')
            c = '_';
    return key;
}

// The dialog font covers Latin-1, which holds every letter of our message.
std::string Utf8ToLatin1(const char* s)
{
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
        if (*p < 0x80) {
            out += static_cast<char>(*p);
        } else if ((*p & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) {
            unsigned code = ((*p & 0x1Fu) << 6) | (p[1] & 0x3Fu);
            out += code < 0x100 ? static_cast<char>(code) : '?';
            ++p;
        } else {
            out += '?';
        }
    }
    return out;
}

bool IsAncestorOrSelf(Display* dpy, Window ancestor, Window w)
{
    for (int depth = 0; w != 0 && depth < 64; ++depth) {
        if (w == ancestor)
            return true;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(dpy, w, &root, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        if (parent == root)
            return parent == ancestor;
        w = parent;
    }
    return false;
}

// The answer of IsAncestorOrSelf for the last window asked about. Focus and the
// window under the pointer change rarely, so walking the tree (a round trip per
// level) happens only when they do, or when the game window moves to another
// parent (a window manager started after the game frames it).
struct AncestryCache {
    Window asked = 0;
    bool answer = false;
    bool Check(Display* dpy, Window w)
    {
        if (w != asked) {
            asked = w;
            answer = IsAncestorOrSelf(dpy, w, game_window);
        }
        return answer;
    }
    void Forget() { asked = 0, answer = false; }
};

AncestryCache focus_ancestry, pointer_ancestry;
// The game window's parent when the caches were filled.
xcb_window_t known_parent = XCB_NONE;

bool PointerOverGameWindow(Display* dpy)
{
    Window root = DefaultRootWindow(dpy);
    Window w = root;
    for (int depth = 0; depth < 64; ++depth) {
        Window root_ret = 0, child = 0;
        int rx, ry, wx, wy;
        unsigned mask;
        if (!XQueryPointer(dpy, w, &root_ret, &child, &rx, &ry, &wx, &wy, &mask))
            return false;
        if (w == game_window)
            return true;
        if (child == 0)
            return false;
        w = child;
    }
    return false;
}

bool HasExtension(const char* list, const char* name)
{
    if (!list || !name)
        return false;
    size_t n = strlen(name);
    for (const char* p = list; *p;) {
        while (*p == ' ')
            ++p;
        const char* end = p;
        while (*end && *end != ' ')
            ++end;
        if (static_cast<size_t>(end - p) == n && strncmp(p, name, n) == 0)
            return true;
        p = end;
    }
    return false;
}

// Key codes of the polled keys, looked up once (Key order; the left button has none).
const KeySym kKeySyms[Sys::kKeyCount] = {NoSymbol, XK_F1, XK_r, XK_b, XK_g};

bool HasFocus(Display* dpy, Window focus, Window under_pointer)
{
    if (focus == None)
        return false;
    if (focus == PointerRoot) {
        // Without a window manager the focus follows the pointer: the game has it
        // while the pointer is over its window (and not over its frame's border).
        if (under_pointer == game_window)
            return true;
        return pointer_ancestry.Check(dpy, under_pointer) && PointerOverGameWindow(dpy);
    }
    // The focus may sit on the game window itself or on a frame a window manager wrapped around it.
    return focus == game_window || focus_ancestry.Check(dpy, focus);
}

Atom AtomNamed(Display* dpy, const char* name) { return XInternAtom(dpy, name, False); }

// Every icon size found in Data/icon/, one after the other as _NET_WM_ICON holds
// them; a missing or damaged file leaves its size out.
void SetIcon(Display* dpy)
{
    std::vector<unsigned long> cardinals;
    for (int side : WindowIcon::kSides)
        WindowIcon::Read(WindowIcon::IconPath(side), side, cardinals);
    if (cardinals.empty())
        return;
    XChangeProperty(dpy, game_window, AtomNamed(dpy, "_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(cardinals.data()), static_cast<int>(cardinals.size()));
}

// Who the window is: the class that ties it to its desktop entry, the process a
// window manager may end when the game hangs, and an ordinary application window.
void IntroduceGameWindow(Display* dpy)
{
    XClassHint class_hint;
    class_hint.res_name = const_cast<char*>("burrowmere");
    class_hint.res_class = const_cast<char*>("Burrowmere");
    XSetClassHint(dpy, game_window, &class_hint);
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(dpy, game_window, AtomNamed(dpy, "_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    const Atom normal = AtomNamed(dpy, "_NET_WM_WINDOW_TYPE_NORMAL");
    XChangeProperty(dpy, game_window, AtomNamed(dpy, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&normal), 1);
    SetIcon(dpy);
}

// The ICCCM state a window manager gave the game window: 1 shown, 3 iconic;
// 0 (withdrawn) or -1 (no state) when no window manager looks after it.
long ManagedState(Display* dpy)
{
    const Atom wm_state = AtomNamed(dpy, "WM_STATE");
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long state = -1;
    if (XGetWindowProperty(dpy, game_window, wm_state, 0, 1, False, wm_state, &type, &format, &count, &after,
                           &data) == Success &&
        data && format == 32 && count == 1)
        state = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return state;
}

const char* kSwapExtensions[] = {"GLX_EXT_swap_control", "GLX_MESA_swap_control", "GLX_SGI_swap_control"};

} // namespace

namespace Sys {

// The lock lives where no other user can create files: the session's runtime
// folder, or else a folder in the player's own cache. A fixed name in /tmp could
// be taken by another user to keep the game from ever starting, and a link put
// in the lock's place is never followed.
bool AcquireInstanceLock(const char* title)
{
    if (instance_lock_fd >= 0)
        return true;
    const std::string name = title ? title : "game";
    auto is_private = [](const std::string& dir) {
        struct stat st;
        return dir[0] == '/' && lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
               (st.st_mode & 022) == 0;
    };
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    std::string dir = runtime ? runtime : "";
    if (!is_private(dir)) {
        const char* cache = getenv("XDG_CACHE_HOME");
        const char* home = getenv("HOME");
        if (cache && cache[0] == '/')
            dir = cache;
        else if (home && home[0] == '/')
            dir = std::string(home) + "/.cache";
        else
            return true; // no place for a lock: better to run than to refuse
        mkdir(dir.c_str(), 0700);
        dir += "/" + name;
        mkdir(dir.c_str(), 0700);
        if (!is_private(dir))
            return true;
    }
    // A home folder may be shared between machines: the host is part of the name.
    char host[256] = "";
    gethostname(host, sizeof host - 1);
    const std::string path = dir + "/" + name + "-" + host + "-" + DisplayKey() + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        close(fd);
        return err != EWOULDBLOCK;
    }
    instance_lock_fd = fd; // held until the process ends
    return true;
}

void ShowStartupFail(const char* caption, const char* text)
{
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        fprintf(stderr, "%s: %s\n", caption, text);
        return;
    }
    const std::string message = Utf8ToLatin1(text);
    int screen = DefaultScreen(dpy);
    XFontStruct* font = XLoadQueryFont(dpy, "-misc-fixed-medium-r-normal--13-*-*-*-*-*-iso8859-1");
    if (!font)
        font = XLoadQueryFont(dpy, "fixed");
    int text_w = font ? XTextWidth(font, message.c_str(), static_cast<int>(message.size()))
                      : static_cast<int>(message.size()) * 7;
    const int width = text_w + 60 > 260 ? text_w + 60 : 260, height = 110;
    const int bw = 70, bh = 26, bx = (width - bw) / 2, by = height - bh - 14;

    unsigned long white = WhitePixel(dpy, screen), black = BlackPixel(dpy, screen);
    Window root = RootWindow(dpy, screen);
    int x = (DisplayWidth(dpy, screen) - width) / 2, y = (DisplayHeight(dpy, screen) - height) / 2;
    Window win = XCreateSimpleWindow(dpy, root, x, y, width, height, 1, black, white);

    XStoreName(dpy, win, caption);
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom net_name = XInternAtom(dpy, "_NET_WM_NAME", False);
    XChangeProperty(dpy, win, net_name, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(caption), static_cast<int>(strlen(caption)));
    XClassHint class_hint;
    class_hint.res_name = const_cast<char*>("burrowmere-dialog");
    class_hint.res_class = const_cast<char*>("Burrowmere");
    XSetClassHint(dpy, win, &class_hint);
    XSizeHints* size = XAllocSizeHints();
    size->flags = PMinSize | PMaxSize | PPosition;
    size->min_width = size->max_width = width;
    size->min_height = size->max_height = height;
    XSetWMNormalHints(dpy, win, size);
    XFree(size);
    Atom wm_delete = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, win, &wm_delete, 1);
    XSelectInput(dpy, win, ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
    XMapRaised(dpy, win);

    GC gc = XCreateGC(dpy, win, 0, nullptr);
    if (font)
        XSetFont(dpy, gc, font->fid);
    bool done = false, pressed_ok = false;
    while (!done) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        switch (ev.type) {
        case MapNotify:
            XSetInputFocus(dpy, win, RevertToPointerRoot, CurrentTime);
            break;
        case Expose:
            if (ev.xexpose.count == 0) {
                XSetForeground(dpy, gc, black);
                // A small exclamation sign beside the message.
                XDrawArc(dpy, win, gc, 14, 22, 20, 20, 0, 360 * 64);
                XDrawString(dpy, win, gc, 22, 37, "!", 1);
                XDrawString(dpy, win, gc, 44, 37, message.c_str(), static_cast<int>(message.size()));
                XDrawRectangle(dpy, win, gc, bx, by, bw, bh);
                XDrawString(dpy, win, gc, bx + bw / 2 - 7, by + 17, "OK", 2);
            }
            break;
        case ButtonPress:
            pressed_ok = ev.xbutton.button == Button1 && ev.xbutton.x >= bx && ev.xbutton.x <= bx + bw &&
                         ev.xbutton.y >= by && ev.xbutton.y <= by + bh;
            break;
        case ButtonRelease:
            if (pressed_ok && ev.xbutton.x >= bx && ev.xbutton.x <= bx + bw && ev.xbutton.y >= by &&
                ev.xbutton.y <= by + bh)
                done = true;
            break;
        case KeyPress: {
            KeySym sym = XLookupKeysym(&ev.xkey, 0);
            if (sym == XK_Return || sym == XK_KP_Enter || sym == XK_space || sym == XK_Escape)
                done = true;
            break;
        }
        case ClientMessage:
            if (static_cast<Atom>(ev.xclient.data.l[0]) == wm_delete)
                done = true;
            break;
        case DestroyNotify:
            done = true;
            break;
        default:
            break;
        }
    }
    XFreeGC(dpy, gc);
    if (font)
        XFreeFont(dpy, font);
    XDestroyWindow(dpy, win);
    XCloseDisplay(dpy);
}

void RememberGameWindow()
{
    game_window = glXGetCurrentDrawable();
    KeepLoadedLibraries();
    Display* dpy = glXGetCurrentDisplay();
    XWindowAttributes attributes;
    // Focus changes wake a game that rests in the background (GLUT does not ask for them).
    if (dpy && game_window && XGetWindowAttributes(dpy, game_window, &attributes))
        XSelectInput(dpy, game_window, attributes.your_event_mask | FocusChangeMask);
    if (dpy && game_window) {
        IntroduceGameWindow(dpy);
        // GLUT maps the window as it creates it, so a window manager that already
        // runs has taken it in before it had a class; window managers read the
        // class only when they take a window in. Handing the window back and
        // mapping it again lets it be taken in with the class.
        if (ManagedState(dpy) > 0) {
            XWithdrawWindow(dpy, game_window, DefaultScreen(dpy));
            for (int tries = 0; tries < 100 && ManagedState(dpy) > 0; ++tries) {
                timespec pause = {0, 5000000};
                nanosleep(&pause, nullptr);
            }
            XMapWindow(dpy, game_window);
        }
        XFlush(dpy);
    }
}

void SetFullScreenHint(bool full_screen)
{
    Display* dpy = glXGetCurrentDisplay();
    if (!dpy || !game_window)
        return;
    const Atom bypass = AtomNamed(dpy, "_NET_WM_BYPASS_COMPOSITOR");
    if (full_screen) {
        const unsigned long on = 1;
        XChangeProperty(dpy, game_window, bypass, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&on), 1);
    } else {
        XDeleteProperty(dpy, game_window, bypass);
    }
    XFlush(dpy);
}

InputSample SampleInput()
{
    InputSample sample;
    Display* dpy = glXGetCurrentDisplay();
    if (!dpy || !game_window)
        return sample;
    static KeyCode codes[kKeyCount] = {};
    static bool codes_known = false;
    if (!codes_known) {
        for (int k = 0; k < kKeyCount; ++k)
            codes[k] = kKeySyms[k] == NoSymbol ? 0 : XKeysymToKeycode(dpy, kKeySyms[k]);
        codes_known = true;
    }
    // All four questions leave together and their answers come back together:
    // one round trip, and one moment for pointer, buttons, keys, focus and the
    // window's place in the tree.
    xcb_connection_t* c = XGetXCBConnection(dpy);
    xcb_query_pointer_cookie_t pointer_cookie = xcb_query_pointer(c, DefaultRootWindow(dpy));
    xcb_query_keymap_cookie_t keymap_cookie = xcb_query_keymap(c);
    xcb_get_input_focus_cookie_t focus_cookie = xcb_get_input_focus(c);
    xcb_query_tree_cookie_t tree_cookie = xcb_query_tree(c, static_cast<xcb_window_t>(game_window));
    xcb_query_pointer_reply_t* pointer = xcb_query_pointer_reply(c, pointer_cookie, nullptr);
    xcb_query_keymap_reply_t* keymap = xcb_query_keymap_reply(c, keymap_cookie, nullptr);
    xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(c, focus_cookie, nullptr);
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, tree_cookie, nullptr);
    if (tree && tree->parent != known_parent) {
        // Reparented: what was (or was not) an ancestor of the game window may have changed.
        known_parent = tree->parent;
        focus_ancestry.Forget();
        pointer_ancestry.Forget();
    }
    if (pointer && keymap && focus) {
        sample.focused = HasFocus(dpy, focus->focus, pointer->child);
        sample.held[static_cast<int>(Key::LeftButton)] = (pointer->mask & XCB_BUTTON_MASK_1) != 0;
        for (int k = 0; k < kKeyCount; ++k)
            if (codes[k] != 0)
                sample.held[k] = (keymap->keys[codes[k] / 8] & (1 << (codes[k] % 8))) != 0;
    }
    free(pointer);
    free(keymap);
    free(focus);
    free(tree);
    return sample;
}

void WaitForEvents(int timeout_ms)
{
    Display* dpy = glXGetCurrentDisplay();
    if (!dpy)
        return;
    // Events already read into the queue would never wake poll(): return for GLUT to handle them.
    if (XEventsQueued(dpy, QueuedAfterFlush) > 0)
        return;
    pollfd fd = {ConnectionNumber(dpy), POLLIN, 0};
    while (poll(&fd, 1, timeout_ms) < 0 && errno == EINTR) {
    }
}

void CoverScreen()
{
    Display* dpy = glXGetCurrentDisplay();
    if (!dpy || !game_window)
        return;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, game_window, &root, &parent, &children, &count))
        return;
    if (children)
        XFree(children);
    // A window manager that framed the window places it itself. Without one, GLUT
    // moves the window by minus its own position, as if a frame held it, and so
    // leaves it up and to the left of the screen.
    if (parent != root)
        return;
    Screen* screen = DefaultScreenOfDisplay(dpy);
    XMoveResizeWindow(dpy, game_window, 0, 0, static_cast<unsigned>(WidthOfScreen(screen)),
                      static_cast<unsigned>(HeightOfScreen(screen)));
    XFlush(dpy);
}

uint32_t Milliseconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

bool OpenDocument(const char* path)
{
    if (!path || !*path)
        return false;
    // Double fork so the browser is never our child and leaves no zombie behind.
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        pid_t grandchild = fork();
        if (grandchild == 0) {
            setsid();
            execlp("xdg-open", "xdg-open", path, static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

const char* SwapControlExtension()
{
    Display* dpy = glXGetCurrentDisplay();
    if (!dpy)
        return nullptr;
    const char* list = glXQueryExtensionsString(dpy, DefaultScreen(dpy));
    for (const char* name : kSwapExtensions)
        if (HasExtension(list, name))
            return name;
    return nullptr;
}

bool SetSwapIntervalZero()
{
    Display* dpy = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    const char* ext = SwapControlExtension();
    if (!dpy || !ext)
        return false;
    auto proc = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    if (strcmp(ext, "GLX_EXT_swap_control") == 0) {
        auto fn = reinterpret_cast<void (*)(Display*, GLXDrawable, int)>(proc("glXSwapIntervalEXT"));
        if (!fn)
            return false;
        fn(dpy, drawable, 0);
        return true;
    }
    const char* fn_name = strcmp(ext, "GLX_MESA_swap_control") == 0 ? "glXSwapIntervalMESA" : "glXSwapIntervalSGI";
    auto fn = reinterpret_cast<int (*)(int)>(proc(fn_name));
    return fn && fn(0) == 0;
}

std::string ExecutableFolder()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "";
    buf[n] = '\0';
    char* slash = strrchr(buf, '/');
    if (!slash)
        return "";
    slash[1] = '\0';
    return buf;
}

} // namespace Sys

// The X layer with a real window: the icon files it reads, the hints it gives the
// desktop, and its focus test when a window manager reparents the game window.
// GoogleTest first: X11 defines None as a macro, which GoogleTest also uses as a name.
#include <gtest/gtest.h>

#include "gl_context.h"
#include "platform/platform.h"
#include "platform/window_icon.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<uint32_t> Gradient(int side)
{
    std::vector<uint32_t> argb;
    for (int i = 0; i < side * side; ++i)
        argb.push_back(0x80000000u | static_cast<uint32_t>(i) * 2654435761u >> 8);
    return argb;
}

// The 32-bit items of a property of the game window; empty when it is absent.
std::vector<unsigned long> Property(const char* name, Atom* type = nullptr)
{
    Display* dpy = glXGetCurrentDisplay();
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(dpy, glXGetCurrentDrawable(), XInternAtom(dpy, name, False), 0, 1 << 20, False,
                           AnyPropertyType, &actual, &format, &count, &after, &data) == Success &&
        data) {
        if (format == 32)
            items.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
        else if (format == 8)
            items.assign(data, data + count);
        XFree(data);
    }
    if (type)
        *type = actual;
    return items;
}

} // namespace

TEST(WindowIcon, WritesAndReadsBackEverySizeAndRefusesAnyOtherFile)
{
    for (int side : {1, 16, 128, WindowIcon::kMaxSide}) {
        const std::vector<uint32_t> argb = Gradient(side);
        const std::vector<unsigned char> file = WindowIcon::Encode(side, argb);
        std::vector<unsigned long> cardinals = {7};
        ASSERT_TRUE(WindowIcon::Decode(file.data(), file.size(), side, cardinals)) << side;
        ASSERT_EQ(cardinals.size(), 3 + argb.size());
        EXPECT_EQ(cardinals[1], static_cast<unsigned long>(side));
        EXPECT_EQ(cardinals[2], static_cast<unsigned long>(side));
        EXPECT_TRUE(std::equal(argb.begin(), argb.end(), cardinals.begin() + 3)) << "pixels kept in order";
    }
    EXPECT_TRUE(WindowIcon::Encode(WindowIcon::kMaxSide + 1, Gradient(WindowIcon::kMaxSide + 1)).empty());
    EXPECT_TRUE(WindowIcon::Encode(16, Gradient(15)).empty());

    const std::vector<unsigned char> good = WindowIcon::Encode(16, Gradient(16));
    struct Case {
        const char* what;
        size_t size;
        size_t at;
        unsigned char value;
        int side;
    };
    const Case cases[] = {
        {"asked for another size", good.size(), 0, 'B', 32},
        {"one byte short", good.size() - 1, 0, 'B', 16},
        {"only the header", WindowIcon::kHeaderSize, 0, 'B', 16},
        {"empty", 0, 0, 'B', 16},
        {"a bad magic", good.size(), 3, 'X', 16},
        {"a width that is not the side", good.size(), 4, 17, 16},
        {"a height that is not the side", good.size(), 11, 1, 16},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = good;
        bytes[c.at] = c.value;
        std::vector<unsigned long> cardinals;
        EXPECT_FALSE(WindowIcon::Decode(bytes.data(), c.size, c.side, cardinals)) << c.what;
        EXPECT_TRUE(cardinals.empty()) << c.what;
    }
    const unsigned char nothing[WindowIcon::kHeaderSize] = {'B', 'M', 'I', 'C'};
    std::vector<unsigned long> cardinals;
    EXPECT_FALSE(WindowIcon::Decode(nothing, sizeof nothing, 0, cardinals)) << "an icon of no pixels";
}

TEST(WindowIcon, ReadsTheBuildsFilesAndNoLongerOrMissingOne)
{
    for (int side : WindowIcon::kSides) {
        std::vector<unsigned long> cardinals;
        ASSERT_TRUE(WindowIcon::Read(WindowIcon::IconPath(side), side, cardinals)) << WindowIcon::IconPath(side);
        const unsigned long centre = cardinals[2 + static_cast<size_t>(side) * side / 2 + side / 2];
        EXPECT_EQ(centre >> 24, 0xFFu) << "the icon's middle is opaque at " << side << " px";
    }
    const std::string longer = testing::TempDir() + "/longer.argb";
    std::vector<unsigned char> bytes = WindowIcon::Encode(16, Gradient(16));
    bytes.push_back(0);
    FILE* f = fopen(longer.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    std::vector<unsigned long> cardinals;
    EXPECT_FALSE(WindowIcon::Read(longer, 16, cardinals)) << "a byte past the pixels";
    EXPECT_FALSE(WindowIcon::Read(longer + ".missing", 16, cardinals));
    EXPECT_FALSE(WindowIcon::Read(longer, 100000, cardinals)) << "no side beyond the largest icon";
    EXPECT_TRUE(cardinals.empty());
    remove(longer.c_str());
}

class GameWindow : public testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        dpy = glXGetCurrentDisplay();
        game = glXGetCurrentDrawable();
        Sys::RememberGameWindow();
    }
    Display* dpy = nullptr;
    Window game = 0;
};

TEST_F(GameWindow, CarriesItsClassProcessTypeAndEveryIconSize)
{
    Atom type = None;
    const std::vector<unsigned long> wm_class = Property("WM_CLASS", &type);
    EXPECT_EQ(type, XA_STRING);
    EXPECT_EQ(std::string(wm_class.begin(), wm_class.end()), std::string("burrowmere\0Burrowmere\0", 22));
    EXPECT_EQ(Property("_NET_WM_PID"), std::vector<unsigned long>{static_cast<unsigned long>(getpid())});
    EXPECT_EQ(Property("_NET_WM_WINDOW_TYPE", &type),
              std::vector<unsigned long>{XInternAtom(dpy, "_NET_WM_WINDOW_TYPE_NORMAL", False)});
    EXPECT_EQ(type, XA_ATOM);

    const std::vector<unsigned long> icon = Property("_NET_WM_ICON", &type);
    EXPECT_EQ(type, XA_CARDINAL);
    std::vector<unsigned long> sides;
    for (size_t at = 0; at + 1 < icon.size(); at += 2 + icon[at] * icon[at + 1]) {
        EXPECT_EQ(icon[at], icon[at + 1]);
        sides.push_back(icon[at]);
    }
    EXPECT_EQ(sides, (std::vector<unsigned long>{16, 32, 48, 64, 128}));
}

TEST_F(GameWindow, TheCompositorHintIsOneInFullScreenAndAbsentInTheWindow)
{
    for (bool full_screen : {true, false, false, true, false}) {
        Sys::SetFullScreenHint(full_screen);
        Atom type = None;
        const std::vector<unsigned long> hint = Property("_NET_WM_BYPASS_COMPOSITOR", &type);
        EXPECT_EQ(hint, full_screen ? std::vector<unsigned long>{1} : std::vector<unsigned long>{});
        EXPECT_EQ(type, full_screen ? XA_CARDINAL : None);
    }
}

// A frame window made after the game has taken focus samples, as a window
// manager started after the game makes one: the game inside it has the focus
// held by the frame, and loses it when taken out again.
TEST_F(GameWindow, FocusOnAFrameFollowsTheGameWindowInAndOut)
{
    Window root = DefaultRootWindow(dpy);
    Window frame = XCreateSimpleWindow(dpy, root, 0, 0, 600, 600, 0, 0, 0);
    XMapWindow(dpy, frame);
    XSync(dpy, False);
    XSetInputFocus(dpy, frame, RevertToPointerRoot, CurrentTime);
    XSync(dpy, False);
    EXPECT_FALSE(Sys::SampleInput().focused) << "a stranger's window has the focus";
    XReparentWindow(dpy, game, frame, 0, 0);
    XSync(dpy, False);
    EXPECT_TRUE(Sys::SampleInput().focused) << "the frame holding the game has the focus";
    XReparentWindow(dpy, game, root, 0, 0);
    XSync(dpy, False);
    EXPECT_FALSE(Sys::SampleInput().focused) << "out of the frame again";
    XSetInputFocus(dpy, PointerRoot, RevertToPointerRoot, CurrentTime);
    XDestroyWindow(dpy, frame);
    XSync(dpy, False);
}

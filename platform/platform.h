// The handful of things the game asks of the operating system, behind one interface.
// platform_x11.cpp implements it for Linux/X11; platform_fake.cpp is a scriptable
// stand-in that lets tests drive the frame without a window manager.
#pragma once

#include <cstdint>
#include <string>

namespace Sys {

// Single instance. AcquireInstanceLock() returns false when another copy of the
// game already runs for this user on this display; the lock is held until exit.
bool AcquireInstanceLock(const char* title);
// Tells the player the game is already running: a small modal window with an OK
// button, or a line on stderr when there is no display. Returns after OK.
void ShowStartupFail(const char* caption, const char* text);

// Keys and buttons the frame samples.
enum class Key { LeftButton, F1, R, B, G };
constexpr int kKeyCount = 5;

// What the player holds and whether the game's window has the keyboard focus,
// all taken at one moment.
struct InputSample {
    bool focused = false;
    bool held[kKeyCount] = {};
    bool Held(Key key) const { return held[static_cast<int>(key)]; }
};

// Remembers the game's own window (the current drawable of the GL context) and
// introduces it to the desktop: its class (instance "burrowmere", class
// "Burrowmere", as the desktop entry's StartupWMClass names it), the process id,
// the normal window type and the icon sizes found in Data/icon/.
void RememberGameWindow();

// Tells the desktop whether the game is full screen: a compositor then leaves the
// full-screen game's frames alone, and composites the window again once it is
// one. Called at start-up and with every switch.
void SetFullScreenHint(bool full_screen);

// Samples the focus, the left button and the keys together, in one round trip to
// the window system: the frame calls it once, so every reader agrees.
InputSample SampleInput();

// Returns when the window system has news for the game (an event) or after
// timeout_ms: a game in the background rests here instead of drawing frames.
void WaitForEvents(int timeout_ms);

// Puts the game's window over the whole screen at (0, 0) when no window manager
// looks after it. Called a frame after GLUT was asked for full screen.
void CoverScreen();

// Milliseconds from a monotonic clock, wrapping at 2^32.
uint32_t Milliseconds();

// Opens a file or address in the user's default application. Fire and forget.
bool OpenDocument(const char* path);

// Name of the platform's swap-control extension that was found, or nullptr.
const char* SwapControlExtension();
// Turns off waiting for the vertical retrace; false when no way exists.
bool SetSwapIntervalZero();

// Folder holding the running executable, with a trailing '/'; empty if unknown.
std::string ExecutableFolder();

} // namespace Sys

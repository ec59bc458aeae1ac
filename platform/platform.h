// The handful of things the game asks of the operating system, behind one interface.
// platform_x11.cpp implements it for Linux/X11; platform_fake.cpp is a scriptable
// stand-in that lets tests drive the frame without a window manager.
#pragma once

#include <cstdint>
#include <string>

namespace Sys {

// Keys and buttons the frame polls at the moment it needs them.
enum class Key { LeftButton, F1, R, B, G };

// Single instance. AcquireInstanceLock() returns false when another copy of the
// game already runs for this user on this display; the lock is held until exit.
bool AcquireInstanceLock(const char* title);
// Tells the player the game is already running: a small modal window with an OK
// button, or a line on stderr when there is no display. Returns after OK.
void ShowStartupFail(const char* caption, const char* text);

// Whether the game's own window has the keyboard focus right now.
bool GameWindowHasFocus();
// Remembers the game's own window (the current drawable of the GL context).
void RememberGameWindow();

// Milliseconds from a monotonic clock, wrapping at 2^32.
uint32_t Milliseconds();

// Whether the key or button is held at the moment of the call.
bool KeyHeld(Key key);

// Opens a file or address in the user's default application. Fire and forget.
bool OpenDocument(const char* path);

// Name of the platform's swap-control extension that was found, or nullptr.
const char* SwapControlExtension();
// Turns off waiting for the vertical retrace; false when no way exists.
bool SetSwapIntervalZero();

// Folder holding the running executable, with a trailing '/'; empty if unknown.
std::string ExecutableFolder();

} // namespace Sys

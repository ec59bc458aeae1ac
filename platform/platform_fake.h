// Controls of the scriptable platform used by tests: key state, focus and clock.
#pragma once

#include "platform/platform.h"
#include <functional>
#include <string>

namespace Sys::Fake {

void SetKey(Key key, bool held);
void ReleaseAllKeys();
void SetFocus(bool focused);
void SetMilliseconds(uint32_t ms);
void SetInstanceRunning(bool running);    // makes AcquireInstanceLock() fail
// Runs after every input sample, so a test can change the input in mid-frame.
void SetPollHook(std::function<void()> hook);
// What the game asked of the platform, for tests to check.
int StartupFailShown();
int SwapIntervalRequests();
const std::string& LastOpenedDocument();
int OpenedDocuments();
int Rests();          // WaitForEvents() calls with a timeout of 1 to 100 ms
int ScreenCovers();   // CoverScreen() calls
int WindowIntroductions();   // RememberGameWindow() calls
int FullScreenHint();        // the last SetFullScreenHint(): 1 full screen, 0 windowed, -1 never told
int FullScreenHints();       // SetFullScreenHint() calls

} // namespace Sys::Fake

// A platform without an OS: tests set the keys, focus and clock the game will see.
#include "platform/platform_fake.h"

#include <utility>

namespace {
bool keys[Sys::kKeyCount];
bool focus = true;
uint32_t now_ms = 0;
bool other_instance = false;
int fail_shown = 0;
int swap_requests = 0;
int opened = 0;
std::string last_document;
std::function<void()> poll_hook;
int rests = 0;
int covers = 0;
int introductions = 0;
int full_screen_hint = -1;
int full_screen_hints = 0;
} // namespace

namespace Sys {

bool AcquireInstanceLock(const char*) { return !other_instance; }
void ShowStartupFail(const char*, const char*) { ++fail_shown; }
void RememberGameWindow() { ++introductions; }
void SetFullScreenHint(bool full_screen)
{
    full_screen_hint = full_screen ? 1 : 0;
    ++full_screen_hints;
}
InputSample SampleInput()
{
    InputSample sample;
    sample.focused = focus;
    for (int k = 0; k < kKeyCount; ++k)
        sample.held[k] = keys[k];
    if (poll_hook)
        poll_hook();
    return sample;
}
void WaitForEvents(int timeout_ms)
{
    if (timeout_ms >= 1 && timeout_ms <= 100)
        ++rests;
}
void CoverScreen() { ++covers; }
uint32_t Milliseconds() { return now_ms; }
bool OpenDocument(const char* path)
{
    ++opened;
    last_document = path ? path : "";
    return true;
}
const char* SwapControlExtension() { return "GLX_fake_swap_control"; }
bool SetSwapIntervalZero()
{
    ++swap_requests;
    return true;
}
std::string ExecutableFolder() { return ""; }

namespace Fake {
void SetKey(Key key, bool held) { keys[static_cast<int>(key)] = held; }
void ReleaseAllKeys()
{
    for (bool& k : keys)
        k = false;
}
void SetFocus(bool focused) { focus = focused; }
void SetMilliseconds(uint32_t ms) { now_ms = ms; }
void SetInstanceRunning(bool running) { other_instance = running; }
void SetPollHook(std::function<void()> hook) { poll_hook = std::move(hook); }
int StartupFailShown() { return fail_shown; }
int SwapIntervalRequests() { return swap_requests; }
const std::string& LastOpenedDocument() { return last_document; }
int OpenedDocuments() { return opened; }
int Rests() { return rests; }
int ScreenCovers() { return covers; }
int WindowIntroductions() { return introductions; }
int FullScreenHint() { return full_screen_hint; }
int FullScreenHints() { return full_screen_hints; }
} // namespace Fake

} // namespace Sys

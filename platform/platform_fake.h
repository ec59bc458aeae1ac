// Controls of the scriptable platform used by tests: key state, focus and clock.
#pragma once

#include "platform/platform.h"
#include <string>

namespace Sys::Fake {

void SetKey(Key key, bool held);
void ReleaseAllKeys();
void SetFocus(bool focused);
void SetMilliseconds(uint32_t ms);
void SetInstanceRunning(bool running);    // makes AcquireInstanceLock() fail
// What the game asked of the platform, for tests to check.
int StartupFailShown();
int SwapIntervalRequests();
const std::string& LastOpenedDocument();
int OpenedDocuments();

} // namespace Sys::Fake

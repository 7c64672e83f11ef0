// The first run: unless Config.ini says the first run was handled, the
// welcome page is offered once, then the fact is written. UI thread.
#pragma once

#include <functional>

#include "app/configkeys.h"

namespace quillon::app {

inline constexpr const char* kFirstExecSection = "FirstExec";
inline constexpr const char* kFirstExecKey = "Value";
inline constexpr const char* kFirstExecDone = "1";

// Opens the page (openWelcomePage) unless "Value" of "FirstExec" is exactly
// "1", then writes "1" to that key: the page is opened before the key is
// written, and the key is written whether or not the page opened, so the
// page is offered once.
void runFirstRun(ConfigKeys& config, const std::function<void()>& openWelcomePage);

}  // namespace quillon::app

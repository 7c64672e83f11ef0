#include "app/firstrun.h"

namespace quillon::app {

void runFirstRun(ConfigKeys& config, const std::function<void()>& openWelcomePage) {
  if (config.readKey(kFirstExecSection, kFirstExecKey) == kFirstExecDone) return;
  openWelcomePage();
  config.writeKey(kFirstExecSection, kFirstExecKey, kFirstExecDone);
}

}  // namespace quillon::app

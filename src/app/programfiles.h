// The program's files on this machine: Config.ini and the welcome page,
// found from where the program runs. UI thread; needs the application's name.
#pragma once

#include <QString>

#include "app/configlocation.h"

namespace quillon::app {

// Where this program runs, as the Config.ini rule needs it.
ProgramPlace currentProgramPlace();
QString configIniFile(const ProgramPlace& place);
// The first welcome page that exists; empty when none does.
QString findWelcomePage(const ProgramPlace& place);

}  // namespace quillon::app

#pragma once

namespace tarvane {

// Whether the Qt libraries the program runs on (not those it was built against: a package
// built on one release may run with a later Qt) are older than major.minor. Each workaround
// for a fault of an older Qt asks this, so that a Qt that mends the fault is left to do its
// own work.
bool RunningQtBefore(int major, int minor);

} // namespace tarvane

// One value for the whole process: there is one run per process.
#include "core/run_status.h"

namespace vx {
namespace {

int g_status = 0;

}  // namespace

void recordNotificationFailed() { g_status = kExitNotificationFailed; }
int runExitStatus() { return g_status; }
void forgetRunStatus() { g_status = 0; }

}  // namespace vx

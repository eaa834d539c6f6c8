// The system's requests to stop a program without a window, turned into a CancelSignal: on
// Linux SIGTERM and SIGINT, on Windows the console's Ctrl+C and Ctrl+Break (the close, logoff
// and shutdown events end the process when their handler returns, so they are left to the
// system's default here). The handler only gives the signal, so a request that comes while the
// program is already stopping (writing its last file, say) changes nothing and cuts nothing.
#pragma once

#include "platform/cancel_signal.h"

namespace platform {

// From now on every stop request gives `stop`, which must live until the process ends. On
// Linux SIGPIPE is ignored as well, so a closed standard error or socket gives a write error
// instead of ending the process. Call once, before starting threads.
void CancelOnStopRequests(CancelSignal& stop);

}  // namespace platform

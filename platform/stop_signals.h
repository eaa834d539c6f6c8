// The system's requests to stop a program, turned into a CancelSignal: on Linux SIGTERM,
// SIGINT and SIGHUP (the end of the terminal or login session; left ignored when the program
// was started ignoring it, as by nohup), on Windows the console's Ctrl+C, Ctrl+Break and close
// events. The handler only gives the signal, so a request that comes while the program is
// already stopping (writing its last file, say) changes nothing and cuts nothing. Windows ends
// the process as soon as a close event's handler returns (and at the latest some 5 seconds
// after the event), so that handler does not return: the program ends by leaving main once it
// has stopped.
#pragma once

#include "platform/cancel_signal.h"

namespace platform {

// From now on every stop request gives `stop`, which must live until the process ends. On
// Linux SIGPIPE is ignored as well, so a closed standard error or socket gives a write error
// instead of ending the process. Call once, before starting threads.
void CancelOnStopRequests(CancelSignal& stop);

}  // namespace platform

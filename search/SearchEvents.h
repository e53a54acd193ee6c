// The two process-wide events through which a front end steers the search worker. Both are
// manual-reset, so a state holds until somebody changes it.
#pragma once

#include "platform/ManualResetEvent.h"

// Set when a stop is requested; reset by the front end once the worker has ended.
extern CEvent g_evtStop;
// The run gate: set while the search may go on, reset while it is paused. The worker waits on
// it before every directory entry it fetches.
extern CEvent g_evtRun;

#include "search/SearchEvents.h"

// Defined together so that they are built in this order at start-up, before any window exists.
CEvent g_evtStop(false);
CEvent g_evtRun(true);

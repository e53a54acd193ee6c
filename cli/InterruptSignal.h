// Ctrl-C for twinsift-cli. The handler only records the request; the main thread sees it and
// stops the search. After the first Ctrl-C the default action is back, so a second one ends
// the program at once (for instance during one long comparison).
#pragma once

// Installs the SIGINT handler and forgets any earlier request.
void InstallInterruptHandler();
// Puts the default SIGINT action back.
void RemoveInterruptHandler();
// Whether Ctrl-C was pressed since the handler was installed.
bool InterruptRequested();

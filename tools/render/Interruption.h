// Stopping a long run cleanly on Ctrl-C.
#pragma once

// Makes SIGINT, SIGTERM and SIGHUP (a closed terminal) only set a flag, so
// that a run can stop between blocks and remove its unfinished output
// instead of leaving it behind.
void installInterruptionHandler();

// True once the user asked the program to stop.
bool interruptionRequested();

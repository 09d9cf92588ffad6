#pragma once

// The signals that ask a command-line process to end (SIGINT, SIGTERM, SIGHUP), taken by a thread of
// its own so that the process can clean up with ordinary code instead of inside a signal handler.
namespace plat::posix {

// Blocks the signals in the calling thread; call it before any other thread exists, so all inherit it.
void blockEndSignals();
// Waits for the next of them and returns its number.
int waitForEndSignal();
// Ends the process the way the signal would have (its default action), after flushing stdout.
[[noreturn]] void endBySignal(int sig);

} // namespace plat::posix

#pragma once
// What the process does for its own safety before any password exists.

namespace zintrova {

// Turns core dumps off (and, on Linux, keeps other processes of the user from reading this
// one's memory), so that a crash leaves no passwords on disk. A developer who needs a core file
// sets ZINTROVA_ALLOW_CORE_DUMPS=1 in the environment.
void DisableCoreDumps();

// Fills the program's random source once. When the system gives no secure random numbers, a
// message box says so and the result is false: the program then ends without a window and
// without touching its settings file.
bool SecureRandomAtStart(int &argc, char **argv);

} // namespace zintrova

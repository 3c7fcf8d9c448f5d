#pragma once
// Menu command 32797: a new host library file copied into the system directory.

#include <chrono>

namespace dbkeel {

// Asks for the file; stops the receive loop (waiting at most `receiveLoopWait`); then, holding every
// other user of the host library out of it, closes channel 10, unloads the library, puts a copy of
// the file under its own name into the system directory, binds the library again and reopens
// channel 10 on PORTID; starts the receive loop again when it was running.
void replaceHostLibrary(std::chrono::milliseconds receiveLoopWait = std::chrono::milliseconds(500));

}  // namespace dbkeel

#pragma once
// Menu command 32797: a new host library file copied into the system directory.

#include <chrono>

namespace dbkeel {

// Asks for the file; stops the receive loop (waiting at most `receiveLoopWait`), unloads the host
// library and puts a copy of the file under its own name into the system directory. The library
// is not loaded again: the program runs without it until it is restarted.
void replaceHostLibrary(std::chrono::milliseconds receiveLoopWait = std::chrono::milliseconds(500));

}  // namespace dbkeel

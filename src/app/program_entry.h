#pragma once

namespace lw {

// Runs the program: sets the application title, creates the main window (which runs its
// start-up sequence), shows it and runs the event loop until it is closed. Returns the exit
// code.
int runProgram(int argc, char** argv);

}  // namespace lw

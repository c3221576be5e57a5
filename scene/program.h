// The program's main routine: start-up question, window, render state, scene
// set-up, the frame loop and the shutdown.
#pragma once

namespace grass {

// Runs the whole program; its result is the process's exit status.
int run_program();

}  // namespace grass

// The game's run: builds the window and runs the main loop until the window is gone.
#pragma once

struct MainWindow;

// Returns 0 when the window closes, 1 when it never opened. Can run more than once a process.
int runGame();

// The window a running runGame plays in, or null; for tests that watch the game between turns.
MainWindow* runningGame();

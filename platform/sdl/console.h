// Where the program's own words go before its window opens: the help, the version, what is
// wrong with the command line; and stderr made to pass each line on at once.
#pragma once
#include <string>

namespace disp_sdl::console {

// Makes every later line on stderr arrive when it is written, not when the program ends (a
// Windows program's stderr into a pipe or a file is otherwise held back).
void Start();
// Shows text, whole lines: the help or the version (error false), or what is wrong (error
// true). On stdout or stderr where the program has them (console_stdio.cpp); on Windows, a GUI
// program, else in the console of the program that started it, else in a message box
// (console_windows.cpp).
void Show(const std::string& text, bool error);

}  // namespace disp_sdl::console

// Clean file for the no-SDL check: the word SDL alone is fine.
int Sdl() { return 0; }

// Planted offender for the no-SDL check: names an SDL function.
void Wait() { SDL_Delay(1); }

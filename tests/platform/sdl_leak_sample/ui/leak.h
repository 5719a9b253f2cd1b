// Planted offender for the no-SDL check: includes an SDL header.
#pragma once
#include <SDL.h>

// The board record's invariants, checked from outside; usable by any test.
#pragma once
#include <string>

#include "board/minebd.h"

// Empty when every invariant holds; otherwise the first one broken and where.
std::string checkInvariants(const MineBd& bd);

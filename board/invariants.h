// The board record's invariants, checked from outside; usable by any test.
#pragma once
#include <string>

#include "board/minebd.h"

// Mines among the on-board neighbours of (x, y), idle rows included, counted afresh.
int minesAround(const MineBd& bd, int x, int y);

// Empty when every invariant holds; otherwise the first one broken and where.
std::string checkInvariants(const MineBd& bd);

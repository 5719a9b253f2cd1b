// The benchmarks' one window, made as the game makes it: zeroed memory, then the constructor.
#pragma once
#include <cstdlib>
#include <new>

#include "ui/mainwindow.h"

namespace bench {

inline MainWindow& window() {
    static MainWindow* w = new (std::calloc(1, sizeof(MainWindow))) MainWindow;
    return *w;
}

}  // namespace bench

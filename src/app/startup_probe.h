#pragma once

class QWidget;

// For the start-up benchmark only: when KARDEON_STARTUP_BENCH is set, prints the wall-clock time
// at which the window was first painted ("drawn_at_ns=...") and ends the program.
void WatchFirstPaintForBenchmark(QWidget *window);

// Generated decks shared by the benchmark programs.
#include "bench_decks.h"

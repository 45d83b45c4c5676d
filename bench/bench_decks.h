#pragma once

// Generated decks shared by the benchmark programs.

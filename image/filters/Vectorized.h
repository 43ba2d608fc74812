#pragma once

// Marks a function whose inner loops should run over vector lanes. GCC spreads loops over
// lanes only at -O3 unless asked; clang does so at -O2 already.
#if defined(__GNUC__) && !defined(__clang__)
#define VECTORIZED __attribute__((optimize("tree-vectorize")))
#else
#define VECTORIZED
#endif

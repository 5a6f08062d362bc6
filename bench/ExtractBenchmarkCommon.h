#pragma once

#include <chrono>

// Best-of-N wall time of f, in seconds: the minimum filters out scheduler noise on a busy machine.
template <typename F> double BestSeconds(int runs, F f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed.count() < best)
            best = elapsed.count();
    }
    return best;
}

// One line per goal, the same in every benchmark: what was measured, its figure, the baseline
// measured in the same run, their ratio, the goal, and whether it holds.
#pragma once

#include <cstdio>

inline void printGoal(const char* what, double figure, double baseline, const char* unit,
                      const char* goal, bool holds) {
    const double ratio = baseline > 0 ? figure / baseline : 0;
    std::printf("%-34s %9.2f %-3s baseline %9.2f %-3s ratio %5.2f  goal %-18s %s\n", what, figure,
                unit, baseline, unit, ratio, goal, holds ? "holds" : "MISSED");
}

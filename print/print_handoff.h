#pragma once

#include <cstdint>

namespace hvr {

// What the print options dialog hands back to the main window.
struct PrintHandOff {
    static constexpr int kUndecided = 0;
    static constexpr int kPrint = 10;
    static constexpr int kCancel = 9;

    int dayinlin = kUndecided;
    int dakai = 0; // first sheet, from 0
    int dajie = 1; // last sheet, from 1
};

} // namespace hvr

// The benchmark's shared pieces: finding a window by its title, and timing a click to the exec
// of the program the click starts.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

std::optional<Window> findWindow(Display* d, const std::string& title);

struct ClickTarget {
    std::vector<std::string> argv; // the window's program and its arguments
    bool passTool = false;         // append the started tool's path to argv
    std::string title;
    int x, y; // where to click, in the window's client area
};

struct ClickFigures {
    double medianMs;
    double firstMs; // the first click, when a desktop may still be learning what it runs
};

// Starts the window with a stamping stand-in for gnome-control-center first on its PATH, on a
// GNOME desktop, clicks it `runs` times and times each click to the stand-in's first instruction.
std::optional<ClickFigures> clickToExec(Display* d, const ClickTarget& target,
                                        const std::string& stampTool, int runs);

// Shows the generator's window for a while and ends, so that the window can be looked
// at (the generator itself is gone in a moment). It writes no files.
// Usage: window_preview [milliseconds [prompt]]
// The window stays up for the given time (default 10000); with a prompt, the message
// box of a fatal error then shows it and the program ends when OK is pressed.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/platform.hpp"

int main(int argc, char** argv) {
    const long ms = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    auto platform = scenario::make_platform();
    platform->show_window("Attendere");
    std::this_thread::sleep_for(std::chrono::milliseconds(ms > 0 ? ms : 0));
    if (argc > 2) {
        platform->message_box(argv[2]);
    }
    return 0;
}

#include "app/run_sequence.hpp"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
#else
int main() {
#endif
    auto platform = scenario::make_platform();
    return scenario::Form_Load(*platform);
}

#include <iostream>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "cli/commands.hpp"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
#if defined(__GLIBC__)
    // A command that runs once keeps the memory a step frees for the next step: the
    // allocator neither maps large blocks apart nor hands the heap's top back, so no
    // page is faulted in twice. The programs that keep running (serve, lsp) give
    // memory back after a large document as usual.
    if (args.empty() || (args.front() != "serve" && args.front() != "lsp")) {
        mallopt(M_MMAP_THRESHOLD, 256 << 20);
        mallopt(M_TRIM_THRESHOLD, 512 << 20);
    }
#endif
    const int status = scenario::cli::run_tool(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}

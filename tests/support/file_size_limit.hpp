#pragma once

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace scenario::testing {

// Runs `work` in a child process whose files may grow to at most `limit` bytes, as on
// a disk that fills up in the middle of a file. Returns the child's exit status, or
// -1 when it did not exit normally.
inline int run_with_file_size_limit(rlim_t limit, const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
        const rlimit r{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &r);
        ::_exit(work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace scenario::testing
#endif

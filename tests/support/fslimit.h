#pragma once

#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// A full disk for one piece of code, without touching any device: `fn` runs in a forked child
// whose files cannot grow beyond `bytes` (RLIMIT_FSIZE; with SIGXFSZ ignored, writes beyond the
// limit fail with EFBIG as on a full disk). The limit ends with the child. Returns what fn
// returned, or nothing when the child did not exit normally.
inline std::optional<bool> inChildWithFileSizeLimit(rlim_t bytes, const std::function<bool()>& fn)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        bool result = false;
        if (::setrlimit(RLIMIT_FSIZE, &limit) == 0) {
            try {
                result = fn();
            } catch (...) {
                result = false;
            }
        }
        ::_exit(result ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

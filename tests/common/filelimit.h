// A full disk while the object lives: no file of this process may grow past `bytes`, and the
// signal that would end the process is ignored, so a write past the limit fails as on a full disk.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace tintra::test {

struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = previous;
        r.rlim_cur = bytes;
        ok = setrlimit(RLIMIT_FSIZE, &r) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, handler);
    }
    bool ok = false;
    rlimit previous{};
    void (*handler)(int) = nullptr;
};

} // namespace tintra::test

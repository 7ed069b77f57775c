// A full disk for the life of the object: no file of this process may grow past `bytes` (the
// file-size limit), and the signal that would end the process is ignored, so a write past the
// limit fails with an error as it would on a full disk. Works without special rights.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace tintra::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = previous;
        r.rlim_cur = bytes;
        ok = setrlimit(RLIMIT_FSIZE, &r) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool ok = false;

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

} // namespace tintra::test

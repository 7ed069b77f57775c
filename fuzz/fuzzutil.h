// Shared by the fuzz targets: the Qt application object, popups that stay silent, the input as a
// file, and a check that stops the run with a message.
#pragma once

#include "link/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace fuzz {

// Called once per process, before the first input.
inline void Init()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = nullptr;
    if (app)
        return;
    app = new QCoreApplication(argc, argv);
    tintra::PopupHandler quiet;
    quiet.message = [](const QString &, const QString &) {};
    quiet.confirm = [](const QString &, const QString &) { return 0; };
    tintra::SetPopupHandler(quiet);
}

// A directory of this process's own, made once (under /dev/shm when there is one).
inline QString WorkDir()
{
    static const QString dir = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                        : QDir::tempPath();
        const QString d = QStringLiteral("%1/tintra-fuzz-%2").arg(base).arg(::getpid());
        QDir().mkpath(d);
        return d;
    }();
    return dir;
}

// Writes the input to WorkDir()/name, replacing what the last input left there.
inline QString InputFile(const char *name, const uint8_t *data, size_t size)
{
    const QString path = WorkDir() + QLatin1Char('/') + QLatin1String(name);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || (size && ::write(fd, data, size) != ssize_t(size))) {
        std::perror("fuzz input file");
        std::abort();
    }
    ::close(fd);
    return path;
}

} // namespace fuzz

// A property that must hold for every input; a violation stops the run like a crash.
#define FUZZ_CHECK(cond)                                                                         \
    do {                                                                                         \
        if (!(cond)) {                                                                           \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);        \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

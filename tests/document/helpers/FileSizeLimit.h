#pragma once

// A file-size limit (RLIMIT_FSIZE) makes write() fail with EFBIG past the limit, as a full
// disk does with ENOSPC, without root and without a special file system. SIGXFSZ is
// ignored so the process gets the error instead of being killed.

#include <QProcess>

#include <csignal>
#include <sys/resource.h>

// Sets the limit for the calling process while it exists (the soft limit goes back after).
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        m_ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

    bool Ok() const { return m_ok; }

private:
    rlimit m_old {};
    void (*m_handler)(int) = SIG_DFL;
    bool m_ok = false;
};

// Gives a child process the limit (0: none) between fork and exec.
inline void LimitChildFileSize(QProcess &process, rlim_t bytes)
{
    process.setChildProcessModifier([bytes] {
        std::signal(SIGXFSZ, SIG_IGN);
        if (bytes > 0) {
            rlimit limit {};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = bytes;
            setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
}

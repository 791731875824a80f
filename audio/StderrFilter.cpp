#include "audio/StderrFilter.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr std::string_view AssertionStart = "Expression '";

// The filter's state; lives until the process ends.
struct TFilterState
{
    TStderrFilter::TDropRule Drop = nullptr;
    int Original = -1; // the descriptor stderr had before
    int Read = -1; // the pipe's read end
    int Wake[2] = { -1, -1 }; // flush and stop requests to the thread
    std::thread Thread;
    std::string Pending; // part of a line not passed on yet
    std::mutex Mutex;
    std::condition_variable Flushed;
    unsigned long long Requested = 0; // flush requests, and those the thread has served
    unsigned long long Served = 0;
    bool Ended = false; // the thread has ended; under Mutex
    std::atomic<bool> Stop { false };
};

TFilterState &State()
{
    static TFilterState *state = new TFilterState; // never destroyed: the thread may run
    return *state;
}

void WriteAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= size_t(n);
    }
}

// True while `text` may still grow into a line the rule could drop.
bool MayBecomeAssertion(std::string_view text)
{
    const size_t n = std::min(text.size(), AssertionStart.size());
    return text.substr(0, n) == AssertionStart.substr(0, n);
}

void PassOn(TFilterState &s, const char *data, size_t size, bool final)
{
    s.Pending.append(data, size);
    size_t start = 0;
    for (size_t nl = s.Pending.find('\n'); nl != std::string::npos;
         nl = s.Pending.find('\n', start)) {
        const std::string_view line(s.Pending.data() + start, nl - start);
        if (!s.Drop(line))
            WriteAll(s.Original, line.data(), line.size() + 1);
        start = nl + 1;
    }
    s.Pending.erase(0, start);
    // A prompt or a line still being written goes out now unless it may be one to drop.
    if (!s.Pending.empty() && (final || !MayBecomeAssertion(s.Pending))) {
        WriteAll(s.Original, s.Pending.data(), s.Pending.size());
        s.Pending.clear();
    }
}

// Reads what the pipe holds without waiting.
void Drain(TFilterState &s, bool final)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(s.Read, buffer, sizeof buffer);
        if (n > 0) {
            PassOn(s, buffer, size_t(n), false);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // empty (EAGAIN) or every writer gone
    }
    if (final)
        PassOn(s, nullptr, 0, true);
}

void Run(TFilterState &s)
{
    while (!s.Stop.load()) {
        pollfd fds[2] = { { s.Read, POLLIN, 0 }, { s.Wake[0], POLLIN, 0 } };
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        Drain(s, false);
        if (fds[1].revents & POLLIN) {
            char sink[64];
            while (::read(s.Wake[0], sink, sizeof sink) > 0) { }
            std::lock_guard lock(s.Mutex);
            s.Served = s.Requested;
            s.Flushed.notify_all();
        }
        if (fds[0].revents & (POLLHUP | POLLERR) && !(fds[0].revents & POLLIN))
            break; // no writer left
    }
    Drain(s, true);
    std::lock_guard lock(s.Mutex);
    s.Served = s.Requested;
    s.Ended = true;
    s.Flushed.notify_all();
}

void Request(TFilterState &s)
{
    std::unique_lock lock(s.Mutex);
    const unsigned long long ticket = ++s.Requested;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s.Wake[1], &byte, 1);
    s.Flushed.wait(lock, [&] { return s.Served >= ticket || s.Ended; });
}

void Uninstall()
{
    TFilterState &s = State();
    // From here on, lines go to the terminal directly; the thread passes on the rest.
    ::dup2(s.Original, STDERR_FILENO);
    s.Stop = true;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s.Wake[1], &byte, 1);
    if (s.Thread.joinable())
        s.Thread.join();
}

} // namespace

bool TStderrFilter::Install(TDropRule drop)
{
    static std::once_flag once;
    static bool installed = false;
    std::call_once(once, [drop] {
        TFilterState &s = State();
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        if (::pipe(s.Wake) != 0) {
            ::close(fds[0]);
            ::close(fds[1]);
            return;
        }
        s.Drop = drop;
        s.Original = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        s.Read = fds[0];
        for (int fd : { fds[0], s.Wake[0], s.Wake[1] }) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        }
        ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
        if (s.Original < 0 || ::dup2(fds[1], STDERR_FILENO) < 0) {
            ::close(fds[0]);
            ::close(fds[1]);
            return;
        }
        ::close(fds[1]);
        try {
            s.Thread = std::thread([&s] { Run(s); });
        } catch (...) {
            ::dup2(s.Original, STDERR_FILENO);
            return;
        }
        std::atexit(&Uninstall);
        installed = true;
    });
    return installed;
}

bool TStderrFilter::Installed()
{
    return State().Thread.joinable();
}

bool TStderrFilter::IsPortAudioAssertion(std::string_view line)
{
    return line.substr(0, AssertionStart.size()) == AssertionStart
        && line.find("' failed in '") != std::string_view::npos
        && line.find("', line: ") != std::string_view::npos;
}

void TStderrFilter::Flush()
{
    if (Installed())
        Request(State());
}

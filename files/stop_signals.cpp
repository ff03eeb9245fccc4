#include "files/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <mutex>

namespace slabrating {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// The temporary name of the writer that holds the stop-signal handler: the handler
// removes it. `folder` is published last, so the handler never sees half a name.
struct PendingName {
    std::atomic<int> folder{-1};
    char name[64] = {};
};
PendingName g_pending;
std::mutex g_caughtMutex;
bool g_caught = false;
struct sigaction g_previous[std::size(kStopSignals)];
struct sigaction g_previousFileSize;

extern "C" void removePendingAndStop(int signal) {
    const int folder = g_pending.folder.load();
    if (folder >= 0) {
        ::unlinkat(folder, g_pending.name, 0);
    }
    // SA_RESETHAND has put the default action back; the signal raised again waits until
    // this handler returns and then stops the process as it would have without us.
    ::raise(signal);
}

}  // namespace

namespace files {

StopSignalsHeld::StopSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kStopSignals) {
        sigaddset(&held, signal);
    }
    sigaddset(&held, SIGXFSZ);
    ::pthread_sigmask(SIG_BLOCK, &held, &m_previous);
}

StopSignalsHeld::~StopSignalsHeld() {
    ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

StopSignalsCaught::StopSignalsCaught() {
    const std::lock_guard<std::mutex> lock(g_caughtMutex);
    if (g_caught) {
        return;
    }
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (::sigaction(kStopSignals[i], nullptr, &g_previous[i]) != 0 ||
            (g_previous[i].sa_handler != SIG_DFL && g_previous[i].sa_handler != SIG_IGN) ||
            (g_previous[i].sa_flags & SA_SIGINFO) != 0) {
            return;  // the process has its own handler: each write holds the signals
        }
    }
    struct sigaction caught = {};
    caught.sa_handler = removePendingAndStop;
    caught.sa_flags = SA_RESETHAND;
    sigemptyset(&caught.sa_mask);
    for (int signal : kStopSignals) {
        sigaddset(&caught.sa_mask, signal);
    }
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        // An ignored signal stops nothing and stays ignored (nohup).
        if (g_previous[i].sa_handler == SIG_DFL) {
            ::sigaction(kStopSignals[i], &caught, nullptr);
        }
    }
    struct sigaction ignored = {};
    ignored.sa_handler = SIG_IGN;
    sigemptyset(&ignored.sa_mask);
    ::sigaction(SIGXFSZ, &ignored, &g_previousFileSize);
    g_caught = true;
    m_active = true;
}

StopSignalsCaught::~StopSignalsCaught() {
    if (!m_active) {
        return;
    }
    const std::lock_guard<std::mutex> lock(g_caughtMutex);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        ::sigaction(kStopSignals[i], &g_previous[i], nullptr);
    }
    ::sigaction(SIGXFSZ, &g_previousFileSize, nullptr);
    g_pending.folder.store(-1);
    g_caught = false;
}

void StopSignalsCaught::pending(int folder, std::string_view name) {
    g_pending.folder.store(-1);
    const std::size_t length = std::min(name.size(), sizeof g_pending.name - 1);
    name.copy(g_pending.name, length);
    g_pending.name[length] = '\0';
    g_pending.folder.store(folder);
}

void StopSignalsCaught::done() {
    g_pending.folder.store(-1);
}

}  // namespace files

}  // namespace slabrating

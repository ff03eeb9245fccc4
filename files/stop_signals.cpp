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

// The temporary names the handler removes. `folder` is published last, so the handler
// never sees half a name.
struct PendingName {
    std::atomic<int> folder{-1};
    char name[64] = {};
};
PendingName g_pending[2];
std::mutex g_caughtMutex;
int g_users = 0;                // living StopSignalsCaught objects
bool g_caught = false;          // the handler is installed
std::atomic<int> g_waiting{0};  // living FirstStop::Waits objects
volatile sig_atomic_t g_requested = 0;
struct sigaction g_previous[std::size(kStopSignals)];
struct sigaction g_previousFileSize;

extern "C" void onStopSignal(int signal) {
    if (g_waiting.load() > 0 && g_requested == 0) {
        g_requested = signal;
        return;
    }
    for (PendingName& pending : g_pending) {
        const int folder = pending.folder.load();
        if (folder >= 0) {
            ::unlinkat(folder, pending.name, 0);
        }
    }
    // The default action back; the signal raised again waits until this handler returns
    // and then stops the process as it would have without us.
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
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

StopSignalsCaught::StopSignalsCaught(FirstStop first) {
    const std::lock_guard<std::mutex> lock(g_caughtMutex);
    if (g_users++ > 0) {
        m_active = g_caught;
    } else {
        m_active = g_caught = install();
    }
    if (m_active && first == FirstStop::Waits) {
        m_waits = true;
        if (g_waiting.fetch_add(1) == 0) {
            g_requested = 0;
        }
    }
}

bool StopSignalsCaught::install() {
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (::sigaction(kStopSignals[i], nullptr, &g_previous[i]) != 0 ||
            (g_previous[i].sa_handler != SIG_DFL && g_previous[i].sa_handler != SIG_IGN) ||
            (g_previous[i].sa_flags & SA_SIGINFO) != 0) {
            return false;  // the process has its own handler: each write holds the signals
        }
    }
    struct sigaction caught = {};
    caught.sa_handler = onStopSignal;
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
    return true;
}

StopSignalsCaught::~StopSignalsCaught() {
    const std::lock_guard<std::mutex> lock(g_caughtMutex);
    if (m_waits) {
        g_waiting.fetch_sub(1);
    }
    if (--g_users > 0 || !g_caught) {
        return;
    }
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        ::sigaction(kStopSignals[i], &g_previous[i], nullptr);
    }
    ::sigaction(SIGXFSZ, &g_previousFileSize, nullptr);
    for (PendingName& pending : g_pending) {
        pending.folder.store(-1);
    }
    g_caught = false;
}

void StopSignalsCaught::pending(PendingSlot slot, int folder, std::string_view name) {
    PendingName& pending = g_pending[static_cast<std::size_t>(slot)];
    pending.folder.store(-1);
    const std::size_t length = std::min(name.size(), sizeof pending.name - 1);
    name.copy(pending.name, length);
    pending.name[length] = '\0';
    pending.folder.store(folder);
}

void StopSignalsCaught::done(PendingSlot slot) {
    g_pending[static_cast<std::size_t>(slot)].folder.store(-1);
}

int StopSignalsCaught::requested() {
    return g_requested;
}

}  // namespace files

}  // namespace slabrating

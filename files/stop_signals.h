#pragma once
// The stop signals (INT, TERM, HUP, QUIT) and SIGXFSZ while a file of ours has a name in
// the user's folder.

#include <signal.h>

#include <string_view>

namespace slabrating::files {

/// The signals that ask a program to stop, and SIGXFSZ, held while a file of ours may
/// have a name in the user's folder: a batch stopped with Ctrl-C or SIGTERM leaves only
/// whole reports. SIGXFSZ waits too, so a file-size limit makes the write fail (and the
/// temporary go) instead of killing the process.
class StopSignalsHeld {
public:
    StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;
    ~StopSignalsHeld();

private:
    sigset_t m_previous;
};

/// For a writer of many files: the stop signals are caught once, for its whole life, by a
/// handler that removes the temporary name the writer has in the folder at that moment and
/// then stops the process as the signal would have; SIGXFSZ is ignored, so a file-size
/// limit makes a write fail. Where the process handles a stop signal itself, or another
/// writer holds the handler, `active()` is false and each write holds the signals instead.
class StopSignalsCaught {
public:
    StopSignalsCaught();
    StopSignalsCaught(const StopSignalsCaught&) = delete;
    StopSignalsCaught& operator=(const StopSignalsCaught&) = delete;
    ~StopSignalsCaught();

    bool active() const { return m_active; }
    /// The temporary `name` in `folder` now exists, or may at any moment (at most 63 bytes).
    void pending(int folder, std::string_view name);
    /// The temporary name is gone or has become the target.
    void done();

private:
    bool m_active = false;
};

}  // namespace slabrating::files

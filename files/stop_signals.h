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

/// The temporary names a stop-signal handler removes before the process stops: one of a
/// write in progress, one of a file streamed for the whole run (a summary).
enum class PendingSlot { Write, Streamed };

/// For a writer of many files: the stop signals are caught once, for its whole life, by a
/// handler that removes the temporary names of ours in the user's folders at that moment
/// and then stops the process as the signal would have; SIGXFSZ is ignored, so a file-size
/// limit makes a write fail. Where the process handles a stop signal itself, `active()` is
/// false and each write holds the signals instead. Several writers share one handler.
class StopSignalsCaught {
public:
    /// What the first stop signal does while this object lives.
    enum class FirstStop {
        Stops,  ///< the process stops at once, its temporaries removed
        Waits,  ///< the signal is only noted (`requested()`), for a caller that ends its own
                ///< work cleanly; a second one stops the process at once
    };
    explicit StopSignalsCaught(FirstStop first = FirstStop::Stops);
    StopSignalsCaught(const StopSignalsCaught&) = delete;
    StopSignalsCaught& operator=(const StopSignalsCaught&) = delete;
    ~StopSignalsCaught();

    bool active() const { return m_active; }
    /// The temporary `name` in `folder` now exists, or may at any moment (at most 63 bytes).
    static void pending(PendingSlot slot, int folder, std::string_view name);
    /// The temporary name is gone or has become the target.
    static void done(PendingSlot slot);
    /// The stop signal noted since the first FirstStop::Waits caller came; 0 for none.
    static int requested();

private:
    static bool install();

    bool m_active = false;
    bool m_waits = false;
};

}  // namespace slabrating::files

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "files/stop_signals.h"

int main(int argc, char** argv) {
    // Arguments are decoded from the user's character set; numbers never depend on the locale.
    std::setlocale(LC_CTYPE, "");
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    slabrating::cli::Terminal terminal;
    terminal.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    winsize size = {};
    if (terminal.errIsTerminal && ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0) {
        terminal.columns = size.ws_col;
    }
    const int status = slabrating::cli::run(args, std::cin, std::cout, std::cerr, terminal);
    // A batch stopped by a signal has ended its work cleanly; it now ends as the signal
    // would have ended it, so that a shell or a make sees the stop.
    if (const int signal = slabrating::files::StopSignalsCaught::requested(); signal != 0) {
        std::cout.flush();
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
    return status;
}

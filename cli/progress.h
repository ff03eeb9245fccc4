#pragma once
// The progress line of a batch on standard error: files done of the total, files a second
// and the time left, redrawn at most ten times a second and erased at the end.

#include <chrono>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

namespace slabrating::cli {

class Progress {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    /// A line for `total` files on `err`, cut to `columns` - 1 characters (0: not cut), so
    /// that the terminal never wraps it.
    Progress(
        std::ostream& err, std::size_t total, std::size_t columns,
        Clock clock = [] { return std::chrono::steady_clock::now(); });

    /// True when a tenth of a second has passed since the line was last drawn (or since the
    /// start): time to draw it again.
    bool due();
    /// Draws the line for `done` files, over the line drawn before.
    void draw(std::size_t done);
    /// Takes the line off the terminal, leaving the cursor where the line began.
    void erase();

    /// The line's text for `done` files after `seconds`.
    static std::string text(std::size_t done, std::size_t total, double seconds);

private:
    std::ostream& m_err;
    std::size_t m_total;
    std::size_t m_columns;
    Clock m_clock;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_last;
    std::size_t m_shown = 0;  // characters of the line on the terminal
};

}  // namespace slabrating::cli

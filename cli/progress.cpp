#include "cli/progress.h"

#include <cmath>
#include <ostream>

namespace slabrating::cli {

namespace {

// A redraw every tenth of a second at most: quicker is not read, and costs the batch.
constexpr std::chrono::milliseconds kRedraw{100};

// "1:05" or "2:03:07".
std::string duration(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    const long long hours = whole / 3600;
    const long long minutes = whole / 60 % 60;
    const long long rest = whole % 60;
    std::string text;
    if (hours > 0) {
        text = std::to_string(hours) + ':' + (minutes < 10 ? "0" : "");
    }
    text += std::to_string(minutes) + ':' + (rest < 10 ? "0" : "") + std::to_string(rest);
    return text;
}

}  // namespace

Progress::Progress(std::ostream& err, std::size_t total, std::size_t columns, Clock clock)
    : m_err(err), m_total(total), m_columns(columns), m_clock(std::move(clock)) {
    m_start = m_clock();
    m_last = m_start;
}

bool Progress::due() {
    const auto now = m_clock();
    if (now - m_last < kRedraw) {
        return false;
    }
    m_last = now;
    return true;
}

std::string Progress::text(std::size_t done, std::size_t total, double seconds) {
    std::string line = std::to_string(done) + " of " + std::to_string(total) + " files";
    if (done > 0 && seconds > 0) {
        const double rate = static_cast<double>(done) / seconds;
        line += ", " + std::to_string(std::llround(rate)) + " files/s, " +
                duration(static_cast<double>(total - done) / rate) + " left";
    }
    return line;
}

void Progress::draw(std::size_t done) {
    const std::chrono::duration<double> elapsed = m_last - m_start;
    std::string line = text(done, m_total, elapsed.count());
    if (m_columns > 1 && line.size() > m_columns - 1) {
        line.resize(m_columns - 1);
    }
    const std::size_t length = line.size();
    if (length < m_shown) {
        line.append(m_shown - length, ' ');
    }
    m_err << '\r' << line;
    if (length < m_shown) {
        m_err << '\r' << line.substr(0, length);
    }
    m_err.flush();
    m_shown = length;
}

void Progress::erase() {
    if (m_shown == 0) {
        return;
    }
    m_err << '\r' << std::string(m_shown, ' ') << '\r';
    m_err.flush();
    m_shown = 0;
}

}  // namespace slabrating::cli

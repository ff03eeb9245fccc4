#include "ui/placement.h"

#include <QLocale>
#include <QRect>
#include <algorithm>
#include <cmath>

#include "ui/platform.h"

namespace slabrating::ui {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// Beyond this a stored value is no screen position or window size (about 70 ft).
constexpr double kLargestTwips = 1.0e6;

int readOne(Platform& platform, const QString& key, int fallback) {
    return settingTwips(platform.readSetting(key)).value_or(fallback);
}

}  // namespace

int twipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int pixelsToTwips(int pixels, double dpi) {
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpi));
}

std::optional<int> settingTwips(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > kLargestTwips) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(value));
}

Placement readPlacement(Platform& platform, double dpi) {
    const Placement defaults;
    Placement placement;
    placement.left = readOne(platform, QStringLiteral("MainLeft"), defaults.left);
    placement.top = readOne(platform, QStringLiteral("MainTop"), defaults.top);
    placement.width = readOne(platform, QStringLiteral("MainWidth"), defaults.width);
    placement.height = readOne(platform, QStringLiteral("MainHeight"), defaults.height);
    // A stored size of nothing still puts the window's corner at the stored position.
    const QRect window(twipsToPixels(placement.left, dpi), twipsToPixels(placement.top, dpi),
                       std::max(1, twipsToPixels(placement.width, dpi)),
                       std::max(1, twipsToPixels(placement.height, dpi)));
    const QList<QRect> screens = platform.availableScreens();
    // Without a list of screens there is nothing to judge by: the stored placement stands.
    if (!screens.isEmpty() && std::none_of(screens.begin(), screens.end(),
                                           [&](const QRect& s) { return s.intersects(window); })) {
        return defaults;
    }
    return placement;
}

void writePlacement(Platform& platform, const Placement& placement) {
    platform.writeSetting(QStringLiteral("MainLeft"), QString::number(placement.left));
    platform.writeSetting(QStringLiteral("MainTop"), QString::number(placement.top));
    platform.writeSetting(QStringLiteral("MainWidth"), QString::number(placement.width));
    platform.writeSetting(QStringLiteral("MainHeight"), QString::number(placement.height));
}

}  // namespace slabrating::ui

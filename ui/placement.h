#pragma once

#include <QSize>
#include <QString>
#include <optional>

namespace slabrating::ui {

class Platform;

/// Position and outer size of the main window in twips (1/1440 inch), as the settings
/// store keeps them under "MainLeft", "MainTop", "MainWidth" and "MainHeight".
struct Placement {
    int left = 1000;    ///< left edge on the screen (twips)
    int top = 1000;     ///< top edge on the screen (twips)
    int width = 6825;   ///< outer width (twips)
    int height = 8445;  ///< outer height (twips)

    bool operator==(const Placement&) const = default;
};

/// Border and title bar of the design window (twips): outer size minus the window's
/// own area with its menu bar. The window manager's real frame is not known before
/// the window is mapped, so sizes are stored as area plus this nominal frame; that
/// keeps a stored size from growing or shrinking from one session to the next.
inline constexpr QSize kNominalFrameTwips{90, 375};

/// Pixels of a length in twips at `dpi` logical dots per inch (15 twips a pixel at 96).
int twipsToPixels(int twips, double dpi);
/// Twips of a length in pixels at `dpi` logical dots per inch.
int pixelsToTwips(int pixels, double dpi);

/// The number a stored text holds; empty when the text is missing or not a number.
std::optional<int> settingTwips(const QString& text);

/// The stored placement; each value missing or not a number takes its default, and a
/// placement that meets none of the available screens at `dpi` logical dots per inch
/// (one stored for a screen no longer attached) gives way to the default placement.
Placement readPlacement(Platform& platform, double dpi);
/// Stores the four values as decimal text.
void writePlacement(Platform& platform, const Placement& placement);

}  // namespace slabrating::ui

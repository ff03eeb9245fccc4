#pragma once

#include <QString>

#include "engine/fields.h"

namespace slabrating::ui {

class frmMain;

/// The example slab of the input-file description (structure B-12-AC, 18.5 ft span,
/// 14 in slab, f'c 3000 psi, Fy 40000 psi, state trucks), as a user would type it.
SlabFields exampleSlab();

/// Fills `window` with the example slab, runs the rating and writes "main-window.png" and
/// "report-window.png" into `directory`. False when a picture could not be written.
bool saveScreenshots(frmMain& window, const QString& directory);

}  // namespace slabrating::ui

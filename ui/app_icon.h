#pragma once

#include <QIcon>

namespace slabrating::ui {

/// The program's icon: a slab on two piers under a load arrow, painted at the usual sizes.
/// The same picture as packaging/slabrating.svg.
QIcon appIcon();

}  // namespace slabrating::ui

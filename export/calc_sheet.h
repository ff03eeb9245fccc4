#pragma once
#include <string>

#include "export/rated_slab.h"
namespace slabrating {
std::string calcSheetHtml(const RatedSlab& slab);
}

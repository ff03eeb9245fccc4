#pragma once

#include <string>
#include <string_view>

namespace slabrating {

/// Writes `bytes` to `path` through a temporary file beside it and a rename, so the
/// target is either the old file or the complete new one. False when anything failed.
bool writeFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace slabrating

#pragma once
// The agency's posting policy, read from the small TOML file `--posting-policy` names.
//
//   level = "operating"            # or "inventory": the rating that decides and sizes a posting
//   rounding = "down-to-ton"       # or "none": how a sign value is rounded
//   closure_threshold_tons = 3     # 0 to 43, or "none": a value below it closes the bridge
//   post_emergency_vehicles = true # false: EV2 and EV3 are rated but not posted
//   sign = "per-truck"             # or "gross": R12-5 per truck, or R12-1 with the lowest value
//
// Every key is optional and takes its default (shown) when absent. An unknown key, a value
// out of range, a key given twice or a file that is not TOML is refused with its line.

#include <optional>
#include <string>
#include <string_view>

#include "engine/posting.h"

namespace slabrating::cli {

/// A policy, or why the file holds none ("policy.toml:3: unknown key 'levle'").
struct PolicyRead {
    std::optional<PostingPolicy> policy;
    std::string error;  ///< empty when `policy` holds the file's policy
};

/// The policy in `text`, the file `name`'s bytes; its source is `name`.
PolicyRead parsePostingPolicy(std::string_view text, const std::string& name);

/// The policy in the file `path`.
PolicyRead readPostingPolicy(const std::string& path);

}  // namespace slabrating::cli

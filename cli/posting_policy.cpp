#include "cli/posting_policy.h"

#include <toml++/toml.h>

#include <fstream>

#include "cli/inputs.h"
#include "cli/locale_text.h"
#include "engine/format.h"

namespace slabrating::cli {

namespace {

// A policy file is a few lines; anything longer is not one.
constexpr std::size_t kMaxPolicyBytes = 64 * 1024;

std::string at(const std::string& name, const toml::source_region& where, std::string_view what) {
    return quotedName(name) + ":" + std::to_string(where.begin.line) + ": " + std::string(what);
}

// One key's value, checked; an error text when it is not one the key takes.
std::string apply(std::string_view key, const toml::node& value, PostingPolicy& policy) {
    const std::optional<std::string_view> word = value.value<std::string_view>();
    if (key == "level") {
        if (word == "operating" || word == "inventory") {
            policy.level = *word == "operating" ? PostingLevel::Operating : PostingLevel::Inventory;
            return {};
        }
        return "level must be \"operating\" or \"inventory\"";
    }
    if (key == "rounding") {
        if (word == "down-to-ton" || word == "none") {
            policy.rounding = *word == "none" ? SignRounding::None : SignRounding::DownToWholeTon;
            return {};
        }
        return "rounding must be \"down-to-ton\" or \"none\"";
    }
    if (key == "sign") {
        if (word == "per-truck" || word == "gross") {
            policy.sign = *word == "gross" ? SignStyle::Gross : SignStyle::PerTruck;
            return {};
        }
        return "sign must be \"per-truck\" or \"gross\"";
    }
    if (key == "post_emergency_vehicles") {
        if (const std::optional<bool> yes = value.value_exact<bool>()) {
            policy.postEmergencyVehicles = *yes;
            return {};
        }
        return "post_emergency_vehicles must be true or false";
    }
    if (key == "closure_threshold_tons") {
        if (word == "none") {
            policy.closureTons.reset();
            return {};
        }
        const bool number = value.is_integer() || value.is_floating_point();
        const std::optional<double> tons = number ? value.value<double>() : std::nullopt;
        if (tons && *tons >= 0 && *tons <= rules::kMaxClosureTons) {
            policy.closureTons = *tons;
            return {};
        }
        return "closure_threshold_tons must be \"none\" or a number of tons from 0 to " +
               shortestText(rules::kMaxClosureTons);
    }
    return "unknown key '" + std::string(key) + "'";
}

}  // namespace

PolicyRead parsePostingPolicy(std::string_view text, const std::string& name) {
    PostingPolicy policy;
    policy.source = name;
    toml::table table;
    try {
        table = toml::parse(text, std::string_view(name));
    } catch (const toml::parse_error& error) {
        const std::string_view description = error.description();
        // toml++ refuses a key given twice while it parses.
        const bool twice = description.find("cannot redefine") != std::string_view::npos;
        return {std::nullopt, at(name, error.source(),
                                 twice ? "a key is given twice (" + std::string(description) + ")"
                                       : std::string(description))};
    }
    for (const auto& [key, value] : table) {
        if (std::string error = apply(key.str(), value, policy); !error.empty()) {
            return {std::nullopt, at(name, key.source(), error)};
        }
    }
    return {std::move(policy), {}};
}

PolicyRead readPostingPolicy(const std::string& path) {
    const std::string cannot = quotedName(path) + ": the posting policy file cannot be read";
    if (isFolder(path)) {
        return {std::nullopt, quotedName(path) + ": is a folder, not a posting policy file"};
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {std::nullopt, cannot};
    }
    std::string bytes;
    char buffer[4096];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (bytes.size() > kMaxPolicyBytes) {
            return {std::nullopt, quotedName(path) + ": too long for a posting policy file"};
        }
    }
    if (file.bad()) {
        return {std::nullopt, cannot};
    }
    return parsePostingPolicy(bytes, path);
}

}  // namespace slabrating::cli

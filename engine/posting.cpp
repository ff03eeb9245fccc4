#include "engine/posting.h"

#include <algorithm>
#include <cmath>

#include "engine/format.h"
#include "engine/rating.h"

namespace slabrating {

using namespace rules;

namespace {

// `value` rounded down to `decimals` decimals. A product such as 1.00 x 32.4 lands a hair
// below its decimal value in binary; a value within a few units of the last place of a
// decimal step is taken as that step, so that 32.4 t is recorded as 32.4, not 32.3.
double roundedDown(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    const double nearest = std::round(scaled);
    if (std::abs(scaled - nearest) <= 1e-9 * std::max(1.0, std::abs(scaled))) {
        return nearest / scale;
    }
    return std::floor(scaled) / scale;
}

double signValue(double tons, SignRounding rounding) {
    // Without rounding a sign still carries two decimals at most.
    return roundedDown(tons, rounding == SignRounding::DownToWholeTon ? 0 : 2);
}

std::string tonsText(double tons, SignRounding rounding) {
    return formatMask(tons, rounding == SignRounding::DownToWholeTon ? 0 : 2);
}

VehiclePosting vehiclePosting(const VehicleRating& v, const PostingPolicy& policy) {
    VehiclePosting p{};
    const bool operating = policy.level == PostingLevel::Operating;
    p.ratingFactor = operating ? v.operatingRatingFactor : v.inventoryRatingFactor;
    p.ratedTons = operating ? v.operatingTons : v.inventoryTons;
    p.rule = PostingRule::RatingTimesGross;
    // "In no case shall the load levels used be greater than those permitted by the
    // Operating Rating" (Manual for Condition Evaluation of Bridges, commentary).
    if (p.ratedTons > v.operatingTons) {
        p.ratedTons = v.operatingTons;
        p.rule = PostingRule::OperatingCeiling;
    }
    if (v.kind == VehicleKind::EmergencyVehicle && !policy.postEmergencyVehicles) {
        p.action = VehicleAction::None;
        p.rule = PostingRule::NotPosted;
        return p;
    }
    if (p.ratingFactor >= kFullRatingFactor && p.ratedTons >= v.grossTons) {
        p.action = VehicleAction::None;
        p.rule = PostingRule::FullRating;
        return p;
    }
    if (p.ratingFactor < 0 || p.ratedTons < 0) {
        p.action = VehicleAction::Close;
        p.rule = PostingRule::NegativeRating;
        return p;
    }
    const double value = signValue(p.ratedTons, policy.rounding);
    if (policy.closureTons && value < *policy.closureTons) {
        p.action = VehicleAction::Close;
        p.rule = PostingRule::BelowThreshold;
        return p;
    }
    p.action = VehicleAction::Post;
    p.valueTons = value;
    return p;
}

// The vehicles whose posting the structure's decision counts: the trucks, and the
// emergency vehicles when the policy posts them.
bool counted(const VehicleRating& v, const PostingPolicy& policy) {
    return v.kind == VehicleKind::LegalTruck || policy.postEmergencyVehicles;
}

void signOfTrucks(PostingDecision& d) {
    std::optional<double> lowest;
    bool allEqual = true;
    std::size_t posted = 0;
    for (std::size_t i = 0; i < kFirstEmergencyVehicle; ++i) {
        const VehiclePosting& p = d.vehicles[i];
        if (p.action != VehicleAction::Post) {
            continue;
        }
        ++posted;
        allEqual = allEqual && (!lowest || *lowest == p.valueTons);
        lowest = lowest ? std::min(*lowest, p.valueTons) : p.valueTons;
    }
    if (posted == 0) {
        d.sign = SignType::None;
        return;
    }
    const bool one = d.policy.sign == SignStyle::Gross || (allEqual && posted == 3);
    d.sign = one ? SignType::R12_1 : SignType::R12_5;
    d.signValueTons = *lowest;
}

std::optional<EmergencyLimits> emergencyLimits(const LegalLoadRatings& loads,
                                               const PostingDecision& d) {
    const VehiclePosting& ev2 = d.vehicles[kFirstEmergencyVehicle];
    const VehiclePosting& ev3 = d.vehicles[kFirstEmergencyVehicle + 1];
    if (ev2.action != VehicleAction::Post && ev3.action != VehicleAction::Post) {
        return std::nullopt;
    }
    // The limits of the vehicles' own sign, from each one's rating relative to its weight
    // (one state's manual): the single axle from EV2, the tandem from EV3, the gross from the
    // vehicles below 1.
    const VehicleRating& v2 = loads.vehicles[kFirstEmergencyVehicle];
    const VehicleRating& v3 = loads.vehicles[kFirstEmergencyVehicle + 1];
    const SignRounding rounding = d.policy.rounding;
    EmergencyLimits limits{};
    const std::array<const VehicleInfo*, kOwnVehicleCount> own = ownVehicles();
    // EV2's single drive axle is its heaviest; EV3's tandem is its axles behind the steer one.
    const double singleAxleKips = 2 * own[0]->wheelKips;
    double tandemKips = 0;
    for (std::size_t a = 1; a < own[1]->axleKips.size(); ++a) {
        tandemKips += own[1]->axleKips[a];
    }
    limits.singleAxleTons =
        signValue(ev2.ratedTons / v2.grossTons * singleAxleKips / kKipsPerTon, rounding);
    limits.tandemTons =
        signValue(ev3.ratedTons / v3.grossTons * tandemKips / kKipsPerTon, rounding);
    limits.grossTons = ev2.action == VehicleAction::Post ? ev2.valueTons : ev3.valueTons;
    if (ev2.action == VehicleAction::Post && ev3.action == VehicleAction::Post) {
        limits.grossTons = std::min(ev2.valueTons, ev3.valueTons);
    }
    return limits;
}

}  // namespace

std::string_view postingLevelName(PostingLevel level) {
    return level == PostingLevel::Operating ? "operating" : "inventory";
}

std::string_view signRoundingName(SignRounding rounding) {
    return rounding == SignRounding::DownToWholeTon ? "down-to-ton" : "none";
}

std::string_view signStyleName(SignStyle style) {
    return style == SignStyle::PerTruck ? "per-truck" : "gross";
}

std::string_view postingRuleText(PostingRule rule) {
    switch (rule) {
        case PostingRule::FullRating:
            return "RF at least 1: none needed";
        case PostingRule::RatingTimesGross:
            return "RF x W at the policy's level, rounded as it says";
        case PostingRule::OperatingCeiling:
            return "held at the operating rating, its ceiling";
        case PostingRule::BelowThreshold:
            return "below the closure threshold: close";
        case PostingRule::NegativeRating:
            return "a negative rating: close";
        case PostingRule::NotPosted:
            return "not posted under the policy";
    }
    return {};
}

std::string_view structureActionName(StructureAction action) {
    switch (action) {
        case StructureAction::None:
            return "none";
        case StructureAction::Post:
            return "post";
        case StructureAction::Close:
            return "close";
    }
    return {};
}

std::string_view vehicleActionName(VehicleAction action) {
    switch (action) {
        case VehicleAction::None:
            return "none";
        case VehicleAction::Post:
            return "post";
        case VehicleAction::Close:
            return "close";
    }
    return {};
}

std::string_view signTypeName(SignType sign) {
    switch (sign) {
        case SignType::None:
            return "";
        case SignType::R12_1:
            return "R12-1";
        case SignType::R12_5:
            return "R12-5";
    }
    return {};
}

LegalLoadRatings legalLoadRatings(const PostingBasis& basis) {
    LegalLoadRatings loads{};
    // On the slab formula a vehicle's moment is in proportion to its heaviest wheel alone.
    const auto rate = [&](const VehicleInfo& vehicle, VehicleKind kind) {
        const double share = kHs20WheelKips / vehicle.wheelKips;
        const double inv = basis.inventoryRatingFactor * share;
        const double op = basis.operatingRatingFactor * share;
        // A tandem is two axles close together, which the one-wheel formula does not see.
        const bool tandem = vehicle.axleKips.size() > 2;
        return VehicleRating{vehicle.type,
                             kind,
                             vehicle.grossTons,
                             vehicle.wheelKips,
                             inv,
                             inv * vehicle.grossTons,
                             op,
                             op * vehicle.grossTons,
                             tandem};
    };
    std::size_t i = 0;
    for (const VehicleInfo* truck : seriesTrucks(basis.series)) {
        loads.vehicles[i++] = rate(*truck, VehicleKind::LegalTruck);
    }
    for (const VehicleInfo* vehicle : ownVehicles()) {
        loads.vehicles[i++] = rate(*vehicle, VehicleKind::EmergencyVehicle);
    }
    return loads;
}

PostingDecision postingDecision(const LegalLoadRatings& loads, const PostingPolicy& policy) {
    PostingDecision d{};
    d.policy = policy;
    bool anyPost = false;
    bool anyClose = false;
    for (std::size_t i = 0; i < kLegalVehicleCount; ++i) {
        const VehicleRating& v = loads.vehicles[i];
        d.vehicles[i] = vehiclePosting(v, policy);
        if (counted(v, policy)) {
            anyPost = anyPost || d.vehicles[i].action == VehicleAction::Post;
            anyClose = anyClose || d.vehicles[i].action == VehicleAction::Close;
        }
    }
    d.action = anyClose  ? StructureAction::Close
               : anyPost ? StructureAction::Post
                         : StructureAction::None;
    if (d.action == StructureAction::Post) {
        signOfTrucks(d);
        d.emergency = emergencyLimits(loads, d);
    }
    return d;
}

std::string inventoryFactorText(double ratingFactor) {
    const double clamped = std::clamp(ratingFactor, 0.0, kMaxInventoryFactor);
    return formatMask(roundedDown(clamped, kInventoryFactorDecimals), kInventoryFactorDecimals);
}

std::string metricTonsCode(double ratingFactor) {
    const double tenths = roundedDown(ratingFactor * kMs18MetricTons, 1) * 10;
    const int code = std::clamp(static_cast<int>(std::lround(std::clamp(tenths, 0.0, 1e6))), 0,
                                kMetricTonsCodeMax);
    std::string text = std::to_string(code);
    return std::string(3 - text.size(), '0') + text;
}

int postingCode(double lowestLegalOperatingFactor) {
    const double below = (kFullRatingFactor - lowestLegalOperatingFactor) * 100;
    // The percent below, to a tenth, as a count of tenths: 8.3 % is 83.
    const double tenths = std::round(below * 10);
    if (tenths <= 0) {
        return kPostingCodeAtLegal;
    }
    // 0.1 to 9.9 % below is band 0, 10.0 to 19.9 % band 1, and so on.
    const double band = std::floor(tenths / (kPostingCodeBandPercent * 10));
    // Far below the legal loads (a negative rating) is the last band; the test comes before
    // the conversion so that no band too large for an int is converted.
    if (!(band < kPostingCodeAtLegal)) {
        return 0;
    }
    return std::max(0, kPostingCodeAtLegal - 1 - static_cast<int>(band));
}

bool ratingDateOf(std::string_view text, std::string& compact) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return false;
    }
    int parts[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8};
    const std::size_t lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (std::size_t i = 0; i < lengths[p]; ++i) {
            const char c = text[starts[p] + i];
            if (c < '0' || c > '9') {
                return false;
            }
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    const int year = parts[0];
    const int month = parts[1];
    const int day = parts[2];
    constexpr std::array<int, 12> kDays{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1] ||
        (month == 2 && day == 29 && !leap)) {
        return false;
    }
    compact.assign(text.substr(0, 4));
    compact.append(text.substr(5, 2));
    compact.append(text.substr(8, 2));
    return true;
}

InventoryItems inventoryItems(const PostingBasis& basis, const LegalLoadRatings& loads,
                              const PostingDecision& decision, std::string_view ratingDate) {
    InventoryItems items{};
    const MethodInfo& method = methodInfo(basis.method);
    items.ratingDate = ratingDate;
    items.method = method.inventoryCode;
    items.inventoryRatingFactor = inventoryFactorText(basis.inventoryRatingFactor);
    items.operatingRatingFactor = inventoryFactorText(basis.operatingRatingFactor);
    items.item63 = method.legacyCode;
    items.item65 = items.item63;
    items.item64 = metricTonsCode(basis.operatingRatingFactor);
    items.item66 = metricTonsCode(basis.inventoryRatingFactor);

    std::optional<double> controlling;
    std::optional<double> lowestTruckOperating;
    const SignRounding rounding = decision.policy.rounding;
    for (std::size_t i = 0; i < kLegalVehicleCount; ++i) {
        const VehicleRating& v = loads.vehicles[i];
        const VehiclePosting& p = decision.vehicles[i];
        LegalLoadItems& row = items.legalLoads[i];
        row.configuration = v.name;
        row.ratingFactor = inventoryFactorText(p.ratingFactor);
        if (counted(v, decision.policy)) {
            controlling = controlling ? std::min(*controlling, p.ratingFactor) : p.ratingFactor;
        }
        if (v.kind == VehicleKind::LegalTruck) {
            lowestTruckOperating = lowestTruckOperating
                                       ? std::min(*lowestTruckOperating, v.operatingRatingFactor)
                                       : v.operatingRatingFactor;
        }
        const bool closed = decision.action == StructureAction::Close &&
                            counted(v, decision.policy) && p.action != VehicleAction::None;
        if (closed) {
            row.postingType = "X";
            row.postingValue = "closed";
        } else if (p.action == VehicleAction::Post && v.kind == VehicleKind::LegalTruck &&
                   decision.action == StructureAction::Post) {
            const bool gross = decision.sign == SignType::R12_1;
            row.postingType = gross ? "G" : "T";
            row.postingValue = tonsText(gross ? decision.signValueTons : p.valueTons, rounding);
        } else if (p.action == VehicleAction::Post && decision.emergency) {
            const EmergencyLimits& e = *decision.emergency;
            row.postingType = "A|D|G";
            row.postingValue = tonsText(e.singleAxleTons, rounding) + "|" +
                               tonsText(e.tandemTons, rounding) + "|" +
                               tonsText(e.grossTons, rounding);
        }
    }
    items.controllingLegalFactor = inventoryFactorText(*controlling);
    items.item70 = postingCode(*lowestTruckOperating);
    items.negativeRecordedAsZero =
        basis.inventoryRatingFactor < 0 || basis.operatingRatingFactor < 0 || *controlling < 0;
    return items;
}

}  // namespace slabrating

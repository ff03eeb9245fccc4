#pragma once
// The legal loads, the posting decision and the inventory's load rating items of one rated
// strip: decisions formed once in the engine from the rating, which the views print.
// Every rating factor is dimensionless; every weight and rating is in tons (2000 lb) unless
// its name says kips.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/load_type.h"
#include "engine/rules.h"

namespace slabrating {

enum class RatingMethod;

// The posting policy: what the agency decides, each with its default.

/// The level whose rating factor decides and sizes a posting.
enum class PostingLevel {
    Operating,  ///< the operating rating (default: the common practice)
    Inventory,  ///< the inventory rating (some agencies, when the condition ratings are low)
};

/// How a sign value is rounded.
enum class SignRounding {
    DownToWholeTon,  ///< down to the whole ton (default)
    None,            ///< the value as rated
};

/// Which sign carries the legal trucks' values when they differ.
enum class SignStyle {
    PerTruck,  ///< R12-5 with a value per truck, R12-1 when the values are all equal (default)
    Gross,     ///< R12-1 with the lowest truck value
};

/// The agency's posting policy.
struct PostingPolicy {
    PostingLevel level = PostingLevel::Operating;
    SignRounding rounding = SignRounding::DownToWholeTon;
    /// A posting value below this closes the bridge (tons); none: no threshold, only a
    /// negative rating closes.
    std::optional<double> closureTons = rules::kDefaultClosureTons;
    bool postEmergencyVehicles = true;  ///< the emergency vehicles are posted as well
    SignStyle sign = SignStyle::PerTruck;
    /// Where the policy comes from, as the views name it: "built-in" or the file's name.
    std::string source = std::string(kBuiltInPolicy);

    static constexpr std::string_view kBuiltInPolicy = "built-in";
};

/// "operating" or "inventory"; "down-to-ton" or "none"; "per-truck" or "gross": the words
/// the policy file and the views use.
std::string_view postingLevelName(PostingLevel level);
std::string_view signRoundingName(SignRounding rounding);
std::string_view signStyleName(SignStyle style);

// The legal loads.

/// What kind of legal vehicle.
enum class VehicleKind {
    LegalTruck,        ///< a truck of the chosen series
    EmergencyVehicle,  ///< EV2 or EV3
};

/// Number of legal vehicles rated: the series' three trucks, then EV2 and EV3.
inline constexpr std::size_t kLegalVehicleCount = kTrucksPerSeries + kOwnVehicleCount;
/// Index of the first emergency vehicle among them.
inline constexpr std::size_t kFirstEmergencyVehicle = kTrucksPerSeries;

/// One legal vehicle rated at both levels from the HS20 rating factors:
/// RF = RF_HS20 x 16 kips / its heaviest wheel, rating = RF x gross weight.
struct VehicleRating {
    std::string_view name;  ///< "3", "3S2", "3-2", "EV2" or "EV3"
    VehicleKind kind;
    double grossTons;              ///< gross weight (tons)
    double wheelKips;              ///< heaviest wheel, half the heaviest axle (kips)
    double inventoryRatingFactor;  ///< at the inventory level
    double inventoryTons;          ///< inventory rating (tons)
    double operatingRatingFactor;  ///< at the operating level
    double operatingTons;          ///< operating rating (tons)
    /// Rated by its single wheel although its axles are a tandem the slab formula does not
    /// describe (EV3): an engineering judgement.
    bool tandemByWheel;
};

/// The rating the legal loads are rated from: until the governing rating is formed, the
/// HS20 rating factors of the report's table.
struct PostingBasis {
    double inventoryRatingFactor;  ///< HS20 inventory rating factor
    double operatingRatingFactor;  ///< HS20 operating rating factor
    TruckSeries series;            ///< the legal-truck series the load type selects
    RatingMethod method;
};

/// The legal loads of one strip.
struct LegalLoadRatings {
    std::array<VehicleRating, kLegalVehicleCount> vehicles;  ///< 3, 3S2, 3-2, EV2, EV3
};

// The posting decision.

/// What one vehicle needs.
enum class VehicleAction {
    None,   ///< no posting needed: its rating factor at the policy's level is at least 1
    Post,   ///< post at a value
    Close,  ///< close: the value is below the closure threshold, or the rating is negative
};

/// The rule that gave a vehicle's posting value.
enum class PostingRule {
    FullRating,        ///< RF >= 1: none needed
    RatingTimesGross,  ///< RF x W at the policy's level, rounded as the policy says
    OperatingCeiling,  ///< RF x W at the inventory level was above the operating rating
    BelowThreshold,    ///< the value is below the closure threshold: close
    NegativeRating,    ///< the rating factor is negative: close
    NotPosted,         ///< an emergency vehicle, which the policy does not post
};

/// One sentence naming a rule, as the views print it.
std::string_view postingRuleText(PostingRule rule);

/// One vehicle's posting.
struct VehiclePosting {
    VehicleAction action;
    PostingRule rule;
    double ratingFactor;  ///< its rating factor at the policy's level
    /// RF x W at the policy's level, at most the operating rating, before rounding (tons).
    double ratedTons;
    /// The posting value (tons): `ratedTons` rounded as the policy says; 0 when closed or
    /// when none is needed.
    double valueTons;
};

/// What the structure needs.
enum class StructureAction { None, Post, Close };

/// The sign of the legal trucks.
enum class SignType {
    None,   ///< no sign (no posting, or closed)
    R12_1,  ///< "WEIGHT LIMIT XX TONS": one gross value
    R12_5,  ///< "WEIGHT LIMIT" with a truck symbol and a value for each truck
};

/// "none", "post" or "close"; "R12-1", "R12-5" or "".
std::string_view structureActionName(StructureAction action);
std::string_view vehicleActionName(VehicleAction action);
std::string_view signTypeName(SignType sign);

/// The limits of the emergency vehicles' own sign (tons), when one of them rates below 1.
struct EmergencyLimits {
    double singleAxleTons;  ///< RF_EV2 x its 33.5 kip single axle
    double tandemTons;      ///< RF_EV3 x its 62 kip tandem
    double grossTons;       ///< the smaller of RF x gross of the vehicles below 1
};

/// The posting decision of one strip under one policy.
struct PostingDecision {
    PostingPolicy policy;
    std::array<VehiclePosting, kLegalVehicleCount> vehicles;  ///< as the legal loads
    StructureAction action;
    SignType sign;
    /// R12-1: its one value; R12-5: the lowest of its values (tons). 0 without a sign.
    double signValueTons;
    std::optional<EmergencyLimits> emergency;
};

// The inventory's load rating items, as the inventory formats them.

/// One legal load row (B.EP).
struct LegalLoadItems {
    std::string_view configuration;  ///< B.EP.01: the vehicle's name
    std::string ratingFactor;        ///< B.EP.02: two decimals, 0.00 to 99.99
    std::string postingType;         ///< B.EP.03: "T", "G", "A|D|G", "X" or empty
    std::string postingValue;        ///< B.EP.04: tons, "|"-joined as the type; or empty
};

/// The load rating items of one member (the deck strip), to be held against the bridge's
/// other members.
struct InventoryItems {
    std::string ratingDate;              ///< B.LR.03: YYYYMMDD
    std::string_view method;             ///< B.LR.04: "LFR" or "ASR"
    std::string inventoryRatingFactor;   ///< B.LR.05: two decimals, 0.00 to 99.99
    std::string operatingRatingFactor;   ///< B.LR.06
    std::string controllingLegalFactor;  ///< B.LR.07: the lowest B.EP.02 of the loads posted
    std::array<LegalLoadItems, kLegalVehicleCount> legalLoads;
    int item63;          ///< operating rating method: 1 load factor, 2 allowable stress
    std::string item64;  ///< operating rating, metric tons to a tenth, 3 digits, point implied
    int item65;          ///< inventory rating method
    std::string item66;  ///< inventory rating, as item 64
    int item70;          ///< bridge posting code, 0 to 5
    /// A rating factor below 0 was recorded as 0.00 (B.LR.05, B.LR.06 or B.LR.07).
    bool negativeRecordedAsZero;
};

/// B.LR.04 of a row that cannot be rated.
inline constexpr std::string_view kNotRatedMethod = "N";

/// The legal loads rated from `basis`.
LegalLoadRatings legalLoadRatings(const PostingBasis& basis);

/// The posting decision for `loads` under `policy`.
PostingDecision postingDecision(const LegalLoadRatings& loads, const PostingPolicy& policy);

/// The load rating items; `ratingDate` is YYYYMMDD.
InventoryItems inventoryItems(const PostingBasis& basis, const LegalLoadRatings& loads,
                              const PostingDecision& decision, std::string_view ratingDate);

/// A rating factor as B.LR.05 to 07 and B.EP.02 hold it: rounded down to two decimals, so
/// that a factor below 1 never reads 1.00, at most 99.99, and 0.00 for a negative one.
std::string inventoryFactorText(double ratingFactor);

/// A rating factor as items 64 and 66 hold it: RF x 32.4 metric tons, rounded down to a
/// tenth, three digits with the point implied ("324"), from "000" to "999".
std::string metricTonsCode(double ratingFactor);

/// Item 70 from the lowest legal operating rating factor: 5 at or above the legal loads, 4
/// for 0.1 to 9.9 % below, ... 0 for more than 39.9 % below.
int postingCode(double lowestLegalOperatingFactor);

/// True when `text` is a real date written YYYY-MM-DD; `compact` then holds it as YYYYMMDD.
bool ratingDateOf(std::string_view text, std::string& compact);

}  // namespace slabrating

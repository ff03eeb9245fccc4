#include "engine/quantity_table.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <type_traits>

#include "engine/field_table.h"

namespace slabrating {

namespace {

// A name with its unit: "StAreaTop" and "sq in" give "StAreaTop_sqin", "w" and "lb/ft"
// give "w_lbperft"; a name that ends in its unit ("RatingTons", "tons") takes no suffix.
std::string keyWithUnit(std::string_view name, std::string_view unit) {
    std::string suffix;
    for (const char c : unit) {
        if (c == '/') {
            suffix += "per";
        } else if (c != ' ' && c != '-') {
            suffix += c;
        }
    }
    std::string named = suffix;
    if (!named.empty()) {
        named.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(named.front())));
    }
    if (suffix.empty() || name.ends_with(named)) {
        return std::string(name);
    }
    return std::string(name) + "_" + suffix;
}

// The engine's symbols, which keep their spelling in a key: the section's terms, the
// moments and the depth factor.
constexpr std::array<std::string_view, 8> kSymbols{"A", "B",    "BPrime", "P",
                                                   "Q", "M_DL", "M_LL",   "Beta1"};

// The JSON key of a quantity: its name in lower camel case (a symbol as it is), then its
// unit. "MemberCapacity" and "kip-ft" give "memberCapacity_kipft".
std::string quantityKey(std::string_view name, std::string_view unit) {
    std::string camel(name);
    // An inventory item keeps its identifier as the inventory spells it: "B.LR.05".
    const bool identifier = name.find('.') != std::string_view::npos;
    if (!identifier && std::find(kSymbols.begin(), kSymbols.end(), name) == kSymbols.end()) {
        camel.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(camel.front())));
    }
    return keyWithUnit(camel, unit);
}

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <class T>
constexpr Precision precisionOf() {
    if constexpr (IsOptional<T>::value) {
        return precisionOf<typename T::value_type>();
    } else if constexpr (std::is_same_v<T, float>) {
        return Precision::Single;
    } else if constexpr (std::is_same_v<T, double>) {
        return Precision::Double;
    } else if constexpr (std::is_same_v<T, bool>) {
        return Precision::Flag;
    } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
        return Precision::Whole;
    } else {
        static_assert(std::is_convertible_v<T, std::string_view>, "a number, a flag or a text");
        return Precision::Text;
    }
}

template <class T>
bool hold(const T& member, QuantityValue& value) {
    value.address = &member;
    if constexpr (std::is_enum_v<T>) {
        value.number = static_cast<double>(static_cast<std::underlying_type_t<T>>(member));
    } else if constexpr (std::is_arithmetic_v<T>) {
        value.number = static_cast<double>(member);
    } else {
        value.text = member;
    }
    return true;
}

template <class T>
bool hold(const std::optional<T>& member, QuantityValue& value) {
    return member && hold(*member, value);
}

// The member reached from the rating through an optional group and a path of members.
template <auto Group, auto... Path>
bool member(const Rating& rating, QuantityValue& value) {
    const auto& group = rating.*Group;
    return group && hold((*group.*....*Path), value);
}

template <auto Group, auto... Path>
using HeldBy = std::remove_cvref_t<decltype((*(std::declval<const Rating&>().*Group).*....*Path))>;

template <auto Group, auto... Path>
Quantity q(std::string_view group, std::string_view key, std::string_view unit = {},
           Presence presence = Presence::Always) {
    return {group,    quantityKey(key, unit), unit, precisionOf<HeldBy<Group, Path...>>(),
            presence, &member<Group, Path...>};
}

// The input group: the field table's texts and numbers, keyed by the field's name and unit.
template <std::size_t I>
bool inputField(const Rating& rating, QuantityValue& value) {
    constexpr const FieldInfo& field = kFields[I];
    if (!rating.input) {
        return false;
    }
    if constexpr (field.kind == FieldKind::Text) {
        return hold((*rating.input).*field.heldText, value);
    } else {
        return hold((*rating.input).*field.heldNumber, value);
    }
}

const std::array<std::string, kFieldCount>& inputKeys() {
    static const std::array<std::string, kFieldCount> keys = [] {
        std::array<std::string, kFieldCount> k;
        for (const FieldInfo& field : kFields) {
            k[static_cast<std::size_t>(field.id)] = keyWithUnit(field.name, field.unit);
        }
        return k;
    }();
    return keys;
}

template <std::size_t... I>
void addInput(std::vector<Quantity>& table, std::index_sequence<I...>) {
    constexpr std::string_view kGroup = "input";
    const auto add = [&](auto index) {
        constexpr const FieldInfo& field = kFields[decltype(index)::value];
        constexpr Precision precision =
            field.kind == FieldKind::Text ? Precision::Text : Precision::Single;
        table.push_back({kGroup, inputKeys()[decltype(index)::value], field.unit, precision,
                         Presence::Always, &inputField<decltype(index)::value>});
    };
    // The texts, the load type, then the numbers, as the record holds them.
    ((kFields[I].kind == FieldKind::Text ? add(std::integral_constant<std::size_t, I>{}) : void()),
     ...);
    // The load type keeps its `--set` name too.
    Quantity loadType = q<&Rating::input, &SlabInput::LoadType>(kGroup, kLoadTypeName);
    loadType.key = kLoadTypeName;
    table.push_back(std::move(loadType));
    ((kFields[I].kind == FieldKind::Number ? add(std::integral_constant<std::size_t, I>{})
                                           : void()),
     ...);
}

// The inputs of a working stress analysis, reached through `Path` from `Group`.
template <auto Group, auto... Path>
void addSectionInput(std::vector<Quantity>& t, std::string_view g) {
    using In = WorkingStressInput;
    t.push_back(q<Group, Path..., &In::n>(g, "n"));
    t.push_back(q<Group, Path..., &In::InvConcStress>(g, "InvConcStress", "psi"));
    t.push_back(q<Group, Path..., &In::InvSteelStress>(g, "InvSteelStress", "psi"));
    t.push_back(q<Group, Path..., &In::OperConcStress>(g, "OperConcStress", "psi"));
    t.push_back(q<Group, Path..., &In::OperSteelStress>(g, "OperSteelStress", "psi"));
    t.push_back(q<Group, Path..., &In::areaTop>(g, "areaTop", "sq in"));
    t.push_back(q<Group, Path..., &In::d>(g, "d", "in"));
    t.push_back(q<Group, Path..., &In::areaBot>(g, "areaBot", "sq in"));
    t.push_back(q<Group, Path..., &In::dPrime>(g, "dPrime", "in"));
}

// One pass of a working stress analysis (an InventoryPass or an OperatingPass), its
// section's quantities first.
template <auto Group, auto... Path>
void addPass(std::vector<Quantity>& t, std::string_view g, std::string_view sectionGroup) {
    using Pass = HeldBy<Group, Path...>;
    using S = SectionQuantities;
    const std::string_view s = sectionGroup;
    constexpr auto section = &Pass::section;
    t.push_back(q<Group, Path..., section, &S::A>(s, "A"));
    t.push_back(q<Group, Path..., section, &S::B>(s, "B"));
    t.push_back(q<Group, Path..., section, &S::BPrime>(s, "BPrime"));
    t.push_back(q<Group, Path..., section, &S::P>(s, "P"));
    t.push_back(q<Group, Path..., section, &S::Q>(s, "Q"));
    t.push_back(q<Group, Path..., section, &S::k>(s, "k"));
    t.push_back(q<Group, Path..., section, &S::c>(s, "c"));
    t.push_back(q<Group, Path..., section, &S::zr>(s, "zr"));
    t.push_back(q<Group, Path..., section, &S::j>(s, "j"));
    t.push_back(q<Group, Path..., section, &S::e>(s, "e"));
    t.push_back(q<Group, Path..., section, &S::u>(s, "u"));
    t.push_back(q<Group, Path..., section, &S::r>(s, "r"));
    t.push_back(q<Group, Path..., &Pass::CompSteelFactor>(g, "CompSteelFactor"));
    t.push_back(q<Group, Path..., &Pass::AdjustCount>(g, "AdjustCount"));
    t.push_back(q<Group, Path..., &Pass::ResistingMoment>(g, "ResistingMoment", "lb-ft"));
    t.push_back(q<Group, Path..., &Pass::ConcreteStress>(g, "ConcreteStress", "psi"));
    t.push_back(q<Group, Path..., &Pass::SteelStress>(g, "SteelStress", "psi"));
    t.push_back(q<Group, Path..., &Pass::CompSteelStress>(g, "CompSteelStress", "psi"));
}

// One level of a working stress rating.
template <auto Group, auto... Path>
void addLevel(std::vector<Quantity>& t, std::string_view g) {
    using L = LevelRating;
    t.push_back(q<Group, Path..., &L::MemberCapacity>(g, "MemberCapacity", "kip-ft"));
    t.push_back(q<Group, Path..., &L::LiveLoadCapacity>(g, "LiveLoadCapacity", "kip-ft"));
    t.push_back(q<Group, Path..., &L::ratingFactor>(g, "ratingFactor"));
    t.push_back(q<Group, Path..., &L::RatingTons>(g, "RatingTons", "tons"));
}

// One column of the HS20 table (Hs20Inventory or Hs20Operating).
template <auto Column>
void addHs20Column(std::vector<Quantity>& t, std::string_view g) {
    using C = std::remove_cvref_t<decltype(std::declval<Hs20Rating>().*Column)>;
    t.push_back(q<&Rating::hs20, Column, &C::ConcreteStress>(g, "ConcreteStress", "psi"));
    t.push_back(q<&Rating::hs20, Column, &C::SteelStress>(g, "SteelStress", "psi"));
    t.push_back(q<&Rating::hs20, Column, &C::CompSteelStress>(g, "CompSteelStress", "psi"));
    t.push_back(q<&Rating::hs20, Column, &C::MemberCapacity>(g, "MemberCapacity", "kip-ft"));
    t.push_back(q<&Rating::hs20, Column, &C::LiveLoadCapacity>(g, "LiveLoadCapacity", "kip-ft"));
    t.push_back(q<&Rating::hs20, Column, &C::RatingFactor>(g, "RatingFactor"));
    t.push_back(q<&Rating::hs20, Column, &C::RatingTons>(g, "RatingTons", "tons"));
}

// The legal-truck table the report prints, and the one rated from the governing rating.
const LegalTruckRatings* reportTrucks(const Rating& rating) {
    return rating.legalTrucks ? &*rating.legalTrucks : nullptr;
}
const LegalTruckRatings* governingTrucks(const Rating& rating) {
    return rating.governing && rating.governing->legalTrucks ? &*rating.governing->legalTrucks
                                                             : nullptr;
}
using TruckTable = const LegalTruckRatings* (*)(const Rating&);

// The series' name and title are the series table's, for the series the engine chose.
template <TruckTable Table, std::string_view SeriesInfo::*Text>
bool seriesText(const Rating& rating, QuantityValue& value) {
    const LegalTruckRatings* table = Table(rating);
    if (table == nullptr) {
        return false;
    }
    value.address = &table->series;
    value.text = seriesInfo(table->series).*Text;
    return true;
}

template <TruckTable Table, auto Member>
bool truckTable(const Rating& rating, QuantityValue& value) {
    const LegalTruckRatings* table = Table(rating);
    return table != nullptr && hold(table->*Member, value);
}

template <TruckTable Table, std::size_t I, auto Member>
bool truck(const Rating& rating, QuantityValue& value) {
    const LegalTruckRatings* table = Table(rating);
    return table != nullptr && hold(table->trucks[I].*Member, value);
}

template <TruckTable Table, std::size_t I>
void addTruck(std::vector<Quantity>& t, std::string_view g) {
    using T = LegalTruck;
    const auto add = [&](std::string_view name, std::string_view unit, Precision precision,
                         auto read) {
        t.push_back({g, quantityKey(name, unit), unit, precision, Presence::Always, read});
    };
    add("type", {}, Precision::Text, &truck<Table, I, &T::type>);
    add("grossTons", "tons", Precision::Double, &truck<Table, I, &T::grossTons>);
    add("RatingFactor", {}, Precision::Double, &truck<Table, I, &T::RatingFactor>);
    add("RatingTons", "tons", Precision::Double, &truck<Table, I, &T::RatingTons>);
}

// A legal-truck table: its group and the groups of its three trucks.
template <TruckTable Table>
void addLegalTrucks(std::vector<Quantity>& t, const std::array<std::string_view, 4>& groups) {
    using L = LegalTruckRatings;
    const std::string_view g = groups[0];
    t.push_back({g,
                 "series",
                 {},
                 Precision::Text,
                 Presence::Always,
                 &seriesText<Table, &SeriesInfo::name>});
    t.push_back({g,
                 "title",
                 {},
                 Precision::Text,
                 Presence::Always,
                 &seriesText<Table, &SeriesInfo::title>});
    t.push_back({g, quantityKey("wheelKips", "kips"), "kips", Precision::Double, Presence::Always,
                 &truckTable<Table, &L::wheelKips>});
    t.push_back({g, quantityKey("TruckMoment", "kip-ft"), "kip-ft", Precision::Double,
                 Presence::StateSeries, &truckTable<Table, &L::stateTruckMoment>});
    t.push_back({g, quantityKey("TruckMoment", "kip-ft"), "kip-ft", Precision::Single,
                 Presence::InterstateSeries, &truckTable<Table, &L::interstateTruckMoment>});
    addTruck<Table, 0>(t, groups[1]);
    addTruck<Table, 1>(t, groups[2]);
    addTruck<Table, 2>(t, groups[3]);
}

// One level of the governing rating.
template <auto Level>
void addGoverningLevel(std::vector<Quantity>& t, std::string_view g) {
    using G = GoverningLevel;
    t.push_back({g,
                 "section",
                 {},
                 Precision::Text,
                 Presence::Always,
                 [](const Rating& rating, QuantityValue& value) {
                     if (!rating.governing) {
                         return false;
                     }
                     const GoverningLevel& level = (*rating.governing).*Level;
                     value.address = &level.section;
                     value.text = sectionName(level.section);
                     return true;
                 }});
    t.push_back(q<&Rating::governing, Level, &G::RatingFactor>(g, "ratingFactor"));
    t.push_back(q<&Rating::governing, Level, &G::RatingTons>(g, "ratingTons", "tons"));
}

// One face's steel checks of a load factor run.
template <auto Face>
void addFaceCheck(std::vector<Quantity>& t, std::string_view g) {
    using F = FaceSteelCheck;
    t.push_back(q<&Rating::loadFactorChecks, Face, &F::steelRatio>(g, "steelRatio"));
    t.push_back(q<&Rating::loadFactorChecks, Face, &F::balancedRatio>(g, "balancedRatio"));
    t.push_back(q<&Rating::loadFactorChecks, Face, &F::balancedShare>(g, "balancedShare"));
    t.push_back(q<&Rating::loadFactorChecks, Face, &F::phiMn>(g, "phiMn", "kip-ft"));
}

// The status, formed from the run's outcome and its findings, named as the summary names it.
bool statusText(const Rating& rating, QuantityValue& value) {
    value.address = &rating.status;
    value.text = statusName(rating.status);
    return true;
}

// The controlling truck of the governing legal trucks, by its type.
bool controllingTruck(const Rating& rating, QuantityValue& value) {
    const LegalTruckRatings* table = governingTrucks(rating);
    if (table == nullptr) {
        return false;
    }
    value.address = &table->controlling;
    value.text = table->trucks[table->controlling].type;
    return true;
}

// A choice the run holds as an enumeration, shown by its name.
template <auto Name, auto Group, auto... Path>
bool named(const Rating& rating, QuantityValue& value) {
    const auto& group = rating.*Group;
    if (!group) {
        return false;
    }
    const auto& member = (*group.*....*Path);
    value.address = &member;
    value.text = Name(member);
    return true;
}

template <auto Name, auto Group, auto... Path>
Quantity choice(std::string_view group, std::string_view key) {
    return {group,           std::string(key), {},
            Precision::Text, Presence::Always, &named<Name, Group, Path...>};
}

std::string_view vehicleKindName(VehicleKind kind) {
    return kind == VehicleKind::LegalTruck ? "legal truck" : "emergency vehicle";
}

template <std::size_t I>
void addVehicle(std::vector<Quantity>& t, std::string_view g) {
    using V = VehicleRating;
    const auto m = [&]<auto Member>(std::string_view key, std::string_view unit = {}) {
        t.push_back({g, std::string(key), unit,
                     precisionOf<std::remove_cvref_t<decltype(std::declval<const V&>().*Member)>>(),
                     Presence::Always, [](const Rating& r, QuantityValue& value) {
                         return r.legalLoads && hold(r.legalLoads->vehicles[I].*Member, value);
                     }});
    };
    m.template operator()<&V::name>("name");
    t.push_back({g,
                 "kind",
                 {},
                 Precision::Text,
                 Presence::Always,
                 [](const Rating& r, QuantityValue& value) {
                     if (!r.legalLoads) {
                         return false;
                     }
                     value.address = &r.legalLoads->vehicles[I].kind;
                     value.text = vehicleKindName(r.legalLoads->vehicles[I].kind);
                     return true;
                 }});
    m.template operator()<&V::grossTons>("grossWeight_tons", "tons");
    m.template operator()<&V::wheelKips>("wheelLoad_kips", "kips");
    m.template operator()<&V::inventoryRatingFactor>("inventoryRatingFactor");
    m.template operator()<&V::inventoryTons>("inventoryRating_tons", "tons");
    m.template operator()<&V::operatingRatingFactor>("operatingRatingFactor");
    m.template operator()<&V::operatingTons>("operatingRating_tons", "tons");
    m.template operator()<&V::tandemByWheel>("tandemByWheel");
}

template <std::size_t I>
void addVehiclePosting(std::vector<Quantity>& t, std::string_view g) {
    using P = VehiclePosting;
    const auto m = [&]<auto Member>(std::string_view key, std::string_view unit = {}) {
        t.push_back({g, std::string(key), unit, Precision::Double, Presence::Always,
                     [](const Rating& r, QuantityValue& value) {
                         return r.posting && hold(r.posting->vehicles[I].*Member, value);
                     }});
    };
    const auto text = [&]<auto Member, auto Name>(std::string_view key) {
        t.push_back({g,
                     std::string(key),
                     {},
                     Precision::Text,
                     Presence::Always,
                     [](const Rating& r, QuantityValue& value) {
                         if (!r.posting) {
                             return false;
                         }
                         value.address = &(r.posting->vehicles[I].*Member);
                         value.text = Name(r.posting->vehicles[I].*Member);
                         return true;
                     }});
    };
    text.template operator()<&P::action, &vehicleActionName>("action");
    text.template operator()<&P::rule, &postingRuleText>("rule");
    m.template operator()<&P::ratingFactor>("ratingFactor");
    m.template operator()<&P::ratedTons>("rated_tons", "tons");
    m.template operator()<&P::valueTons>("postingValue_tons", "tons");
}

template <std::size_t I>
void addLegalLoadItems(std::vector<Quantity>& t, std::string_view g) {
    using E = LegalLoadItems;
    const auto m = [&]<auto Member>(std::string_view key) {
        t.push_back({g,
                     std::string(key),
                     {},
                     Precision::Text,
                     Presence::Always,
                     [](const Rating& r, QuantityValue& value) {
                         return r.inventory && hold(r.inventory->legalLoads[I].*Member, value);
                     }});
    };
    m.template operator()<&E::configuration>("B.EP.01");
    m.template operator()<&E::ratingFactor>("B.EP.02");
    m.template operator()<&E::postingType>("B.EP.03");
    m.template operator()<&E::postingValue>("B.EP.04");
}

// The legal loads, the posting decision and the inventory items of a complete run.
void addDecisions(std::vector<Quantity>& t) {
    addVehicle<0>(t, "legalLoads/vehicles/0");
    addVehicle<1>(t, "legalLoads/vehicles/1");
    addVehicle<2>(t, "legalLoads/vehicles/2");
    addVehicle<3>(t, "legalLoads/vehicles/3");
    addVehicle<4>(t, "legalLoads/vehicles/4");

    constexpr std::string_view pp = "posting/policy";
    using D = PostingDecision;
    using Pol = PostingPolicy;
    t.push_back(q<&Rating::posting, &D::policy, &Pol::source>(pp, "source"));
    t.push_back(choice<&postingLevelName, &Rating::posting, &D::policy, &Pol::level>(pp, "level"));
    t.push_back(
        choice<&signRoundingName, &Rating::posting, &D::policy, &Pol::rounding>(pp, "rounding"));
    t.push_back(q<&Rating::posting, &D::policy, &Pol::closureTons>(pp, "closureThreshold", "tons"));
    t.push_back(
        q<&Rating::posting, &D::policy, &Pol::postEmergencyVehicles>(pp, "postEmergencyVehicles"));
    t.push_back(choice<&signStyleName, &Rating::posting, &D::policy, &Pol::sign>(pp, "sign"));
    constexpr std::string_view po = "posting";
    t.push_back(choice<&structureActionName, &Rating::posting, &D::action>(po, "action"));
    t.push_back(choice<&signTypeName, &Rating::posting, &D::sign>(po, "sign"));
    t.push_back(q<&Rating::posting, &D::signValueTons>(po, "signValue", "tons"));
    addVehiclePosting<0>(t, "posting/vehicles/0");
    addVehiclePosting<1>(t, "posting/vehicles/1");
    addVehiclePosting<2>(t, "posting/vehicles/2");
    addVehiclePosting<3>(t, "posting/vehicles/3");
    addVehiclePosting<4>(t, "posting/vehicles/4");
    constexpr std::string_view pe = "posting/emergency";
    t.push_back({pe, std::string("singleAxle_tons"), "tons", Precision::Double, Presence::Always,
                 [](const Rating& r, QuantityValue& value) {
                     return r.posting && r.posting->emergency &&
                            hold(r.posting->emergency->singleAxleTons, value);
                 }});
    t.push_back({pe, std::string("tandem_tons"), "tons", Precision::Double, Presence::Always,
                 [](const Rating& r, QuantityValue& value) {
                     return r.posting && r.posting->emergency &&
                            hold(r.posting->emergency->tandemTons, value);
                 }});
    t.push_back({pe, std::string("gross_tons"), "tons", Precision::Double, Presence::Always,
                 [](const Rating& r, QuantityValue& value) {
                     return r.posting && r.posting->emergency &&
                            hold(r.posting->emergency->grossTons, value);
                 }});

    constexpr std::string_view in = "inventory";
    using I = InventoryItems;
    t.push_back(q<&Rating::inventory, &I::ratingDate>(in, "B.LR.03"));
    t.push_back(q<&Rating::inventory, &I::method>(in, "B.LR.04"));
    t.push_back(q<&Rating::inventory, &I::inventoryRatingFactor>(in, "B.LR.05"));
    t.push_back(q<&Rating::inventory, &I::operatingRatingFactor>(in, "B.LR.06"));
    t.push_back(q<&Rating::inventory, &I::controllingLegalFactor>(in, "B.LR.07"));
    t.push_back(q<&Rating::inventory, &I::item63>(in, "item63"));
    t.push_back(q<&Rating::inventory, &I::item64>(in, "item64"));
    t.push_back(q<&Rating::inventory, &I::item65>(in, "item65"));
    t.push_back(q<&Rating::inventory, &I::item66>(in, "item66"));
    t.push_back(q<&Rating::inventory, &I::item70>(in, "item70"));
    t.push_back(q<&Rating::inventory, &I::negativeRecordedAsZero>(in, "negativeRecordedAsZero"));
    addLegalLoadItems<0>(t, "inventory/legalLoads/0");
    addLegalLoadItems<1>(t, "inventory/legalLoads/1");
    addLegalLoadItems<2>(t, "inventory/legalLoads/2");
    addLegalLoadItems<3>(t, "inventory/legalLoads/3");
    addLegalLoadItems<4>(t, "inventory/legalLoads/4");
}

std::vector<Quantity> buildTable() {
    std::vector<Quantity> t;
    addInput(t, std::make_index_sequence<kFieldCount>{});

    constexpr std::string_view lf = "loadFactorInput";
    using LF = LoadFactorInput;
    t.push_back(q<&Rating::loadFactorInput, &LF::span>(lf, "span", "ft"));
    t.push_back(q<&Rating::loadFactorInput, &LF::thickness>(lf, "thickness", "in"));
    t.push_back(q<&Rating::loadFactorInput, &LF::areaTop>(lf, "areaTop", "sq in"));
    t.push_back(q<&Rating::loadFactorInput, &LF::distTop>(lf, "distTop", "in"));
    t.push_back(q<&Rating::loadFactorInput, &LF::areaBot>(lf, "areaBot", "sq in"));
    t.push_back(q<&Rating::loadFactorInput, &LF::distBot>(lf, "distBot", "in"));
    t.push_back(q<&Rating::loadFactorInput, &LF::fc>(lf, "fc", "psi"));
    t.push_back(q<&Rating::loadFactorInput, &LF::fy>(lf, "fy", "psi"));

    constexpr std::string_view ia = "inventoryAllowables";
    using IA = AllowableStresses;
    t.push_back(q<&Rating::inventoryAllowables, &IA::InvConcStress>(ia, "InvConcStress", "psi"));
    t.push_back(q<&Rating::inventoryAllowables, &IA::InvSteelStress>(ia, "InvSteelStress", "psi"));

    constexpr std::string_view tc = "thicknessCheck";
    using TC = ThicknessCheck;
    t.push_back(q<&Rating::thicknessCheck, &TC::MinThickness>(tc, "MinThickness", "ft"));
    t.push_back(q<&Rating::thicknessCheck, &TC::thicknessFt>(tc, "thicknessFt", "ft"));
    t.push_back(q<&Rating::thicknessCheck, &TC::warning>(tc, "warning"));

    t.push_back(q<&Rating::derivedModularRatio>({}, "derivedModularRatio"));

    constexpr std::string_view uc = "ultimateCapacity";
    using UC = UltimateCapacityResult;
    t.push_back(q<&Rating::ultimateCapacity, &UC::Beta1>(uc, "Beta1"));
    t.push_back(q<&Rating::ultimateCapacity, &UC::aTop>(uc, "aTop", "in"));
    t.push_back(q<&Rating::ultimateCapacity, &UC::aBot>(uc, "aBot", "in"));
    t.push_back(q<&Rating::ultimateCapacity, &UC::leverTop>(uc, "leverTop", "sq in"));
    t.push_back(q<&Rating::ultimateCapacity, &UC::leverBot>(uc, "leverBot", "sq in"));
    t.push_back(
        q<&Rating::ultimateCapacity, &UC::UltimateCapacity>(uc, "UltimateCapacity", "lb-ft"));

    constexpr std::string_view oa = "operatingAllowables";
    using OA = OperatingAllowables;
    t.push_back(q<&Rating::operatingAllowables, &OA::OperConcStress>(oa, "OperConcStress", "psi"));
    t.push_back(
        q<&Rating::operatingAllowables, &OA::OperSteelStress>(oa, "OperSteelStress", "psi"));

    addSectionInput<&Rating::sectionInput>(t, "sectionInput");
    addPass<&Rating::inventoryPass>(t, "inventoryPass", "inventoryPass/section");
    addPass<&Rating::operatingPass>(t, "operatingPass", "operatingPass/section");

    constexpr std::string_view mo = "moments";
    t.push_back(q<&Rating::moments, &Moments::w>(mo, "w", "lb/ft"));
    t.push_back(q<&Rating::moments, &Moments::M_DL>(mo, "M_DL", "lb-ft"));
    t.push_back(q<&Rating::moments, &Moments::M_LL>(mo, "M_LL", "lb-ft"));
    t.push_back(q<&Rating::moments, &Moments::stateTruckMoment>(mo, "stateTruckMoment", "kip-ft"));
    t.push_back(q<&Rating::moments, &Moments::interstateTruckMoment>(
        mo, "interstateTruckMoment", "kip-ft", Presence::NotStateSeries));

    addLevel<&Rating::workingStressInventory>(t, "workingStressInventory");
    addLevel<&Rating::workingStressOperating>(t, "workingStressOperating");

    constexpr std::string_view rm = "reportMoments";
    t.push_back(
        q<&Rating::reportMoments, &ReportMoments::DeadLoadMoment>(rm, "DeadLoadMoment", "kip-ft"));
    t.push_back(
        q<&Rating::reportMoments, &ReportMoments::LiveLoadMoment>(rm, "LiveLoadMoment", "kip-ft"));

    constexpr std::string_view lr = "loadFactorRating";
    using LR = LoadFactorRating;
    t.push_back(q<&Rating::loadFactorRating, &LR::MemberCapacity>(lr, "MemberCapacity", "kip-ft"));
    t.push_back(
        q<&Rating::loadFactorRating, &LR::LiveLoadCapacity>(lr, "LiveLoadCapacity", "kip-ft"));
    t.push_back(q<&Rating::loadFactorRating, &LR::RatingFactor>(lr, "RatingFactor"));
    t.push_back(
        q<&Rating::loadFactorRating, &LR::factoredDeadLoad>(lr, "factoredDeadLoad", "kip-ft"));
    t.push_back(
        q<&Rating::loadFactorRating, &LR::factoredLiveLoad>(lr, "factoredLiveLoad", "kip-ft"));
    t.push_back(q<&Rating::loadFactorRating, &LR::inventoryFactoredLiveLoad>(
        lr, "inventoryFactoredLiveLoad", "kip-ft"));
    t.push_back(
        q<&Rating::loadFactorRating, &LR::inventoryRatingFactor>(lr, "inventoryRatingFactor"));
    t.push_back(q<&Rating::loadFactorRating, &LR::inventoryTons>(lr, "inventoryTons", "tons"));
    t.push_back(q<&Rating::loadFactorRating, &LR::operatingTons>(lr, "operatingTons", "tons"));

    constexpr std::string_view ss = "stressScales";
    t.push_back(q<&Rating::stressScales, &StressScales::StressScaleInv>(ss, "StressScaleInv"));
    t.push_back(q<&Rating::stressScales, &StressScales::StressScaleOper>(ss, "StressScaleOper"));

    addHs20Column<&Hs20Rating::inventory>(t, "hs20/inventory");
    addHs20Column<&Hs20Rating::operating>(t, "hs20/operating");

    addLegalTrucks<&reportTrucks>(
        t, {"legalTrucks", "legalTrucks/trucks/0", "legalTrucks/trucks/1", "legalTrucks/trucks/2"});

    addSectionInput<&Rating::midspan, &MidspanSection::sectionInput>(t, "midspan/sectionInput");
    addPass<&Rating::midspan, &MidspanSection::inventoryPass>(t, "midspan/inventoryPass",
                                                              "midspan/inventoryPass/section");
    addPass<&Rating::midspan, &MidspanSection::operatingPass>(t, "midspan/operatingPass",
                                                              "midspan/operatingPass/section");
    addLevel<&Rating::midspan, &MidspanSection::inventory>(t, "midspan/inventory");
    addLevel<&Rating::midspan, &MidspanSection::operating>(t, "midspan/operating");

    addGoverningLevel<&GoverningRating::inventory>(t, "governing/inventory");
    addGoverningLevel<&GoverningRating::operating>(t, "governing/operating");
    addLegalTrucks<&governingTrucks>(
        t, {"governing/legalTrucks", "governing/legalTrucks/trucks/0",
            "governing/legalTrucks/trucks/1", "governing/legalTrucks/trucks/2"});
    constexpr std::string_view go = "governing";
    t.push_back(q<&Rating::governing, &GoverningRating::reviewForPosting>(go, "reviewForPosting"));
    t.push_back({go,
                 "controllingTruck",
                 {},
                 Precision::Text,
                 Presence::WithLegalTrucks,
                 &controllingTruck});

    using LC = LoadFactorChecks;
    addFaceCheck<&LC::top>(t, "loadFactorChecks/top");
    addFaceCheck<&LC::bottom>(t, "loadFactorChecks/bottom");
    constexpr std::string_view lc = "loadFactorChecks";
    t.push_back(q<&Rating::loadFactorChecks, &LC::modulusOfRupture>(lc, "modulusOfRupture", "psi"));
    t.push_back(q<&Rating::loadFactorChecks, &LC::crackingMoment>(lc, "crackingMoment", "kip-ft"));
    t.push_back(
        q<&Rating::loadFactorChecks, &LC::minimumCapacity>(lc, "minimumCapacity", "kip-ft"));
    constexpr std::string_view mc = "modularRatioCheck";
    using MC = ModularRatioCheck;
    t.push_back(q<&Rating::modularRatioCheck, &MC::fc>(mc, "fc", "psi"));
    t.push_back(q<&Rating::modularRatioCheck, &MC::EsOverEc>(mc, "esOverEc"));
    t.push_back(q<&Rating::modularRatioCheck, &MC::n>(mc, "n"));

    addDecisions(t);
    t.push_back({{}, "status", {}, Precision::Text, Presence::Always, &statusText});
    return t;
}

constexpr std::array<QuantityGroup, 63> kGroups{{
    {"input", "every run whose numbers read as numbers"},
    {"loadFactorInput", "load factor runs"},
    {"inventoryAllowables", "load factor runs"},
    {"thicknessCheck", "load factor runs"},
    {"ultimateCapacity", "load factor runs that reached the capacity"},
    {"operatingAllowables", "runs that reached the working stress analysis"},
    {"sectionInput", "runs that reached the working stress analysis"},
    {"inventoryPass", "runs that reached the inventory pass"},
    {"inventoryPass/section", "with its pass"},
    {"operatingPass", "runs that reached the operating pass"},
    {"operatingPass/section", "with its pass"},
    {"moments", "runs that reached the moments"},
    {"workingStressInventory", "runs that reached the moments"},
    {"workingStressOperating", "runs that reached the operating pass"},
    {"reportMoments", "runs that reached the operating pass"},
    {"loadFactorRating", "load factor runs that reached the ratings"},
    {"stressScales", "load factor runs that reached the ratings"},
    {"hs20", "runs that reached the HS20 table"},
    {"hs20/inventory", "with the HS20 table"},
    {"hs20/operating", "with the HS20 table"},
    {"legalTrucks", "complete runs whose HS20 operating rating is below the HS20 gross weight"},
    {"legalTrucks/trucks/0", "with the legal-truck table"},
    {"legalTrucks/trucks/1", "with the legal-truck table"},
    {"legalTrucks/trucks/2", "with the legal-truck table"},
    {"midspan", "complete working stress runs whose midspan section could be analysed"},
    {"midspan/sectionInput", "with the midspan section"},
    {"midspan/inventoryPass", "with the midspan section"},
    {"midspan/inventoryPass/section", "with the midspan section"},
    {"midspan/operatingPass", "with the midspan section"},
    {"midspan/operatingPass/section", "with the midspan section"},
    {"midspan/inventory", "with the midspan section"},
    {"midspan/operating", "with the midspan section"},
    {"governing", "complete runs"},
    {"governing/inventory", "with the governing rating"},
    {"governing/operating", "with the governing rating"},
    {"governing/legalTrucks",
     "complete runs whose governing HS20 operating rating is below the HS20 gross weight", true},
    {"governing/legalTrucks/trucks/0", "with the governing legal-truck table"},
    {"governing/legalTrucks/trucks/1", "with the governing legal-truck table"},
    {"governing/legalTrucks/trucks/2", "with the governing legal-truck table"},
    {"loadFactorChecks", "complete load factor runs whose checks are defined"},
    {"loadFactorChecks/top", "with the load factor checks"},
    {"loadFactorChecks/bottom", "with the load factor checks"},
    {"modularRatioCheck", "complete working stress runs whose Concrete Fc is above 0"},
    {"legalLoads", "complete runs"},
    {"legalLoads/vehicles/0", "complete runs"},
    {"legalLoads/vehicles/1", "complete runs"},
    {"legalLoads/vehicles/2", "complete runs"},
    {"legalLoads/vehicles/3", "complete runs"},
    {"legalLoads/vehicles/4", "complete runs"},
    {"posting", "complete runs"},
    {"posting/policy", "complete runs"},
    {"posting/vehicles/0", "complete runs"},
    {"posting/vehicles/1", "complete runs"},
    {"posting/vehicles/2", "complete runs"},
    {"posting/vehicles/3", "complete runs"},
    {"posting/vehicles/4", "complete runs"},
    {"posting/emergency", "complete runs whose posting has an emergency vehicle sign", true},
    {"inventory", "complete runs"},
    {"inventory/legalLoads/0", "complete runs"},
    {"inventory/legalLoads/1", "complete runs"},
    {"inventory/legalLoads/2", "complete runs"},
    {"inventory/legalLoads/3", "complete runs"},
    {"inventory/legalLoads/4", "complete runs"},
}};

}  // namespace

std::span<const Quantity> quantities() {
    static const std::vector<Quantity> table = buildTable();
    return table;
}

std::span<const QuantityGroup> quantityGroups() {
    return kGroups;
}

QuantityIndex::QuantityIndex(const Rating& rating)
    : m_base(reinterpret_cast<const unsigned char*>(&rating)), m_byOffset(sizeof(Rating), 0) {
    m_held.reserve(quantities().size());
    forEachQuantity(rating, [this](const Quantity& quantity, const QuantityValue& value) {
        // Every quantity is a member of the rating; the first of two at one place wins.
        const std::size_t offset = reinterpret_cast<std::uintptr_t>(value.address) -
                                   reinterpret_cast<std::uintptr_t>(m_base);
        if (offset < m_byOffset.size() && m_byOffset[offset] == 0) {
            m_held.emplace_back(&quantity, value);
            m_byOffset[offset] = static_cast<std::uint16_t>(m_held.size());
        }
    });
}

const std::pair<const Quantity*, QuantityValue>* QuantityIndex::find(const void* member) const {
    const auto address = reinterpret_cast<std::uintptr_t>(member);
    const auto base = reinterpret_cast<std::uintptr_t>(m_base);
    if (address < base || address - base >= m_byOffset.size()) {
        return nullptr;
    }
    const std::uint16_t slot = m_byOffset[address - base];
    return slot == 0 ? nullptr : &m_held[slot - 1];
}

}  // namespace slabrating

#pragma once
// The quantity table as the compiler sees it: each quantity of a rating with its group, name,
// unit, precision, presence and the path of members of `Rating` that holds it. A view that
// names a quantity by its path (`quantityIndex<&Rating::loadFactorInput,
// &LoadFactorInput::fy>()`) has it found here while it is compiled, so that a quantity the
// table lacks does not build.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

#include "engine/field_table.h"
#include "engine/load_type.h"
#include "engine/quantity_table.h"
#include "engine/rating.h"

namespace slabrating {

// Paths of members. A step of a path is a pointer to a member, or an index into an array; an
// optional on the way is passed through when present, and the last member is the quantity,
// an optional one included.
namespace quantity_path {

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <auto Step, class T>
constexpr const auto& step(const T& at) {
    if constexpr (std::is_member_object_pointer_v<decltype(Step)>) {
        return at.*Step;
    } else {
        return at[Step];
    }
}

template <class T>
constexpr const T* present(const T& at) {
    return &at;
}
template <class T>
constexpr const T* present(const std::optional<T>& at) {
    return at ? &*at : nullptr;
}

// The member at the end of the path from `at`; null where an optional on the way is absent.
template <auto Step, auto... Rest, class T>
constexpr const auto* reach(const T& at) {
    const auto& next = step<Step>(at);
    if constexpr (sizeof...(Rest) == 0) {
        return &next;
    } else {
        const auto* inner = present(next);
        using Reached = decltype(reach<Rest...>(*inner));
        return inner != nullptr ? reach<Rest...>(*inner) : Reached{};
    }
}

// An index of a path as the table spells it, whatever integer type a view writes it in.
template <auto Step>
inline constexpr auto kStep = [] {
    if constexpr (std::is_integral_v<decltype(Step)>) {
        return static_cast<std::size_t>(Step);
    } else {
        return Step;
    }
}();

}  // namespace quantity_path

/// Calls `visit(std::integral_constant<std::size_t, I>{})` for each I below `N`: for the
/// quantities of each element of an array, whose index is a step of their paths.
template <std::size_t N, class Visitor>
constexpr void forEachIndex(Visitor&& visit) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (visit(std::integral_constant<std::size_t, I>{}), ...);
    }
    (std::make_index_sequence<N>{});
}

/// The type of the member at `Path` from a `Rating`, an optional one as its value's type.
template <auto... Path>
using HeldAt = std::remove_cvref_t<decltype(*quantity_path::present(
    *quantity_path::reach<Path...>(std::declval<const Rating&>())))>;

/// How the run holds a member of type `T` (an optional as its value).
template <class T>
constexpr Precision precisionOf() {
    if constexpr (quantity_path::IsOptional<T>::value) {
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

/// `member` as a quantity's value; false for an absent optional.
template <class T>
bool holdValue(const T& member, QuantityValue& value) {
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
bool holdValue(const std::optional<T>& member, QuantityValue& value) {
    return member && holdValue(*member, value);
}

/// Reads the member at `Path` (a number, a flag or a text); false when the run does not
/// hold it.
template <auto... Path>
bool readAt(const Rating& rating, QuantityValue& value) {
    const auto* member = quantity_path::reach<Path...>(rating);
    return member != nullptr && holdValue(*member, value);
}

/// Reads the choice at `Path` as the text `Name` gives it: a series by its name, a section
/// by its words.
template <auto Name, auto... Path>
bool readNamed(const Rating& rating, QuantityValue& value) {
    const auto* member = quantity_path::reach<Path...>(rating);
    const auto* choice = member != nullptr ? quantity_path::present(*member) : nullptr;
    if (choice == nullptr) {
        return false;
    }
    value.text = Name(*choice);
    return true;
}

/// How a quantity's JSON key is made from its name and unit.
enum class KeyStyle {
    Camel,  ///< the name in lower camel case (a symbol as it is), then the unit
    Field,  ///< an input field's name as it is (its `--set` name), then the unit
};

/// A name of its own for the path of members `Path`, as the compiler spells the path: the
/// identity of a quantity while compiling. Texts compare in a constant expression wherever
/// they are made; the addresses of two readers do not always (the null-pointer sanitizer
/// lets no address be assumed non-null).
template <auto... Path>
consteval std::string_view pathName() {
    return __PRETTY_FUNCTION__;
}

/// One quantity of `Rating`, as the table defines it; its JSON key is made once at run time
/// (`Quantity::key`).
struct QuantityDef {
    std::string_view group;  ///< as `Quantity::group`
    std::string_view name;   ///< "ResistingMoment": the key without its unit
    std::string_view unit;   ///< as `Quantity::unit`
    KeyStyle keyStyle = KeyStyle::Camel;
    Precision precision = Precision::Double;
    Presence presence = Presence::Always;
    QuantityReader read = nullptr;
    std::string_view path;  ///< its identity: `pathName` of its path (and of its choice's name)
};

namespace quantity_defs {

// Room for the table while it is built.
inline constexpr std::size_t kCapacity = 640;

class QuantityList {
public:
    constexpr void add(const QuantityDef& quantity) {
        if (m_size == m_items.size()) {
            throw "the quantity list is full: raise kCapacity";
        }
        m_items[m_size++] = quantity;
    }
    constexpr std::size_t size() const { return m_size; }
    constexpr const QuantityDef& operator[](std::size_t i) const { return m_items[i]; }

private:
    std::array<QuantityDef, kCapacity> m_items{};
    std::size_t m_size = 0;
};

// A number, a flag or a text held at `Path`.
template <auto... Path>
constexpr QuantityDef held(std::string_view group, std::string_view name,
                           std::string_view unit = {}, Presence presence = Presence::Always) {
    return {group,
            name,
            unit,
            KeyStyle::Camel,
            precisionOf<HeldAt<Path...>>(),
            presence,
            &readAt<Path...>,
            pathName<Path...>()};
}

// A choice held at `Path`, shown by the text `Name` gives it.
template <auto Name, auto... Path>
constexpr QuantityDef named(std::string_view group, std::string_view name,
                            Presence presence = Presence::Always) {
    return {group,
            name,
            {},
            KeyStyle::Camel,
            Precision::Text,
            presence,
            &readNamed<Name, Path...>,
            pathName<Name, Path...>()};
}

constexpr std::string_view vehicleKindName(VehicleKind kind) {
    return kind == VehicleKind::LegalTruck ? "legal truck" : "emergency vehicle";
}

// The series' name and title are the series table's, for the series the engine chose. Two
// functions, not one template: a quantity's identity is the compiler's name of its path, and
// clang names a function template's instance without its arguments.
constexpr std::string_view seriesName(TruckSeries series) {
    return seriesInfo(series).name;
}
constexpr std::string_view seriesTitle(TruckSeries series) {
    return seriesInfo(series).title;
}

// The controlling truck of a legal-truck table, by its type.
constexpr std::string_view controllingType(const LegalTruckRatings& table) {
    return table.trucks[table.controlling].type;
}

// The input group: the field table's texts and numbers, keyed by the field's name and unit.
template <std::size_t I>
constexpr void addField(QuantityList& t, FieldKind kind) {
    constexpr const FieldInfo& field = kFields[I];
    if constexpr (field.kind == FieldKind::Text) {
        if (kind == FieldKind::Text) {
            t.add({"input", field.name, field.unit, KeyStyle::Field, Precision::Text,
                   Presence::Always, &readAt<&Rating::input, field.heldText>,
                   pathName<&Rating::input, field.heldText>()});
        }
    } else {
        if (kind == FieldKind::Number) {
            t.add({"input", field.name, field.unit, KeyStyle::Field, Precision::Single,
                   Presence::Always, &readAt<&Rating::input, field.heldNumber>,
                   pathName<&Rating::input, field.heldNumber>()});
        }
    }
}

constexpr void addInput(QuantityList& t) {
    // The texts, the load type, then the numbers, as the record holds them.
    forEachIndex<kFieldCount>([&](auto i) { addField<i.value>(t, FieldKind::Text); });
    QuantityDef loadType = held<&Rating::input, &SlabInput::LoadType>("input", kLoadTypeName);
    loadType.keyStyle = KeyStyle::Field;  // the load type keeps its `--set` name too
    t.add(loadType);
    forEachIndex<kFieldCount>([&](auto i) { addField<i.value>(t, FieldKind::Number); });
}

// The inputs of a working stress analysis at `Path`.
template <auto... Path>
constexpr void addSectionInput(QuantityList& t, std::string_view g) {
    using In = WorkingStressInput;
    t.add(held<Path..., &In::n>(g, "n"));
    t.add(held<Path..., &In::InvConcStress>(g, "InvConcStress", "psi"));
    t.add(held<Path..., &In::InvSteelStress>(g, "InvSteelStress", "psi"));
    t.add(held<Path..., &In::OperConcStress>(g, "OperConcStress", "psi"));
    t.add(held<Path..., &In::OperSteelStress>(g, "OperSteelStress", "psi"));
    t.add(held<Path..., &In::areaTop>(g, "areaTop", "sq in"));
    t.add(held<Path..., &In::d>(g, "d", "in"));
    t.add(held<Path..., &In::areaBot>(g, "areaBot", "sq in"));
    t.add(held<Path..., &In::dPrime>(g, "dPrime", "in"));
}

// One pass of a working stress analysis at `Path` (an InventoryPass or an OperatingPass),
// its section's quantities first.
template <auto... Path>
constexpr void addPass(QuantityList& t, std::string_view g, std::string_view s) {
    using Pass = HeldAt<Path...>;
    using S = SectionQuantities;
    constexpr auto section = &Pass::section;
    t.add(held<Path..., section, &S::A>(s, "A"));
    t.add(held<Path..., section, &S::B>(s, "B"));
    t.add(held<Path..., section, &S::BPrime>(s, "BPrime"));
    t.add(held<Path..., section, &S::P>(s, "P"));
    t.add(held<Path..., section, &S::Q>(s, "Q"));
    t.add(held<Path..., section, &S::k>(s, "k"));
    t.add(held<Path..., section, &S::c>(s, "c"));
    t.add(held<Path..., section, &S::zr>(s, "zr"));
    t.add(held<Path..., section, &S::j>(s, "j"));
    t.add(held<Path..., section, &S::e>(s, "e"));
    t.add(held<Path..., section, &S::u>(s, "u"));
    t.add(held<Path..., section, &S::r>(s, "r"));
    t.add(held<Path..., &Pass::CompSteelFactor>(g, "CompSteelFactor"));
    t.add(held<Path..., &Pass::AdjustCount>(g, "AdjustCount"));
    t.add(held<Path..., &Pass::ResistingMoment>(g, "ResistingMoment", "lb-ft"));
    t.add(held<Path..., &Pass::ConcreteStress>(g, "ConcreteStress", "psi"));
    t.add(held<Path..., &Pass::SteelStress>(g, "SteelStress", "psi"));
    t.add(held<Path..., &Pass::CompSteelStress>(g, "CompSteelStress", "psi"));
}

// One level of a working stress rating at `Path`.
template <auto... Path>
constexpr void addLevel(QuantityList& t, std::string_view g) {
    using L = LevelRating;
    t.add(held<Path..., &L::MemberCapacity>(g, "MemberCapacity", "kip-ft"));
    t.add(held<Path..., &L::LiveLoadCapacity>(g, "LiveLoadCapacity", "kip-ft"));
    t.add(held<Path..., &L::ratingFactor>(g, "ratingFactor"));
    t.add(held<Path..., &L::RatingTons>(g, "RatingTons", "tons"));
}

// One column of the HS20 table (Hs20Inventory or Hs20Operating).
template <auto Column>
constexpr void addHs20Column(QuantityList& t, std::string_view g) {
    using C = HeldAt<&Rating::hs20, Column>;
    t.add(held<&Rating::hs20, Column, &C::ConcreteStress>(g, "ConcreteStress", "psi"));
    t.add(held<&Rating::hs20, Column, &C::SteelStress>(g, "SteelStress", "psi"));
    t.add(held<&Rating::hs20, Column, &C::CompSteelStress>(g, "CompSteelStress", "psi"));
    t.add(held<&Rating::hs20, Column, &C::MemberCapacity>(g, "MemberCapacity", "kip-ft"));
    t.add(held<&Rating::hs20, Column, &C::LiveLoadCapacity>(g, "LiveLoadCapacity", "kip-ft"));
    t.add(held<&Rating::hs20, Column, &C::RatingFactor>(g, "RatingFactor"));
    t.add(held<&Rating::hs20, Column, &C::RatingTons>(g, "RatingTons", "tons"));
}

// A legal-truck table at `Path`: its group and the groups of its three trucks.
template <auto... Path>
constexpr void addLegalTrucks(QuantityList& t, const std::array<std::string_view, 4>& groups) {
    using L = LegalTruckRatings;
    using T = LegalTruck;
    const std::string_view g = groups[0];
    t.add(named<&seriesName, Path..., &L::series>(g, "series"));
    t.add(named<&seriesTitle, Path..., &L::series>(g, "title"));
    t.add(held<Path..., &L::wheelKips>(g, "wheelKips", "kips"));
    t.add(held<Path..., &L::stateTruckMoment>(g, "TruckMoment", "kip-ft", Presence::StateSeries));
    t.add(held<Path..., &L::interstateTruckMoment>(g, "TruckMoment", "kip-ft",
                                                   Presence::InterstateSeries));
    forEachIndex<kTrucksPerSeries>([&](auto i) {
        const std::string_view tg = groups[i + 1];
        t.add(held<Path..., &L::trucks, i.value, &T::type>(tg, "type"));
        t.add(held<Path..., &L::trucks, i.value, &T::grossTons>(tg, "grossTons", "tons"));
        t.add(held<Path..., &L::trucks, i.value, &T::RatingFactor>(tg, "RatingFactor"));
        t.add(held<Path..., &L::trucks, i.value, &T::RatingTons>(tg, "RatingTons", "tons"));
    });
}

// One level of the governing rating.
template <auto Level>
constexpr void addGoverningLevel(QuantityList& t, std::string_view g) {
    using G = GoverningLevel;
    t.add(named<&sectionName, &Rating::governing, Level, &G::section>(g, "section"));
    t.add(held<&Rating::governing, Level, &G::RatingFactor>(g, "ratingFactor"));
    t.add(held<&Rating::governing, Level, &G::RatingTons>(g, "ratingTons", "tons"));
}

// One face's steel checks of a load factor run.
template <auto Face>
constexpr void addFaceCheck(QuantityList& t, std::string_view g) {
    using F = FaceSteelCheck;
    t.add(held<&Rating::loadFactorChecks, Face, &F::steelRatio>(g, "steelRatio"));
    t.add(held<&Rating::loadFactorChecks, Face, &F::balancedRatio>(g, "balancedRatio"));
    t.add(held<&Rating::loadFactorChecks, Face, &F::balancedShare>(g, "balancedShare"));
    t.add(held<&Rating::loadFactorChecks, Face, &F::phiMn>(g, "phiMn", "kip-ft"));
}

// One legal vehicle at both levels.
template <std::size_t I>
constexpr void addVehicle(QuantityList& t, std::string_view g) {
    using V = VehicleRating;
    constexpr auto at = &LegalLoadRatings::vehicles;
    t.add(held<&Rating::legalLoads, at, I, &V::name>(g, "name"));
    t.add(named<&vehicleKindName, &Rating::legalLoads, at, I, &V::kind>(g, "kind"));
    t.add(held<&Rating::legalLoads, at, I, &V::grossTons>(g, "grossWeight", "tons"));
    t.add(held<&Rating::legalLoads, at, I, &V::wheelKips>(g, "wheelLoad", "kips"));
    t.add(held<&Rating::legalLoads, at, I, &V::inventoryRatingFactor>(g, "inventoryRatingFactor"));
    t.add(held<&Rating::legalLoads, at, I, &V::inventoryTons>(g, "inventoryRating", "tons"));
    t.add(held<&Rating::legalLoads, at, I, &V::operatingRatingFactor>(g, "operatingRatingFactor"));
    t.add(held<&Rating::legalLoads, at, I, &V::operatingTons>(g, "operatingRating", "tons"));
    t.add(held<&Rating::legalLoads, at, I, &V::tandemByWheel>(g, "tandemByWheel"));
}

// One vehicle of the posting decision.
template <std::size_t I>
constexpr void addVehiclePosting(QuantityList& t, std::string_view g) {
    using P = VehiclePosting;
    constexpr auto at = &PostingDecision::vehicles;
    t.add(named<&vehicleActionName, &Rating::posting, at, I, &P::action>(g, "action"));
    t.add(named<&postingRuleText, &Rating::posting, at, I, &P::rule>(g, "rule"));
    t.add(held<&Rating::posting, at, I, &P::ratingFactor>(g, "ratingFactor"));
    t.add(held<&Rating::posting, at, I, &P::ratedTons>(g, "rated", "tons"));
    t.add(held<&Rating::posting, at, I, &P::valueTons>(g, "postingValue", "tons"));
}

// One legal vehicle's inventory items.
template <std::size_t I>
constexpr void addLegalLoadItems(QuantityList& t, std::string_view g) {
    using E = LegalLoadItems;
    constexpr auto at = &InventoryItems::legalLoads;
    t.add(held<&Rating::inventory, at, I, &E::configuration>(g, "B.EP.01"));
    t.add(held<&Rating::inventory, at, I, &E::ratingFactor>(g, "B.EP.02"));
    t.add(held<&Rating::inventory, at, I, &E::postingType>(g, "B.EP.03"));
    t.add(held<&Rating::inventory, at, I, &E::postingValue>(g, "B.EP.04"));
}

// The load factor run's inputs, allowables, thickness check and capacity.
constexpr void addLoadFactorCapacity(QuantityList& t) {
    constexpr std::string_view lf = "loadFactorInput";
    using LF = LoadFactorInput;
    t.add(held<&Rating::loadFactorInput, &LF::span>(lf, "span", "ft"));
    t.add(held<&Rating::loadFactorInput, &LF::thickness>(lf, "thickness", "in"));
    t.add(held<&Rating::loadFactorInput, &LF::areaTop>(lf, "areaTop", "sq in"));
    t.add(held<&Rating::loadFactorInput, &LF::distTop>(lf, "distTop", "in"));
    t.add(held<&Rating::loadFactorInput, &LF::areaBot>(lf, "areaBot", "sq in"));
    t.add(held<&Rating::loadFactorInput, &LF::distBot>(lf, "distBot", "in"));
    t.add(held<&Rating::loadFactorInput, &LF::fc>(lf, "fc", "psi"));
    t.add(held<&Rating::loadFactorInput, &LF::fy>(lf, "fy", "psi"));

    constexpr std::string_view ia = "inventoryAllowables";
    using IA = AllowableStresses;
    t.add(held<&Rating::inventoryAllowables, &IA::InvConcStress>(ia, "InvConcStress", "psi"));
    t.add(held<&Rating::inventoryAllowables, &IA::InvSteelStress>(ia, "InvSteelStress", "psi"));

    constexpr std::string_view tc = "thicknessCheck";
    using TC = ThicknessCheck;
    t.add(held<&Rating::thicknessCheck, &TC::MinThickness>(tc, "MinThickness", "ft"));
    t.add(held<&Rating::thicknessCheck, &TC::thicknessFt>(tc, "thicknessFt", "ft"));
    t.add(held<&Rating::thicknessCheck, &TC::warning>(tc, "warning"));

    t.add(held<&Rating::derivedModularRatio>({}, "derivedModularRatio"));

    constexpr std::string_view uc = "ultimateCapacity";
    using UC = UltimateCapacityResult;
    t.add(held<&Rating::ultimateCapacity, &UC::Beta1>(uc, "Beta1"));
    t.add(held<&Rating::ultimateCapacity, &UC::aTop>(uc, "aTop", "in"));
    t.add(held<&Rating::ultimateCapacity, &UC::aBot>(uc, "aBot", "in"));
    t.add(held<&Rating::ultimateCapacity, &UC::leverTop>(uc, "leverTop", "sq in"));
    t.add(held<&Rating::ultimateCapacity, &UC::leverBot>(uc, "leverBot", "sq in"));
    t.add(held<&Rating::ultimateCapacity, &UC::UltimateCapacity>(uc, "UltimateCapacity", "lb-ft"));
}

// The working stress analysis of the section over the girders, the moments and its rating.
constexpr void addWorkingStress(QuantityList& t) {
    constexpr std::string_view oa = "operatingAllowables";
    using OA = OperatingAllowables;
    t.add(held<&Rating::operatingAllowables, &OA::OperConcStress>(oa, "OperConcStress", "psi"));
    t.add(held<&Rating::operatingAllowables, &OA::OperSteelStress>(oa, "OperSteelStress", "psi"));

    addSectionInput<&Rating::sectionInput>(t, "sectionInput");
    addPass<&Rating::inventoryPass>(t, "inventoryPass", "inventoryPass/section");
    addPass<&Rating::operatingPass>(t, "operatingPass", "operatingPass/section");

    constexpr std::string_view mo = "moments";
    t.add(held<&Rating::moments, &Moments::w>(mo, "w", "lb/ft"));
    t.add(held<&Rating::moments, &Moments::M_DL>(mo, "M_DL", "lb-ft"));
    t.add(held<&Rating::moments, &Moments::M_LL>(mo, "M_LL", "lb-ft"));
    t.add(held<&Rating::moments, &Moments::stateTruckMoment>(mo, "stateTruckMoment", "kip-ft"));
    t.add(held<&Rating::moments, &Moments::interstateTruckMoment>(
        mo, "interstateTruckMoment", "kip-ft", Presence::NotStateSeries));

    addLevel<&Rating::workingStressInventory>(t, "workingStressInventory");
    addLevel<&Rating::workingStressOperating>(t, "workingStressOperating");

    constexpr std::string_view rm = "reportMoments";
    using RM = ReportMoments;
    t.add(held<&Rating::reportMoments, &RM::DeadLoadMoment>(rm, "DeadLoadMoment", "kip-ft"));
    t.add(held<&Rating::reportMoments, &RM::LiveLoadMoment>(rm, "LiveLoadMoment", "kip-ft"));
}

// The load factor rating and the scales of its reported stresses.
constexpr void addLoadFactorRating(QuantityList& t) {
    constexpr std::string_view lr = "loadFactorRating";
    using LR = LoadFactorRating;
    t.add(held<&Rating::loadFactorRating, &LR::MemberCapacity>(lr, "MemberCapacity", "kip-ft"));
    t.add(held<&Rating::loadFactorRating, &LR::LiveLoadCapacity>(lr, "LiveLoadCapacity", "kip-ft"));
    t.add(held<&Rating::loadFactorRating, &LR::RatingFactor>(lr, "RatingFactor"));
    t.add(held<&Rating::loadFactorRating, &LR::factoredDeadLoad>(lr, "factoredDeadLoad", "kip-ft"));
    t.add(held<&Rating::loadFactorRating, &LR::factoredLiveLoad>(lr, "factoredLiveLoad", "kip-ft"));
    t.add(held<&Rating::loadFactorRating, &LR::inventoryFactoredLiveLoad>(
        lr, "inventoryFactoredLiveLoad", "kip-ft"));
    t.add(held<&Rating::loadFactorRating, &LR::inventoryRatingFactor>(lr, "inventoryRatingFactor"));
    t.add(held<&Rating::loadFactorRating, &LR::inventoryTons>(lr, "inventoryTons", "tons"));
    t.add(held<&Rating::loadFactorRating, &LR::operatingTons>(lr, "operatingTons", "tons"));

    constexpr std::string_view ss = "stressScales";
    t.add(held<&Rating::stressScales, &StressScales::StressScaleInv>(ss, "StressScaleInv"));
    t.add(held<&Rating::stressScales, &StressScales::StressScaleOper>(ss, "StressScaleOper"));
}

// The report's tables: HS20 and the legal trucks.
constexpr void addReportTables(QuantityList& t) {
    addHs20Column<&Hs20Rating::inventory>(t, "hs20/inventory");
    addHs20Column<&Hs20Rating::operating>(t, "hs20/operating");
    addLegalTrucks<&Rating::legalTrucks>(
        t, {"legalTrucks", "legalTrucks/trucks/0", "legalTrucks/trucks/1", "legalTrucks/trucks/2"});
}

// The midspan section of a working stress run.
constexpr void addMidspan(QuantityList& t) {
    using M = MidspanSection;
    addSectionInput<&Rating::midspan, &M::sectionInput>(t, "midspan/sectionInput");
    addPass<&Rating::midspan, &M::inventoryPass>(t, "midspan/inventoryPass",
                                                 "midspan/inventoryPass/section");
    addPass<&Rating::midspan, &M::operatingPass>(t, "midspan/operatingPass",
                                                 "midspan/operatingPass/section");
    addLevel<&Rating::midspan, &M::inventory>(t, "midspan/inventory");
    addLevel<&Rating::midspan, &M::operating>(t, "midspan/operating");
}

// The governing rating and the legal trucks rated from it.
constexpr void addGoverning(QuantityList& t) {
    using G = GoverningRating;
    addGoverningLevel<&G::inventory>(t, "governing/inventory");
    addGoverningLevel<&G::operating>(t, "governing/operating");
    addLegalTrucks<&Rating::governing, &G::legalTrucks>(
        t, {"governing/legalTrucks", "governing/legalTrucks/trucks/0",
            "governing/legalTrucks/trucks/1", "governing/legalTrucks/trucks/2"});
    constexpr std::string_view go = "governing";
    t.add(held<&Rating::governing, &G::reviewForPosting>(go, "reviewForPosting"));
    t.add(named<&controllingType, &Rating::governing, &G::legalTrucks>(go, "controllingTruck",
                                                                       Presence::WithLegalTrucks));
}

// The checks beside a complete run's rating.
constexpr void addChecks(QuantityList& t) {
    using LC = LoadFactorChecks;
    addFaceCheck<&LC::top>(t, "loadFactorChecks/top");
    addFaceCheck<&LC::bottom>(t, "loadFactorChecks/bottom");
    constexpr std::string_view lc = "loadFactorChecks";
    t.add(held<&Rating::loadFactorChecks, &LC::modulusOfRupture>(lc, "modulusOfRupture", "psi"));
    t.add(held<&Rating::loadFactorChecks, &LC::crackingMoment>(lc, "crackingMoment", "kip-ft"));
    t.add(held<&Rating::loadFactorChecks, &LC::minimumCapacity>(lc, "minimumCapacity", "kip-ft"));
    constexpr std::string_view mc = "modularRatioCheck";
    using MC = ModularRatioCheck;
    t.add(held<&Rating::modularRatioCheck, &MC::fc>(mc, "fc", "psi"));
    t.add(held<&Rating::modularRatioCheck, &MC::EsOverEc>(mc, "esOverEc"));
    t.add(held<&Rating::modularRatioCheck, &MC::n>(mc, "n"));
}

// The posting decision: its policy, the structure's action and sign, each vehicle's value
// and the emergency vehicles' sign.
constexpr void addPosting(QuantityList& t) {
    constexpr std::string_view pp = "posting/policy";
    using D = PostingDecision;
    using Pol = PostingPolicy;
    constexpr auto policy = &D::policy;
    t.add(held<&Rating::posting, policy, &Pol::source>(pp, "source"));
    t.add(named<&postingLevelName, &Rating::posting, policy, &Pol::level>(pp, "level"));
    t.add(named<&signRoundingName, &Rating::posting, policy, &Pol::rounding>(pp, "rounding"));
    t.add(held<&Rating::posting, policy, &Pol::closureTons>(pp, "closureThreshold", "tons"));
    t.add(held<&Rating::posting, policy, &Pol::postEmergencyVehicles>(pp, "postEmergencyVehicles"));
    t.add(named<&signStyleName, &Rating::posting, policy, &Pol::sign>(pp, "sign"));
    constexpr std::string_view po = "posting";
    t.add(named<&structureActionName, &Rating::posting, &D::action>(po, "action"));
    t.add(named<&signTypeName, &Rating::posting, &D::sign>(po, "sign"));
    t.add(held<&Rating::posting, &D::signValueTons>(po, "signValue", "tons"));
    constexpr std::array<std::string_view, kLegalVehicleCount> vehicles{
        "posting/vehicles/0", "posting/vehicles/1", "posting/vehicles/2", "posting/vehicles/3",
        "posting/vehicles/4"};
    forEachIndex<kLegalVehicleCount>([&](auto i) { addVehiclePosting<i.value>(t, vehicles[i]); });
    constexpr std::string_view pe = "posting/emergency";
    using E = EmergencyLimits;
    t.add(held<&Rating::posting, &D::emergency, &E::singleAxleTons>(pe, "singleAxle", "tons"));
    t.add(held<&Rating::posting, &D::emergency, &E::tandemTons>(pe, "tandem", "tons"));
    t.add(held<&Rating::posting, &D::emergency, &E::grossTons>(pe, "gross", "tons"));
}

// The legal loads, the posting decision and the inventory items of a complete run.
constexpr void addDecisions(QuantityList& t) {
    constexpr std::array<std::string_view, kLegalVehicleCount> vehicles{
        "legalLoads/vehicles/0", "legalLoads/vehicles/1", "legalLoads/vehicles/2",
        "legalLoads/vehicles/3", "legalLoads/vehicles/4"};
    forEachIndex<kLegalVehicleCount>([&](auto i) { addVehicle<i.value>(t, vehicles[i]); });
    addPosting(t);

    constexpr std::string_view in = "inventory";
    using I = InventoryItems;
    t.add(held<&Rating::inventory, &I::ratingDate>(in, "B.LR.03"));
    t.add(held<&Rating::inventory, &I::method>(in, "B.LR.04"));
    t.add(held<&Rating::inventory, &I::inventoryRatingFactor>(in, "B.LR.05"));
    t.add(held<&Rating::inventory, &I::operatingRatingFactor>(in, "B.LR.06"));
    t.add(held<&Rating::inventory, &I::controllingLegalFactor>(in, "B.LR.07"));
    t.add(held<&Rating::inventory, &I::item63>(in, "item63"));
    t.add(held<&Rating::inventory, &I::item64>(in, "item64"));
    t.add(held<&Rating::inventory, &I::item65>(in, "item65"));
    t.add(held<&Rating::inventory, &I::item66>(in, "item66"));
    t.add(held<&Rating::inventory, &I::item70>(in, "item70"));
    t.add(held<&Rating::inventory, &I::negativeRecordedAsZero>(in, "negativeRecordedAsZero"));
    constexpr std::array<std::string_view, kLegalVehicleCount> loads{
        "inventory/legalLoads/0", "inventory/legalLoads/1", "inventory/legalLoads/2",
        "inventory/legalLoads/3", "inventory/legalLoads/4"};
    forEachIndex<kLegalVehicleCount>([&](auto i) { addLegalLoadItems<i.value>(t, loads[i]); });
}

// Every quantity, in the JSON result's order: the quantities of a group stand together, a
// group inside another before the rest of the other's quantities.
constexpr QuantityList buildQuantities() {
    QuantityList t;
    addInput(t);
    addLoadFactorCapacity(t);
    addWorkingStress(t);
    addLoadFactorRating(t);
    addReportTables(t);
    addMidspan(t);
    addGoverning(t);
    addChecks(t);
    addDecisions(t);
    t.add(named<&statusName, &Rating::status>({}, "status"));
    return t;
}

inline constexpr QuantityList kList = buildQuantities();

}  // namespace quantity_defs

/// The number of quantities in the table.
inline constexpr std::size_t kQuantityCount = quantity_defs::kList.size();

/// Every quantity, as `quantities()` lists them at run time (which adds their JSON keys).
inline constexpr std::array<QuantityDef, kQuantityCount> kQuantityDefs = [] {
    std::array<QuantityDef, kQuantityCount> defs{};
    for (std::size_t i = 0; i < kQuantityCount; ++i) {
        defs[i] = quantity_defs::kList[i];
    }
    return defs;
}();

/// The index in the table, from `from` on, of the quantity whose path is named `path`;
/// `kQuantityCount` for none.
consteval std::size_t findQuantity(std::string_view path, std::size_t from = 0) {
    for (std::size_t i = from; i < kQuantityCount; ++i) {
        if (kQuantityDefs[i].path == path) {
            return i;
        }
    }
    return kQuantityCount;
}

/// The index in the table of the quantity held at `Path` (steps as `readAt` takes them), found
/// while compiling: a path that holds no quantity of the table does not build.
template <auto... Path>
consteval std::size_t quantityIndex() {
    constexpr std::size_t index = findQuantity(pathName<quantity_path::kStep<Path>...>());
    static_assert(index < kQuantityCount,
                  "the quantity table has no quantity at this path of members: add it to the "
                  "table (engine/quantity_defs.h), or do not show it as a quantity");
    static_assert(
        findQuantity(pathName<quantity_path::kStep<Path>...>(), index + 1) == kQuantityCount,
        "the quantity table holds two quantities at this path of members");
    return index;
}

}  // namespace slabrating

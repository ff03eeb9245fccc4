#pragma once
// The load type, its legal-truck series and the vehicles they rate, described once: the
// window's list, the input file's column, `--set LoadType`, the rating run, the report and
// every view read these tables and never spell a load type, a series or a truck of their own.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace slabrating {

/// The load type: the selection of the list `List1`, held with the code the input file and
/// `--set LoadType` give it.
enum class LoadType : int {
    None = 0,         ///< nothing selected
    StateTrucks = 1,  ///< first entry, "1=Brevania"
    Interstate = 2,   ///< second entry, "2=Interstate"
};

/// The legal-truck series.
enum class TruckSeries {
    State,       ///< the state's legal trucks
    Interstate,  ///< the Interstate legal trucks
};

/// One vehicle the program rates. A legal truck belongs to a series and has the series'
/// heaviest wheel; a vehicle rated on its own (no series) carries its own axles.
struct VehicleInfo {
    std::string_view type;              ///< "3", "3S2", "3-2": the name every view prints
    std::optional<TruckSeries> series;  ///< the series it belongs to; none when rated on its own
    double grossTons;                   ///< gross weight (tons)
    /// Heaviest wheel load (kips): the load the slab formula takes, half the heaviest axle.
    double wheelKips;
    /// Axle loads front to back (kips); empty where only the heaviest wheel is known.
    std::span<const double> axleKips = {};
    /// Spacings between consecutive axles (ft), one fewer than the axles; empty likewise.
    std::span<const double> axleSpacingFt = {};
};

/// The emergency vehicles of 23 U.S.C. 127(r) (24,000 lb steer axle, 33,500 lb single drive
/// axle, 62,000 lb tandem) as the federal models shape them (kips, ft): EV2 a steer axle and
/// a single drive axle 15 ft behind it; EV3 a steer axle and a tandem of two 31 kip axles
/// 4 ft apart, its steer-to-tandem spacing not used here.
inline constexpr std::array<double, 2> kEv2AxleKips{24.0, 33.5};
inline constexpr std::array<double, 1> kEv2AxleSpacingFt{15.0};
inline constexpr std::array<double, 3> kEv3AxleKips{24.0, 31.0, 31.0};

/// The vehicles: each series' trucks in report order (types 3, 3S2 and 3-2), then the
/// emergency vehicles EV2 and EV3, rated on their own beside every series.
inline constexpr std::array kVehicles{
    VehicleInfo{.type = "3", .series = TruckSeries::State, .grossTons = 27.0, .wheelKips = 10.0},
    VehicleInfo{.type = "3S2", .series = TruckSeries::State, .grossTons = 42.5, .wheelKips = 10.0},
    VehicleInfo{.type = "3-2", .series = TruckSeries::State, .grossTons = 42.5, .wheelKips = 10.0},
    VehicleInfo{
        .type = "3", .series = TruckSeries::Interstate, .grossTons = 24.0, .wheelKips = 9.0},
    VehicleInfo{
        .type = "3S2", .series = TruckSeries::Interstate, .grossTons = 38.0, .wheelKips = 9.0},
    VehicleInfo{
        .type = "3-2", .series = TruckSeries::Interstate, .grossTons = 39.0, .wheelKips = 9.0},
    VehicleInfo{.type = "EV2",
                .series = std::nullopt,
                .grossTons = 28.75,
                .wheelKips = 16.75,
                .axleKips = kEv2AxleKips,
                .axleSpacingFt = kEv2AxleSpacingFt},
    VehicleInfo{.type = "EV3",
                .series = std::nullopt,
                .grossTons = 43.0,
                .wheelKips = 15.5,
                .axleKips = kEv3AxleKips},
};

/// Trucks in each legal-truck series.
inline constexpr std::size_t kTrucksPerSeries = 3;

/// Everything the program knows about one legal-truck series.
struct SeriesInfo {
    TruckSeries id;
    std::string_view title;   ///< "Brevania Trucks": the heading of the report's table, the sheet's
    std::string_view name;    ///< "state": the JSON result's and the CSV summary's value
    std::string_view symbol;  ///< "state": the subscript of its moment on the sheet, M_state
    std::string_view place;   ///< "Brevania": whose legal trucks they are, as the list names it
    /// Columns (from 1) where the report starts the trucks' gross weights.
    std::array<std::size_t, kTrucksPerSeries> reportGrossColumns;
    /// Blanks the report puts between the ratings of the first and the second truck.
    std::size_t reportFirstGap;
};

/// The series, in the order of `TruckSeries`.
inline constexpr std::array<SeriesInfo, 2> kSeries{{
    {.id = TruckSeries::State,
     .title = "Brevania Trucks",
     .name = "state",
     .symbol = "state",
     .place = "Brevania",
     .reportGrossColumns = {32, 42, 53},
     .reportFirstGap = 4},
    {.id = TruckSeries::Interstate,
     .title = "Interstate Trucks",
     .name = "interstate",
     .symbol = "Interstate",
     .place = "Interstate",
     .reportGrossColumns = {32, 43, 54},
     .reportFirstGap = 5},
}};

/// Everything the program knows about one load type.
struct LoadTypeInfo {
    LoadType id;
    char code;  ///< the input file's column and the `--set LoadType` text: '1'
    /// The list's entry, "1=Brevania"; empty for a load type the list does not show.
    std::string_view listEntry = {};
    std::string_view highways =
        {};                        ///< "state highways": where the list's tool tip says it applies
    std::string_view sheetText;    ///< "1 = Brevania (state legal trucks)": the sheet's input table
    std::string_view description;  ///< "state trucks": the manual's words for the choice
    TruckSeries series;            ///< the legal trucks a run of this load type rates
};

/// The load types, in the order of their codes.
inline constexpr std::array<LoadTypeInfo, 3> kLoadTypes{{
    {.id = LoadType::None,
     .code = '0',
     .sheetText = "none selected (Interstate legal trucks)",
     .description = "none",
     .series = TruckSeries::Interstate},
    {.id = LoadType::StateTrucks,
     .code = '1',
     .listEntry = "1=Brevania",
     .highways = "state highways",
     .sheetText = "1 = Brevania (state legal trucks)",
     .description = "state trucks",
     .series = TruckSeries::State},
    {.id = LoadType::Interstate,
     .code = '2',
     .listEntry = "2=Interstate",
     .highways = "interstate highways",
     .sheetText = "2 = Interstate legal trucks",
     .description = "Interstate trucks",
     .series = TruckSeries::Interstate},
}};

/// The load type as a number, its code's digit: 1 for the state trucks.
constexpr int valueOf(LoadType type) {
    return static_cast<int>(type);
}

/// The description of a series.
constexpr const SeriesInfo& seriesInfo(TruckSeries series) {
    return kSeries[static_cast<std::size_t>(series)];
}

/// The description of a load type; a value outside the table (a record built by hand)
/// counts as nothing selected, as the input file writes it.
constexpr const LoadTypeInfo& loadTypeInfo(LoadType type) {
    for (const LoadTypeInfo& info : kLoadTypes) {
        if (info.id == type) {
            return info;
        }
    }
    return kLoadTypes[0];
}

/// The load type coded `code` ('0', '1' or '2'); none for another character.
constexpr std::optional<LoadType> loadTypeCoded(char code) {
    for (const LoadTypeInfo& info : kLoadTypes) {
        if (info.code == code) {
            return info.id;
        }
    }
    return std::nullopt;
}

/// The load type whose code is the whole of `text` ("1"); none for another text.
constexpr std::optional<LoadType> loadTypeText(std::string_view text) {
    return text.size() == 1 ? loadTypeCoded(text.front()) : std::nullopt;
}

/// True when the list shows the load type, so that a user can choose it.
constexpr bool isListed(LoadType type) {
    return !loadTypeInfo(type).listEntry.empty();
}

namespace detail {

constexpr std::size_t listedCount() {
    std::size_t n = 0;
    for (const LoadTypeInfo& info : kLoadTypes) {
        n += info.listEntry.empty() ? 0 : 1;
    }
    return n;
}

}  // namespace detail

/// The load types the list shows, in the list's order.
inline constexpr std::array<LoadType, detail::listedCount()> kListedLoadTypes = [] {
    std::array<LoadType, detail::listedCount()> listed{};
    std::size_t n = 0;
    for (const LoadTypeInfo& info : kLoadTypes) {
        if (!info.listEntry.empty()) {
            listed[n++] = info.id;
        }
    }
    return listed;
}();

/// The series a run of this load type rates.
constexpr TruckSeries seriesOf(LoadType type) {
    return loadTypeInfo(type).series;
}

/// The trucks of a series, in report order.
constexpr std::array<const VehicleInfo*, kTrucksPerSeries> seriesTrucks(TruckSeries series) {
    std::array<const VehicleInfo*, kTrucksPerSeries> trucks{};
    std::size_t n = 0;
    for (const VehicleInfo& vehicle : kVehicles) {
        if (vehicle.series == series && n < kTrucksPerSeries) {
            trucks[n++] = &vehicle;
        }
    }
    return trucks;
}

/// Number of vehicles rated on their own, beside every series: EV2 and EV3.
inline constexpr std::size_t kOwnVehicleCount = [] {
    std::size_t n = 0;
    for (const VehicleInfo& vehicle : kVehicles) {
        n += vehicle.series ? 0 : 1;
    }
    return n;
}();

/// The vehicles rated on their own, in the table's order: EV2, EV3.
constexpr std::array<const VehicleInfo*, kOwnVehicleCount> ownVehicles() {
    std::array<const VehicleInfo*, kOwnVehicleCount> own{};
    std::size_t n = 0;
    for (const VehicleInfo& vehicle : kVehicles) {
        if (!vehicle.series) {
            own[n++] = &vehicle;
        }
    }
    return own;
}

/// The heaviest wheel load of a series (kips), which all its trucks share, so that one
/// moment serves them all.
constexpr double seriesWheelKips(TruckSeries series) {
    return seriesTrucks(series)[0]->wheelKips;
}

namespace detail {

constexpr bool loadTypesAreConsistent() {
    for (std::size_t i = 0; i < kSeries.size(); ++i) {
        const auto series = static_cast<TruckSeries>(i);
        if (kSeries[i].id != series) {
            return false;
        }
        std::size_t count = 0;
        for (const VehicleInfo& vehicle : kVehicles) {
            if (vehicle.series == series) {
                ++count;
                if (vehicle.wheelKips != seriesWheelKips(series)) {
                    return false;
                }
            }
        }
        if (count != kTrucksPerSeries) {
            return false;
        }
    }
    // A series' trucks have the same types in the same order, the columns of one table.
    for (std::size_t t = 0; t < kTrucksPerSeries; ++t) {
        for (const SeriesInfo& series : kSeries) {
            if (seriesTrucks(series.id)[t]->type != seriesTrucks(TruckSeries::State)[t]->type) {
                return false;
            }
        }
    }
    // A vehicle with its axles weighs their sum (2 kips a ton) and has half the heaviest
    // axle as its wheel.
    for (const VehicleInfo& vehicle : kVehicles) {
        if (vehicle.axleKips.empty()) {
            continue;
        }
        double sum = 0;
        double heaviest = 0;
        for (const double axle : vehicle.axleKips) {
            sum += axle;
            heaviest = axle > heaviest ? axle : heaviest;
        }
        if (sum != 2 * vehicle.grossTons || heaviest != 2 * vehicle.wheelKips) {
            return false;
        }
    }
    for (std::size_t i = 0; i < kLoadTypes.size(); ++i) {
        if (static_cast<std::size_t>(kLoadTypes[i].id) != i ||
            kLoadTypes[i].code != static_cast<char>('0' + i)) {
            return false;
        }
    }
    return true;
}
static_assert(loadTypesAreConsistent(), "the load type, series and vehicle tables disagree");

}  // namespace detail

}  // namespace slabrating

// The load type table: the codes the input file and --set give, what the list shows, and
// the legal trucks of each series with the gross weights and wheel loads of the trucks'
// own table (tons, kips), written here by hand.

#include "engine/load_type.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace slabrating {
namespace {

TEST(LoadTypeTest, codes) {
    struct Row {
        const char* name;
        std::string_view text;
        std::optional<LoadType> type;
    };
    const Row rows[] = {
        {"0 is nothing selected", "0", LoadType::None},
        {"1 is the state trucks", "1", LoadType::StateTrucks},
        {"2 is the Interstate trucks", "2", LoadType::Interstate},
        {"3 is no load type", "3", std::nullopt},
        {"empty", "", std::nullopt},
        {"leading zero", "01", std::nullopt},
        {"blank before", " 1", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(loadTypeText(row.text), row.type);
    }
}

TEST(LoadTypeTest, theListShowsTheTwoSeries) {
    EXPECT_FALSE(isListed(LoadType::None));
    EXPECT_TRUE(isListed(LoadType::StateTrucks));
    EXPECT_TRUE(isListed(LoadType::Interstate));
    EXPECT_FALSE(isListed(static_cast<LoadType>(3)));
    // A value outside the table is written and rated as nothing selected.
    EXPECT_EQ(loadTypeInfo(static_cast<LoadType>(3)).code, '0');
    EXPECT_EQ(seriesOf(LoadType::None), TruckSeries::Interstate);
    EXPECT_EQ(seriesOf(LoadType::StateTrucks), TruckSeries::State);
}

TEST(LoadTypeTest, legalTrucks) {
    struct Row {
        const char* name;
        TruckSeries series;
        double wheelKips;
        double gross[3];
    };
    const Row rows[] = {
        {"state", TruckSeries::State, 10.0, {27.0, 42.5, 42.5}},
        {"Interstate", TruckSeries::Interstate, 9.0, {24.0, 38.0, 39.0}},
    };
    const char* types[] = {"3", "3S2", "3-2"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(seriesWheelKips(row.series), row.wheelKips);
        const auto trucks = seriesTrucks(row.series);
        for (std::size_t i = 0; i < trucks.size(); ++i) {
            EXPECT_EQ(trucks[i]->type, types[i]);
            EXPECT_EQ(trucks[i]->grossTons, row.gross[i]);
        }
    }
}

}  // namespace
}  // namespace slabrating

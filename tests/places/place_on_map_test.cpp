#include "places/place_on_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <variant>

#include "framework/exceptions.h"
#include "imaging/dib.h"
#include "places/target_fields.h"

namespace lumetra {
namespace {

// "" for a point that is placed, else a part of the reason it is refused.
struct PlaceCase {
    const char* what;
    double latitude;
    double longitude;
    const char* refusal;
    double moved;
};

TEST(PlaceOnMap, PlacesMovesAndRefusesAsTheGeneratorDoes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const PlaceCase cases[] = {
        {"Seattle, on land", 47.6553, -122.3035, "", 0},
        {"El Paso, one pixel onto land (the generator's log says so)", 31.7705, -106.5049, "", 1},
        {"Honolulu", 21.3, -157.8, "outside the map of the lower 48", 0},
        {"the Gulf of Mexico", 26, -90, "in the water or outside the lower 48: no land within 3 pixels of 315,293", 0},
        {"Toronto, across Lake Ontario", 43.65, -79.38, "no land within 3 pixels", 0},
        {"the far side of the globe", -40, 84, "outside the map", 0},
        {"beyond the pole", 90.5, -100, "the latitude is not between -90 and 90", 0},
        {"beyond the antimeridian", 40, 180.5, "the longitude is not between -180 and 180", 0},
        {"no number", nan, -100, "the latitude is not", 0},
    };
    for (const PlaceCase& c : cases) {
        const std::variant<MapPixel, std::string> placed = PlaceOnMap(c.latitude, c.longitude);
        if (*c.refusal == '\0') {
            ASSERT_TRUE(std::holds_alternative<MapPixel>(placed)) << c.what << ": " << std::get<std::string>(placed);
            EXPECT_DOUBLE_EQ(std::get<MapPixel>(placed).dMoved, c.moved) << c.what;
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(placed)) << c.what;
            EXPECT_NE(std::get<std::string>(placed).find(c.refusal), std::string::npos)
                << c.what << ": " << std::get<std::string>(placed);
        }
    }
}

TEST(CLandMask, RefusesAnOutlineOfAnotherSize) {
    CDib small;
    small.Create(10, 10, 4);
    EXPECT_THROW(CLandMask{small}, ResourceException);
}

TEST(IsHostOrAddress, NamesAndAddresses) {
    const std::string longest(63, 'a');
    const std::string three = longest + "." + longest + "." + longest + ".";  // 192 characters
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {"www.ucsd.edu", true},
        {"localhost", true},
        {"x-1.example.", true},
        {"192.0.2.1", true},
        {longest + ".example", true},
        {"", false},
        {"-a.example", false},
        {"a-.example", false},
        {"a..b", false},
        {"a b.example", false},
        {"under_score.example", false},
        {longest + "a.example", false},
        {"1.2.3", false},
        {"256.1.1.1", false},
        {"01.2.3.4", false},
        {"1.2.3.4.", false},
        {"+1.2.3.4", false},
        {three + std::string(61, 'a'), true},
        {three + std::string(62, 'a'), false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsHostOrAddress(c.text), c.valid) << Quoted(c.text);
}

}  // namespace
}  // namespace lumetra

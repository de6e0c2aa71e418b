// Reads the generator's placements (tools/resgen/place-points.mjs) from
// standard input and places every point again with the C++ code: the same
// pixel, or the same refusal, for each. Prints a summary with the largest
// difference of the continuous positions; exit 1 if any point differs.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <variant>

#include "places/map_projection.h"
#include "places/place_on_map.h"

namespace {

double Number(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) throw std::runtime_error("not a number: " + text);
    return value;
}

std::string PixelText(double latitude, double longitude) {
    const auto placed = lumetra::PlaceOnMap(latitude, longitude);
    if (const auto* pixel = std::get_if<lumetra::MapPixel>(&placed)) {
        return std::to_string(pixel->nX) + "," + std::to_string(pixel->nY);
    }
    return "-";
}

int Check() {
    int points = 0;
    int placed = 0;
    int differ = 0;
    double largest = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream fields(line);
        std::string lat, lon, x, y, expected;
        if (!std::getline(fields, lat, '\t') || !std::getline(fields, lon, '\t') || !std::getline(fields, x, '\t') ||
            !std::getline(fields, y, '\t') || !std::getline(fields, expected)) {
            std::cerr << "malformed line: " << line << "\n";
            return 2;
        }
        const double latitude = Number(lat);
        const double longitude = Number(lon);
        const lumetra::MapPoint point = lumetra::ProjectToMap(latitude, longitude);
        largest = std::max({largest, std::fabs(point.dX - Number(x)), std::fabs(point.dY - Number(y))});
        const std::string actual = PixelText(latitude, longitude);
        ++points;
        if (actual != "-") ++placed;
        if (actual != expected && ++differ <= 20) {
            std::cerr << lat << ", " << lon << ": generator " << expected << ", C++ " << actual << "\n";
        }
    }
    std::cout << points << " points (" << placed << " placed, " << points - placed << " refused), " << differ
              << " differ from the generator; largest difference of a position " << largest << " px\n";
    return points > 0 && differ == 0 ? 0 : 1;
}

}  // namespace

int main() {
    try {
        return Check();
    } catch (const std::exception& e) {
        std::cerr << "place_points_check: " << e.what() << "\n";
        return 2;
    }
}

#include "places/map_projection.h"

#include <cmath>
#include <numbers>

namespace lumetra {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// The cone of the Albers projection for two standard parallels: its constant
// n (how much of a full turn a turn of longitude spans on the cone) and C.
// A parallel at latitude phi lies on the circle of radius
// rho = sqrt(C - 2 n sin phi) / n around the cone's apex.
struct Cone {
    double n;
    double c;

    double Radius(double latitudeRadians) const { return std::sqrt(c - 2 * n * std::sin(latitudeRadians)) / n; }
};

Cone MakeCone() {
    const double phi1 = projection_fit::kStandardParallel1 * kRadiansPerDegree;
    const double phi2 = projection_fit::kStandardParallel2 * kRadiansPerDegree;
    const double n = (std::sin(phi1) + std::sin(phi2)) / 2;
    return {n, std::cos(phi1) * std::cos(phi1) + 2 * n * std::sin(phi1)};
}

// Longitude east of the central meridian in radians, within [-pi, pi].
double FromCentralMeridian(double longitude) {
    double lambda = longitude * kRadiansPerDegree - projection_fit::kCentralMeridian * kRadiansPerDegree;
    if (lambda > std::numbers::pi) lambda -= 2 * std::numbers::pi;
    if (lambda < -std::numbers::pi) lambda += 2 * std::numbers::pi;
    return lambda;
}

}  // namespace

MapPoint ProjectToMap(double latitude, double longitude) {
    static const Cone cone = MakeCone();
    static const double originRadius = cone.Radius(projection_fit::kOriginLatitude * kRadiansPerDegree);
    const double rho = cone.Radius(latitude * kRadiansPerDegree);
    const double theta = cone.n * FromCentralMeridian(longitude);
    // The unit-scale projection with y pointing down (south), the origin at
    // the central meridian on the origin latitude.
    const double x = rho * std::sin(theta);
    const double y = rho * std::cos(theta) - originRadius;
    using namespace projection_fit;
    return {kLandLeft + 0.5 + (x - kFitX0) * kFitScaleX, kLandTop + 0.5 + (y - kFitY0) * kFitScaleY};
}

}  // namespace lumetra

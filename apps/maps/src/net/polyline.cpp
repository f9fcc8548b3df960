#include "net/polyline.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace maps {

namespace {
constexpr double kMetresPerDegree = 111319.49079327358;
constexpr double kEpsilon = 2.220446049250313e-16;
constexpr double kPi = 3.14159265358979323846;

struct Xy {
  double x;
  double y;
};
}  // namespace

std::vector<LatLon> simplify_polyline(const std::vector<LatLon>& points, double tolerance_m) {
  return simplify_polyline(points, tolerance_m, kSimplifyWorkPerPoint);
}

std::vector<LatLon> simplify_polyline(const std::vector<LatLon>& points, double tolerance_m,
                                      std::size_t work_per_point) {
  const std::size_t n = points.size();
  if (n < 3 || !(tolerance_m > 0.0)) return points;

  const LatLon p0 = points.front();
  const double kx = kMetresPerDegree * std::cos(p0.lat * (kPi / 180.0));
  std::vector<Xy> xy(n);
  for (std::size_t i = 0; i < n; ++i) {
    xy[i] = {(points[i].lon - p0.lon) * kx, (points[i].lat - p0.lat) * kMetresPerDegree};
  }

  std::vector<bool> keep(n, false);
  keep.front() = true;
  keep.back() = true;
  const double tol2 = tolerance_m * tolerance_m;
  std::vector<std::pair<std::size_t, std::size_t>> stack{{0, n - 1}};
  const std::size_t budget = work_per_point > SIZE_MAX / n ? SIZE_MAX : work_per_point * n;
  std::size_t work = 0;
  while (!stack.empty()) {
    const auto [a, b] = stack.back();
    stack.pop_back();
    if (b <= a + 1) continue;
    if (b - a - 1 > budget - work) {
      // Out of budget: the stretch keeps every point. Open stretches are disjoint, so this
      // adds at most one pass over the line.
      std::fill(keep.begin() + static_cast<std::ptrdiff_t>(a + 1), keep.begin() + static_cast<std::ptrdiff_t>(b), true);
      continue;
    }
    work += b - a - 1;
    const Xy A = xy[a];
    const Xy B = xy[b];
    const double dx = B.x - A.x;
    const double dy = B.y - A.y;
    const double len2 = dx * dx + dy * dy;
    double best = -1.0;
    std::size_t best_i = a;
    for (std::size_t i = a + 1; i < b; ++i) {
      const Xy P = xy[i];
      double d2;
      if (len2 > kEpsilon) {
        const double t = std::clamp(((P.x - A.x) * dx + (P.y - A.y) * dy) / len2, 0.0, 1.0);
        const double ex = P.x - (A.x + t * dx);
        const double ey = P.y - (A.y + t * dy);
        d2 = ex * ex + ey * ey;
      } else {
        const double ex = P.x - A.x;
        const double ey = P.y - A.y;
        d2 = ex * ex + ey * ey;
      }
      if (d2 > best) {
        best = d2;
        best_i = i;
      }
    }
    if (best > tol2) {
      keep[best_i] = true;
      stack.emplace_back(a, best_i);
      stack.emplace_back(best_i, b);
    }
  }

  std::vector<LatLon> out;
  for (std::size_t i = 0; i < n; ++i) {
    if (keep[i]) out.push_back(points[i]);
  }
  return out;
}

bool all_on_globe(const std::vector<LatLon>& points) {
  // Written so that NaN fails too.
  return std::all_of(points.begin(), points.end(), [](const LatLon& p) {
    return p.lat >= -90.0 && p.lat <= 90.0 && p.lon >= -180.0 && p.lon <= 180.0;
  });
}

std::optional<std::int64_t> decode_polyline_delta(std::string_view bytes, std::size_t& pos) {
  std::uint64_t result = 0;
  unsigned shift = 0;
  while (true) {
    if (pos >= bytes.size()) return std::nullopt;
    // Bytes below 63 are not valid here; they are read as signed values like the rest.
    const int b = static_cast<unsigned char>(bytes[pos]);
    ++pos;
    // A value longer than 64 bits is malformed; shifting further would be undefined.
    if (shift >= 64) return std::nullopt;
    result += static_cast<std::uint64_t>((b - 63) & 0x1F) << shift;
    shift += 5;
    if (b < 95) break;
  }
  const std::uint64_t value = (result >> 1) ^ (0 - (result & 1));
  return static_cast<std::int64_t>(value);
}

std::vector<LatLon> decode_polyline(std::string_view points, std::uint32_t precision) {
  // 10^precision is at least 1, so every point stays finite (an absurd precision gives zeros).
  const double factor = std::pow(10.0, static_cast<double>(precision));
  std::uint64_t lat = 0;  // unsigned: overlong inputs wrap instead of overflowing
  std::uint64_t lon = 0;
  std::size_t pos = 0;
  std::vector<LatLon> out;
  while (pos < points.size()) {
    const auto dlat = decode_polyline_delta(points, pos);
    if (!dlat) break;
    const auto dlon = decode_polyline_delta(points, pos);
    if (!dlon) break;
    lat += static_cast<std::uint64_t>(*dlat);
    lon += static_cast<std::uint64_t>(*dlon);
    out.push_back({static_cast<double>(static_cast<std::int64_t>(lat)) / factor,
                   static_cast<double>(static_cast<std::int64_t>(lon)) / factor});
  }
  return out;
}

}  // namespace maps

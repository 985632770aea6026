#include "sample/sample_game.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <queue>
#include <system_error>

#include "core/map/hex_map.h"
#include "core/map/hex_topology.h"
#include "core/map/map_names.h"
#include "core/map/terrain_table.h"
#include "core/picture/bmp_image.h"
#include "core/picture/s16_tiles.h"
#include "core/picture/shp_palette.h"
#include "core/picture/shp_picture.h"
#include "core/picture/tile_export.h"
#include "core/settings/tool_settings.h"
#include "core/util/file_io.h"
#include "core/util/fs_path.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {
namespace {

// ---- Deterministic noise: the same picture on every machine and compiler.

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ uint32_t(x) * 0x85EBCA6Bu ^ uint32_t(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Unit(uint32_t h) { return (h & 0xFFFFFF) / double(0x1000000); }

double SmoothStep(double a, double b, double v) {
  const double t = std::clamp((v - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

double ValueNoise(double x, double y, uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int32_t ix = int32_t(fx), iy = int32_t(fy);
  const double tx = x - fx, ty = y - fy;
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double a = Unit(Hash(ix, iy, seed)), b = Unit(Hash(ix + 1, iy, seed));
  const double c = Unit(Hash(ix, iy + 1, seed)), d = Unit(Hash(ix + 1, iy + 1, seed));
  return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

double Fbm(double x, double y, uint32_t seed, int octaves) {
  double sum = 0, amplitude = 0.5, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * ValueNoise(x, y, seed + uint32_t(o) * 101);
    norm += amplitude;
    x *= 2.03;
    y *= 2.03;
    amplitude *= 0.5;
  }
  return sum / norm;
}

struct Rgb {
  double r, g, b;
};
Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }

// ---- The landscape fields, sampled on a coarse grid and interpolated.

class World {
 public:
  static constexpr double kSea = 0.38, kHillLevel = 0.64, kMountainLevel = 0.78;
  static constexpr int kStep = 4;

  explicit World(const SampleLandscape& land) : land_(land) {
    gw_ = land.width / kStep + 3;
    gh_ = land.height / kStep + 3;
    elev_.resize(size_t(gw_) * size_t(gh_));
    moist_.resize(elev_.size());
    for (int gy = 0; gy < gh_; ++gy) {
      for (int gx = 0; gx < gw_; ++gx) {
        const double x = gx * kStep, y = gy * kStep;
        elev_[size_t(gy) * size_t(gw_) + size_t(gx)] = float(ElevationAt(x, y));
        moist_[size_t(gy) * size_t(gw_) + size_t(gx)] =
            float(Fbm(x / 260.0, y / 260.0, land.seed * 7 + 3, 5));
      }
    }
  }

  double Elevation(double x, double y) const { return Sample(elev_, x, y); }
  // The elevation the picture shows, with a little detail on the coasts.
  double Ground(double x, double y) const {
    return Elevation(x, y) + 0.012 * (ValueNoise(x / 11.0, y / 11.0, land_.seed + 31) - 0.5);
  }
  // Forest grows on wet lowland, below the hills.
  bool IsForest(double x, double y) const {
    const double e = Ground(x, y);
    const double wet = Moisture(x, y) + 0.02 * (ValueNoise(x / 9.0, y / 9.0, land_.seed + 3) - 0.5);
    return wet > 0.58 && e > kSea + 0.02 && e < kHillLevel - 0.03;
  }
  double Moisture(double x, double y) const { return Sample(moist_, x, y); }
  bool InLake(double x, double y) const {
    if (land_.style != SampleStyle::kLakeland) return false;
    const double cx = land_.width * 0.42, cy = land_.height * 0.47;
    const double r = std::min(land_.width, land_.height) * 0.13;
    const double d = std::hypot((x - cx) / 1.35, y - cy);
    return d < r * (0.8 + 0.45 * ValueNoise(x / 70.0, y / 70.0, land_.seed + 99));
  }
  bool IsWater(double x, double y) const { return Elevation(x, y) < kSea || InLake(x, y); }

 private:
  double ElevationAt(double x, double y) const {
    const double u = x / land_.width, v = y / land_.height;
    const double n = Fbm(x / 420.0, y / 420.0, land_.seed, 6);
    if (land_.style == SampleStyle::kWestCoast) {
      double e = 0.5 * n + 0.36 * SmoothStep(0.02, 0.5, u) - 0.02;
      // A bay reaching into the land, and a ridge of hills in the east.
      e -= 0.30 * std::exp(-(std::pow((u - 0.33) / 0.12, 2) + std::pow((v - 0.58) / 0.09, 2)));
      e += 0.34 * std::exp(-std::pow((u - 0.80) / 0.09, 2)) *
           Fbm(x / 150.0, y / 150.0, land_.seed + 5, 4);
      return e;
    }
    double e = 0.5 * n + 0.26 * (1 - SmoothStep(0.6, 0.97, v)) - 0.0;
    e += 0.42 * (1 - SmoothStep(0.0, 0.25, v)) * Fbm(x / 140.0, y / 140.0, land_.seed + 5, 4);
    return e;
  }

  double Sample(const std::vector<float>& f, double x, double y) const {
    const double gx = std::clamp(x / kStep, 0.0, double(gw_ - 2));
    const double gy = std::clamp(y / kStep, 0.0, double(gh_ - 2));
    const int ix = int(gx), iy = int(gy);
    const double tx = gx - ix, ty = gy - iy;
    const size_t i = size_t(iy) * size_t(gw_) + size_t(ix);
    const double a = f[i], b = f[i + 1], c = f[i + size_t(gw_)], d = f[i + size_t(gw_) + 1];
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
  }

  SampleLandscape land_;
  int gw_ = 0, gh_ = 0;
  std::vector<float> elev_, moist_;
};

// ---- The hexes laid over the picture.

struct HexPoint {
  double x, y;
};

struct Plan {
  int rows = 0, columns = 0;
  std::vector<Terrain> terrain;
  std::vector<uint16_t> roads;
  std::vector<double> elevation;
  std::vector<std::vector<int>> rivers;  // hex indices from spring to mouth
  std::vector<int> towns;
  std::vector<std::pair<int, std::string>> names;

  int Count() const { return rows * columns; }
  int Index(int r, int c) const { return r * columns + c; }
  static HexPoint Centre(int r, int c) {
    return {c * 45.0 - 15.0, r * 50.0 + 25.0 - ((c % 2 == 0) ? 25.0 : 0.0)};
  }
  HexPoint CentreOf(int i) const { return Centre(i / columns, i % columns); }
  // -1 off the map, so callers can look up a direction without checking bounds first.
  int Neighbour(int i, int d) const {
    const int r = i / columns, c = i % columns;
    const HexOffset step = NeighbourOffset(d, c);
    const int nr = r + step.row, nc = c + step.column;
    if (nr < 0 || nc < 0 || nr >= rows || nc >= columns) return -1;
    return Index(nr, nc);
  }
  // The planning works on hex indices rather than (row, column) pairs.
  template <typename Visit>
  void ForEachNeighbour(int i, Visit&& visit) const {
    maptesk::ForEachNeighbour(i / columns, i % columns, rows - 1, columns - 1,
                              [&](int d, int r, int c) { visit(d, Index(r, c)); });
  }
  bool IsWater(int i) const { return terrain[size_t(i)] == kOcean || terrain[size_t(i)] == kLake; }
};

constexpr const char* kTownNames[] = {
    "Arnhold", "Belvar",  "Corwen",  "Dunmere", "Eskby",  "Falkirk",  "Gorran",
    "Halden",  "Istrow",  "Jarlsby", "Kelmont", "Lorvik", "Marrow",   "Northam",
    "Ostby",   "Pellin",  "Quarry",  "Rostok",  "Selwyn", "Tarrow",   "Ulmen",
    "Varnby",  "Wexford", "Yarrow",  "Zelden",  "Ashby",  "Brennock", "Caddow"};
constexpr const char* kRiverNames[] = {"River Aln", "River Tesk", "River Wend"};

// The grid covers the whole picture, but a map cannot hold more hexes than its
// fixed size, so a larger picture is only partly covered.
Plan LayOutHexes(const SampleLandscape& land) {
  Plan plan;
  int maxColumn = land.width / 45;
  if (maxColumn % 2 == 0) ++maxColumn;
  plan.columns = std::min(maxColumn + 1, kMapColumns);
  plan.rows = std::min(land.height / 50 + 1, kMapRows);
  const size_t count = size_t(plan.Count());
  plan.terrain.assign(count, kClear);
  plan.roads.assign(count, 0);
  plan.elevation.assign(count, 0);
  return plan;
}

// Each hex takes what the picture shows at its centre, so the map agrees with
// the picture under it; centres beyond the picture's edge read the edge. The
// elevation is kept because rivers and the names of peaks are chosen by it.
void PlanTerrain(const SampleLandscape& land, const World& world, Plan& plan) {
  for (int i = 0; i < plan.Count(); ++i) {
    const HexPoint p = plan.CentreOf(i);
    const double x = std::clamp(p.x, 0.0, land.width - 1.0);
    const double y = std::clamp(p.y, 0.0, land.height - 1.0);
    const double e = world.Ground(x, y);
    plan.elevation[size_t(i)] = e;
    Terrain t = kClear;
    if (world.InLake(x, y)) {
      t = kLake;
    } else if (e < World::kSea) {
      t = kOcean;
    } else if (e > World::kMountainLevel) {
      t = kMountain;
    } else if (e > World::kHillLevel) {
      t = kHill;
    } else if (world.IsForest(x, y)) {
      t = kForest;
    }
    plan.terrain[size_t(i)] = t;
  }
}

// Hex steps to the nearest water; a river that always steps to a smaller
// count is sure to reach the sea or a lake and never to run in circles.
std::vector<int> StepsToWater(const Plan& plan) {
  std::vector<int> toWater(size_t(plan.Count()), std::numeric_limits<int>::max());
  std::queue<int> open;
  for (int i = 0; i < plan.Count(); ++i) {
    if (plan.IsWater(i)) {
      toWater[size_t(i)] = 0;
      open.push(i);
    }
  }
  while (!open.empty()) {
    const int i = open.front();
    open.pop();
    plan.ForEachNeighbour(i, [&](int, int n) {
      if (toWater[size_t(n)] > toWater[size_t(i)] + 1) {
        toWater[size_t(n)] = toWater[size_t(i)] + 1;
        open.push(n);
      }
    });
  }
  return toWater;
}

// Springs lie in the hills, far enough from water for a river of some length;
// the highest come first (with a little chance mixed in) so rivers run down
// from the mountains.
std::vector<int> ChooseSprings(const SampleLandscape& land, const Plan& plan,
                               const std::vector<int>& toWater) {
  std::vector<int> springs;
  for (int i = 0; i < plan.Count(); ++i) {
    const Terrain t = plan.terrain[size_t(i)];
    if ((t == kHill || t == kMountain) && toWater[size_t(i)] >= 8 &&
        toWater[size_t(i)] < std::numeric_limits<int>::max()) {
      springs.push_back(i);
    }
  }
  std::sort(springs.begin(), springs.end(), [&](int a, int b) {
    const double sa = plan.elevation[size_t(a)] + 0.15 * Unit(Hash(a, 1, land.seed));
    const double sb = plan.elevation[size_t(b)] + 0.15 * Unit(Hash(b, 1, land.seed));
    return sa > sb;
  });
  return springs;
}

// Each step goes one hex closer to the water and, of those hexes, to the
// lowest, so the river looks as if it flowed downhill. It stops at the water
// or where it meets an earlier river, which it then joins.
std::vector<int> TraceRiver(const SampleLandscape& land, const Plan& plan,
                            const std::vector<int>& toWater, const std::vector<char>& onRiver,
                            int spring) {
  std::vector<int> path{spring};
  while (!plan.IsWater(path.back()) && !(path.size() > 1 && onRiver[size_t(path.back())])) {
    const int here = path.back();
    int best = -1;
    double bestE = std::numeric_limits<double>::max();
    plan.ForEachNeighbour(here, [&](int, int n) {
      if (toWater[size_t(n)] >= toWater[size_t(here)]) return;
      const double e = plan.elevation[size_t(n)] + 0.04 * Unit(Hash(n, here, land.seed));
      if (e < bestE) {
        bestE = e;
        best = n;
      }
    });
    if (best < 0) break;
    path.push_back(best);
  }
  return path;
}

// A few rivers, sprung far apart so each drains its own country; short ones
// and ones that end nowhere are dropped, since they would look like ditches.
// The spring and the mouth keep their terrain: the hill it rises in and the
// water it flows into.
void PlanRivers(const SampleLandscape& land, Plan& plan) {
  const std::vector<int> toWater = StepsToWater(plan);
  const int wantRivers = land.width * land.height > 2000000 ? 3 : 2;
  std::vector<char> onRiver(size_t(plan.Count()), 0);
  for (int spring : ChooseSprings(land, plan, toWater)) {
    if (int(plan.rivers.size()) >= wantRivers) break;
    bool farEnough = true;
    for (const auto& river : plan.rivers) {
      for (int i : river) {
        const HexPoint a = plan.CentreOf(spring), b = plan.CentreOf(i);
        if (std::hypot(a.x - b.x, a.y - b.y) < 300) farEnough = false;
      }
    }
    if (!farEnough) continue;
    const std::vector<int> path = TraceRiver(land, plan, toWater, onRiver, spring);
    if (path.size() < 6 || !(plan.IsWater(path.back()) || onRiver[size_t(path.back())])) continue;
    for (size_t k = 1; k + 1 < path.size(); ++k) {
      plan.terrain[size_t(path[k])] = kRiver;
      onRiver[size_t(path[k])] = 1;
    }
    plan.rivers.push_back(path);
  }
}

// Towns stand on open land clear of the picture's edge, by rivers and coasts
// where they can, as real towns grow there; they keep apart so that the roads
// between them have some way to go. The best sites are taken first.
std::vector<int> ChooseTownSites(const SampleLandscape& land, const Plan& plan) {
  std::vector<std::pair<double, int>> sites;
  for (int i = 0; i < plan.Count(); ++i) {
    const HexPoint p = plan.CentreOf(i);
    if (plan.terrain[size_t(i)] != kClear) continue;
    if (p.x < 50 || p.y < 50 || p.x > land.width - 50 || p.y > land.height - 50) continue;
    double score = Unit(Hash(i, 7, land.seed));
    plan.ForEachNeighbour(i, [&](int, int n) {
      if (plan.terrain[size_t(n)] == kRiver) score += 0.5;
      if (plan.IsWater(n)) score += 0.35;
    });
    sites.emplace_back(score, i);
  }
  std::sort(sites.begin(), sites.end(), std::greater<>());
  const int wantTowns = std::max(4, land.width * land.height / 380000);
  std::vector<int> towns;
  for (auto [score, i] : sites) {
    if (int(towns.size()) >= wantTowns) break;
    const HexPoint p = plan.CentreOf(i);
    bool farEnough = true;
    for (int t : towns) {
      const HexPoint q = plan.CentreOf(t);
      if (std::hypot(p.x - q.x, p.y - q.y) < 260) farEnough = false;
    }
    if (!farEnough) continue;
    towns.push_back(i);
  }
  return towns;
}

// A town on the sea is a port, so that the map has somewhere to land; a lake
// shore does not make one.
void PlanTowns(const SampleLandscape& land, Plan& plan) {
  plan.towns = ChooseTownSites(land, plan);
  for (int i : plan.towns) {
    bool coast = false;
    plan.ForEachNeighbour(i, [&](int, int n) {
      if (plan.terrain[size_t(n)] == kOcean) coast = true;
    });
    plan.terrain[size_t(i)] = coast ? kPort : kCity;
  }
}

// What a road pays to enter a hex, so that roads go round hills and
// mountains and cross rivers sparingly; negative where no road can go.
double RoadCost(Terrain t) {
  switch (t) {
    case kCity:
    case kPort: return 0.5;
    case kForest: return 2.0;
    case kHill: return 3.0;
    case kMountain: return 8.0;
    case kRiver: return 3.0;
    case kOcean:
    case kLake: return -1.0;
    default: return 1.0;
  }
}

// The cheapest way between two towns. Hexes that have a road already cost
// little, so a later road joins an earlier one rather than running beside it.
void RouteRoad(Plan& plan, int from, int to) {
  const size_t count = size_t(plan.Count());
  std::vector<double> dist(count, std::numeric_limits<double>::max());
  std::vector<int> prev(count, -1);
  using Item = std::pair<double, int>;
  std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
  dist[size_t(from)] = 0;
  open.emplace(0.0, from);
  while (!open.empty()) {
    // Plain copies: a lambda below uses them, and structured bindings
    // cannot be captured before C++20 compilers caught up.
    const double d = open.top().first;
    const int i = open.top().second;
    open.pop();
    if (i == to) break;
    if (d > dist[size_t(i)]) continue;
    plan.ForEachNeighbour(i, [&](int, int n) {
      double c = RoadCost(plan.terrain[size_t(n)]);
      if (c < 0) return;
      if (plan.roads[size_t(n)] != 0) c = std::min(c, 0.4);
      if (d + c < dist[size_t(n)]) {
        dist[size_t(n)] = d + c;
        prev[size_t(n)] = i;
        open.emplace(d + c, n);
      }
    });
  }
  if (prev[size_t(to)] < 0) return;
  for (int i = to; prev[size_t(i)] >= 0; i = prev[size_t(i)]) {
    const int p = prev[size_t(i)];
    for (int dir = 0; dir < kDirections; ++dir) {
      if (plan.Neighbour(p, dir) == i) {
        plan.roads[size_t(p)] |= RoadBitOfDirection(dir);
        plan.roads[size_t(i)] |= RoadBitOfDirection(OppositeDirection(dir));
      }
    }
  }
}

// The towns are joined by a spanning tree, each time the nearest town not yet
// joined: every town can be reached without a road between every pair.
void PlanRoads(Plan& plan) {
  if (plan.towns.empty()) return;
  std::vector<char> joined(plan.towns.size(), 0);
  joined[0] = 1;
  for (size_t added = 1; added < plan.towns.size(); ++added) {
    double best = std::numeric_limits<double>::max();
    size_t from = 0, to = 0;
    for (size_t a = 0; a < plan.towns.size(); ++a) {
      if (!joined[a]) continue;
      for (size_t b = 0; b < plan.towns.size(); ++b) {
        if (joined[b]) continue;
        const HexPoint p = plan.CentreOf(plan.towns[a]), q = plan.CentreOf(plan.towns[b]);
        const double d = std::hypot(p.x - q.x, p.y - q.y);
        if (d < best) {
          best = d;
          from = a;
          to = b;
        }
      }
    }
    joined[to] = 1;
    RouteRoad(plan, plan.towns[from], plan.towns[to]);
  }
}

// The seed shifts the list so that the two sample maps do not share their
// town names.
void NameTowns(const SampleLandscape& land, Plan& plan) {
  const size_t nameCount = std::size(kTownNames);
  for (size_t k = 0; k < plan.towns.size(); ++k) {
    plan.names.emplace_back(plan.towns[k], kTownNames[(k + land.seed * 5) % nameCount]);
  }
}

// A few features get names too, so that a new user sees names that are not
// towns: the highest hill, a stretch of sea by the coast (not the northern
// one, which is often cut by the picture's edge), the rivers half way down
// and the inland lake.
void NameFeatures(const SampleLandscape& land, Plan& plan) {
  int highest = -1, coastSea = -1;
  for (int i = 0; i < plan.Count(); ++i) {
    const Terrain t = plan.terrain[size_t(i)];
    if ((t == kHill || t == kMountain) &&
        (highest < 0 || plan.elevation[size_t(i)] > plan.elevation[size_t(highest)])) {
      highest = i;
    }
    if (t == kOcean && coastSea < 0) {
      plan.ForEachNeighbour(i, [&](int, int n) {
        if (plan.terrain[size_t(n)] != kOcean && plan.terrain[size_t(n)] != kLake &&
            plan.CentreOf(i).y > land.height * 0.3) {
          coastSea = i;
        }
      });
    }
  }
  if (highest >= 0) plan.names.emplace_back(highest, "Grey Peaks");
  if (coastSea >= 0) plan.names.emplace_back(coastSea, "Bay of Storms");
  for (size_t k = 0; k < plan.rivers.size(); ++k) {
    const auto& river = plan.rivers[k];
    plan.names.emplace_back(river[river.size() / 2], kRiverNames[k % std::size(kRiverNames)]);
  }
  if (land.style == SampleStyle::kLakeland) {
    for (int i = 0; i < plan.Count(); ++i) {
      if (plan.terrain[size_t(i)] == kLake) {
        const HexPoint p = plan.CentreOf(i);
        if (std::hypot(p.x - land.width * 0.42, p.y - land.height * 0.47) < 60) {
          plan.names.emplace_back(i, "Lake Merrow");
          break;
        }
      }
    }
  }
}

// Each step builds on the ones before: rivers run to the water, towns seek
// the rivers and coasts, roads join the towns and avoid the water, and the
// names go to what all of them made.
Plan PlanHexes(const SampleLandscape& land, const World& world) {
  Plan plan = LayOutHexes(land);
  PlanTerrain(land, world, plan);
  PlanRivers(land, plan);
  PlanTowns(land, plan);
  PlanRoads(plan);
  NameTowns(land, plan);
  NameFeatures(land, plan);
  return plan;
}

// ---- Painting.

// Draws straight into the 24-bit rows of an image (y counted from the top).
class Canvas {
 public:
  explicit Canvas(BmpImage& image) : image_(image), w_(image.width), h_(image.height) {}
  Rgb Get(int x, int y) const {
    const uint8_t* p = Pixel(x, y);
    return {double(p[2]), double(p[1]), double(p[0])};
  }
  void Set(int x, int y, Rgb c) {
    uint8_t* p = Pixel(x, y);
    p[0] = uint8_t(std::clamp(c.b, 0.0, 255.0));
    p[1] = uint8_t(std::clamp(c.g, 0.0, 255.0));
    p[2] = uint8_t(std::clamp(c.r, 0.0, 255.0));
  }
  void Blend(int x, int y, Rgb c, double a) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
    Set(x, y, Mix(Get(x, y), c, std::min(a, 1.0)));
  }
  // A thick segment with round ends and a soft one-pixel edge.
  void Line(HexPoint a, HexPoint b, double width, Rgb c) {
    const double r = width / 2;
    const int x0 = int(std::floor(std::min(a.x, b.x) - r - 1));
    const int x1 = int(std::ceil(std::max(a.x, b.x) + r + 1));
    const int y0 = int(std::floor(std::min(a.y, b.y) - r - 1));
    const int y1 = int(std::ceil(std::max(a.y, b.y) + r + 1));
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    for (int y = std::max(y0, 0); y <= std::min(y1, h_ - 1); ++y) {
      for (int x = std::max(x0, 0); x <= std::min(x1, w_ - 1); ++x) {
        double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double d = std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
        Blend(x, y, c, r + 0.5 - d);
      }
    }
  }
  void Rect(double cx, double cy, double hw, double hh, Rgb c) {
    for (int y = int(cy - hh); y <= int(cy + hh); ++y) {
      for (int x = int(cx - hw); x <= int(cx + hw); ++x) Blend(x, y, c, 1);
    }
  }

 private:
  uint8_t* Pixel(int x, int y) const {
    return image_.bits + size_t(h_ - 1 - y) * size_t(image_.stride) + size_t(x) * 3;
  }
  BmpImage& image_;
  int w_, h_;
};

void PaintGround(const SampleLandscape& land, const World& world, Canvas& canvas) {
  const Rgb deep{38, 78, 142}, shallow{104, 160, 206}, shore{146, 192, 222}, lake{92, 150, 204};
  const Rgb sand{222, 208, 158}, plain{176, 202, 118}, meadow{198, 206, 132};
  const Rgb hill{174, 156, 108}, rock{146, 134, 118}, snow{238, 238, 232};
  const Rgb forest{90, 136, 68}, tree{44, 92, 44}, treeLight{78, 128, 58};
  for (int y = 0; y < land.height; ++y) {
    for (int x = 0; x < land.width; ++x) {
      const double e = world.Ground(x, y);
      Rgb c;
      if (world.InLake(x, y)) {
        c = lake;
        if (!world.InLake(x - 2, y) || !world.InLake(x + 2, y) || !world.InLake(x, y - 2) ||
            !world.InLake(x, y + 2)) {
          c = Rgb{56, 96, 150};
        }
      } else if (e < World::kSea) {
        const double depth = World::kSea - e;
        c = Mix(shallow, deep, SmoothStep(0.0, 0.22, depth));
        if (depth < 0.02) c = Mix(shore, c, depth / 0.02);
        if (depth < 0.0025) c = Rgb{60, 96, 140};  // the drawn coastline
        // Faint wave strokes far from the coast.
        if (depth > 0.05 && ValueNoise(x / 22.0, y / 2.5, land.seed + 41) > 0.9) {
          c = Mix(c, shallow, 0.35);
        }
      } else {
        const double t = e - World::kSea;
        c = Mix(plain, meadow, ValueNoise(x / 90.0, y / 90.0, land.seed + 17));
        // Light from the north-west shades the slopes.
        const double gx = world.Elevation(x + 4, y) - world.Elevation(x - 4, y);
        const double gy = world.Elevation(x, y + 4) - world.Elevation(x, y - 4);
        const double hillness = SmoothStep(World::kHillLevel - 0.06, World::kHillLevel + 0.03, e);
        c = Mix(c, hill, hillness);
        c = Mix(c, rock, SmoothStep(World::kMountainLevel - 0.03, World::kMountainLevel + 0.04, e));
        c = Mix(c, snow, SmoothStep(0.88, 0.93, e));
        c = Scale(c, std::clamp(1.0 - (gx + gy) * (5 + 14 * hillness), 0.78, 1.18));
        if (t < 0.01) c = Mix(sand, c, t / 0.01);
        // Forest: a canopy of little trees on the wet lowland.
        if (world.IsForest(x, y)) {
          c = forest;
          const int cx = x / 8, cy = y / 8;
          for (int oy = -1; oy <= 1; ++oy) {
            for (int ox = -1; ox <= 1; ++ox) {
              const uint32_t h = Hash(cx + ox, cy + oy, land.seed + 77);
              const double tx = (cx + ox) * 8 + 4 + 5 * (Unit(h) - 0.5);
              const double ty = (cy + oy) * 8 + 4 + 5 * (Unit(h >> 8) - 0.5);
              const double d = std::hypot(x - tx, y - ty);
              if (d < 3.6) c = (x - tx) + (y - ty) < -1.5 ? treeLight : tree;
            }
          }
        }
      }
      canvas.Set(x, y, c);
    }
  }
}

void PaintRivers(const Plan& plan, const SampleLandscape& land, Canvas& canvas) {
  for (const auto& river : plan.rivers) {
    std::vector<HexPoint> points;
    for (int i : river) points.push_back(plan.CentreOf(i));
    // The river ends at the shore, half way into the water hex.
    if (plan.IsWater(river.back())) {
      HexPoint& mouth = points.back();
      const HexPoint before = points[points.size() - 2];
      mouth = {(mouth.x + before.x) / 2, (mouth.y + before.y) / 2};
    }
    for (int pass = 0; pass < 3; ++pass) {
      std::vector<HexPoint> smooth{points.front()};
      for (size_t k = 0; k + 1 < points.size(); ++k) {
        const HexPoint a = points[k], b = points[k + 1];
        smooth.push_back({0.75 * a.x + 0.25 * b.x, 0.75 * a.y + 0.25 * b.y});
        smooth.push_back({0.25 * a.x + 0.75 * b.x, 0.25 * a.y + 0.75 * b.y});
      }
      smooth.push_back(points.back());
      points = smooth;
    }
    for (size_t k = 1; k + 1 < points.size(); ++k) {
      const HexPoint p = points[k];
      points[k].x += 16 * (ValueNoise(p.x / 55.0, p.y / 55.0, land.seed + 51) - 0.5);
      points[k].y += 16 * (ValueNoise(p.x / 55.0, p.y / 55.0, land.seed + 52) - 0.5);
    }
    for (int layer = 0; layer < 2; ++layer) {
      for (size_t k = 0; k + 1 < points.size(); ++k) {
        const double w = 2.5 + 4.5 * double(k) / double(points.size());
        canvas.Line(points[k], points[k + 1], layer == 0 ? w + 2 : w,
                    layer == 0 ? Rgb{44, 82, 150} : Rgb{78, 132, 206});
      }
    }
  }
}

void PaintRoads(const Plan& plan, Canvas& canvas) {
  for (int layer = 0; layer < 2; ++layer) {
    for (int i = 0; i < int(plan.roads.size()); ++i) {
      for (int d = 1; d <= 3; ++d) {  // NE, SE, S: each road segment once
        if ((plan.roads[size_t(i)] & RoadBitOfDirection(d)) == 0) continue;
        const int n = plan.Neighbour(i, d);
        if (n < 0) continue;
        canvas.Line(plan.CentreOf(i), plan.CentreOf(n), layer == 0 ? 4.5 : 2.4,
                    layer == 0 ? Rgb{96, 58, 30} : Rgb{214, 160, 88});
      }
    }
  }
}

void PaintTowns(const Plan& plan, const SampleLandscape& land, Canvas& canvas) {
  for (int town : plan.towns) {
    const HexPoint c = plan.CentreOf(town);
    canvas.Rect(c.x, c.y, 7, 6, Rgb{64, 34, 28});
    canvas.Rect(c.x, c.y, 6, 5, Rgb{150, 52, 40});
    canvas.Rect(c.x, c.y - 1, 2, 2, Rgb{232, 222, 196});
    for (int k = 0; k < 10; ++k) {
      const uint32_t h = Hash(town, k, land.seed + 13);
      const double a = Unit(h) * 6.2832, r = 9 + 8 * Unit(h >> 9);
      const double bx = c.x + r * std::cos(a), by = c.y + 0.8 * r * std::sin(a);
      const double hw = 2 + (h >> 20) % 2, hh = 2 + (h >> 22) % 2;
      canvas.Rect(bx, by, hw + 1, hh + 1, Rgb{64, 34, 28});
      canvas.Rect(bx, by, hw, hh, (h >> 24) % 3 ? Rgb{182, 72, 52} : Rgb{204, 112, 72});
    }
  }
}

bool MakeFolder(Prompts& prompts, const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(FsPath(folder), ec);
  if (ec || !std::filesystem::is_directory(FsPath(folder), ec)) {
    ErrorCreating(prompts, folder, ec ? ec.message() : std::string());
    return false;
  }
  return true;
}

// The S16 tiles of a picture, written as one set.

// Writes every tile of `grid` as one set: the files are renamed into place
// only when all of them were written.
bool WriteTileSet(Prompts& prompts, const TileGrid& grid, const std::string& base,
                  const char* extension,
                  const std::function<std::vector<uint8_t>(int column, int row)>& encode) {
  SafeFileBatch batch;
  for (int c = 0; c < grid.columns(); ++c) {
    for (int r = 0; r < grid.rows(); ++r) {
      const std::string name = S16Tiles::TileName(base, c, r, extension);
      const std::vector<uint8_t> file = encode(c, r);
      if (!batch.Add(name, file.data(), file.size())) {
        prompts.ShowError(Format("Error on creating %s\n%s", name.c_str(), batch.error().c_str()));
        return false;
      }
    }
  }
  if (!batch.Commit()) {
    prompts.ShowError(
        Format("Error on creating %s\n%s", batch.failedTarget().c_str(), batch.error().c_str()));
    return false;
  }
  return true;
}

bool WriteS16Set(Prompts& prompts, const BmpImage& image, const std::string& base, bool packed) {
  std::vector<uint8_t> scratch;
  int rowBytes = 0;
  const uint8_t* rows = image.Rgb24Rows(scratch, rowBytes);
  const TileGrid grid{image.width, image.height};
  return WriteTileSet(prompts, grid, base, ".s16", [&](int c, int r) {
    return S16Tiles::Encode(rows, rowBytes, image.height, c * 640, r * 480, grid.CellWidth(c),
                            grid.CellHeight(r), packed);
  });
}

// The nearest colour of the SHP table (never the transparent index).
class ShpQuantizer {
 public:
  ShpQuantizer() : cache_(1 << 15, -1) {}
  uint8_t Index(const uint8_t* bgr) {
    const int key = (bgr[2] >> 3) << 10 | (bgr[1] >> 3) << 5 | (bgr[0] >> 3);
    if (cache_[size_t(key)] < 0) {
      int best = 0, bestD = std::numeric_limits<int>::max();
      for (int i = 0; i < 256; ++i) {
        if (i == kShpTransparentIndex) continue;
        const uint32_t c = kShpColours[size_t(i)];
        const int dr = int(c >> 16) - bgr[2], dg = int((c >> 8) & 0xFF) - bgr[1],
                  db = int(c & 0xFF) - bgr[0];
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestD) {
          bestD = d;
          best = i;
        }
      }
      cache_[size_t(key)] = best;
    }
    return uint8_t(cache_[size_t(key)]);
  }

 private:
  std::vector<int> cache_;
};

bool WriteShpSet(Prompts& prompts, const BmpImage& image, const std::string& base) {
  ShpQuantizer quantizer;
  const TileGrid grid{image.width, image.height};
  return WriteTileSet(prompts, grid, base, ".shp", [&](int c, int r) {
    const int w = grid.CellWidth(c), h = grid.CellHeight(r);
    std::vector<uint8_t> indices(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
      const uint8_t* row =
          image.bits + size_t(image.height - 1 - (r * 480 + y)) * size_t(image.stride);
      for (int x = 0; x < w; ++x) {
        indices[size_t(y) * size_t(w) + size_t(x)] = quantizer.Index(row + 3 * (c * 640 + x));
      }
    }
    return ShpPicture::Encode(indices.data(), w, h);
  });
}

}  // namespace

const std::vector<SampleGame::MapEntry>& SampleGame::Maps() {
  static const std::vector<MapEntry> maps = {
      {5, "ARDEN", 1920, 1920, true, SampleStyle::kWestCoast, 11},
      {12, "MERROW", 1280, 960, false, SampleStyle::kLakeland, 23},
  };
  return maps;
}

SampleGame::SampleGame(Prompts& prompts) : prompts_(prompts) {}

bool SampleGame::Paint(const SampleLandscape& land, BmpImage& image, HexMap* map, MapNames* names) {
  if (!image.CreateRgb24(land.width, land.height)) return false;
  const World world(land);
  const Plan plan = PlanHexes(land, world);
  Canvas canvas(image);
  PaintGround(land, world, canvas);
  PaintRivers(plan, land, canvas);
  PaintRoads(plan, canvas);
  PaintTowns(plan, land, canvas);
  if (map) {
    for (auto& row : map->cells) row.fill(HexCell{});
    map->columns = uint16_t(plan.columns);
    map->rows = uint16_t(plan.rows);
    for (int r = 0; r < plan.rows; ++r) {
      for (int c = 0; c < plan.columns; ++c) {
        HexCell& cell = map->cell(r, c);
        cell.SetTerrain(plan.terrain[size_t(plan.Index(r, c))], 0);
        cell.SetRoads(plan.roads[size_t(plan.Index(r, c))]);
      }
    }
    if (names) {
      names->ClearNames();
      for (const auto& [i, text] : plan.names) {
        const int slot = names->AddName(text);
        names->nameIndex[size_t(i / plan.columns)][size_t(i % plan.columns)] = uint8_t(slot);
      }
    }
  }
  return true;
}

bool SampleGame::Write(const std::string& folder) {
  const std::string root = WithTrailingSeparator(folder);
  const std::string mapFolder = root + "MAP" + kPathSeparator;
  const std::string scnFolder = root + "SCENARIO" + kPathSeparator;
  const std::string zebFolder = root + "ZEB" + kPathSeparator;
  const std::string bmpFolder = root + "BMP" + kPathSeparator;
  for (const std::string& f : {mapFolder, scnFolder, zebFolder, bmpFolder}) {
    if (!MakeFolder(prompts_, f)) return false;
  }
  ToolSettings settings;
  settings.gameFolder = root;
  settings.mapFolder = mapFolder;
  settings.scnFolder = scnFolder;
  settings.bmpFolder = bmpFolder;

  for (const MapEntry& entry : Maps()) {
    BmpImage image(prompts_);
    auto map = std::make_unique<HexMap>(settings, prompts_);
    auto names = std::make_unique<MapNames>(*map, settings, prompts_);
    const SampleLandscape land{entry.width, entry.height, entry.style, entry.seed};
    if (!Paint(land, image, map.get(), names.get())) return false;
    if (!WriteS16Set(prompts_, image, PictureBaseForNumber(mapFolder, entry.number),
                     entry.packed)) {
      return false;
    }
    map->MapNumber = uint16_t(entry.number);
    map->loaded = true;
    if (!map->MapFileSave(scnFolder + entry.scenario + ".MAP")) return false;
    if (!names->WriteNamesFile(names->DefaultNamesFile())) return false;
  }

  // A picture of the sibling game, and one to start a new map on.
  {
    BmpImage image(prompts_);
    if (!Paint({1280, 960, SampleStyle::kWestCoast, 37}, image, nullptr, nullptr)) return false;
    if (!WriteShpSet(prompts_, image, zebFolder + "ZMAP30")) return false;
  }
  BmpImage image(prompts_);
  if (!Paint({1600, 1200, SampleStyle::kLakeland, 41}, image, nullptr, nullptr)) return false;
  return image.Save(bmpFolder + "NEWMAP.bmp");
}

}  // namespace maptesk

// A ViewHost that records what the view asked of the window.
#pragma once

#include <string>
#include <vector>

#include "core/view/view_host.h"

namespace maptesk::testing {

class FakeViewHost : public ViewHost {
 public:
  struct Point {
    int x;
    int y;
    friend bool operator==(const Point&, const Point&) = default;
  };

  void PlacePointer(int windowX, int windowY) override { pointer.push_back({windowX, windowY}); }
  void SetPointerShape(PointerShape s) override { shape = s; }
  void CaptureMouse() override { calls.push_back("capture"); }
  void ReleaseMouse() override { calls.push_back("release"); }
  void ShowOrdinarySurface() override { calls.push_back("surface"); }
  void PostCommand(int id) override {
    calls.push_back("post " + std::to_string(id));
    posted.push_back(id);
  }

  std::vector<Point> pointer;
  PointerShape shape = PointerShape::kArrow;
  std::vector<std::string> calls;
  std::vector<int> posted;
};

}  // namespace maptesk::testing

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
  bool PickName(int& index) override {
    calls.push_back("pick " + std::to_string(index));
    if (pickAnswer < 0) return false;
    index = pickAnswer;
    return true;
  }
  void OpenTerrainFilter() override { calls.push_back("filter"); }
  void RequestClose() override { calls.push_back("close"); }
  void OpenLastFile() override { calls.push_back("last"); }

  std::vector<Point> pointer;
  PointerShape shape = PointerShape::kArrow;
  std::vector<std::string> calls;
  /// The name picker's answer; negative means Cancel.
  int pickAnswer = -1;
};

}  // namespace maptesk::testing

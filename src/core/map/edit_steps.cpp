#include "core/map/edit_steps.h"

namespace maptesk {

namespace {
class NoSteps final : public EditSteps {
 public:
  void OpenStep(std::string_view) override {}
  void CloseStep() override {}
};
}  // namespace

EditSteps& EditSteps::None() {
  static NoSteps none;
  return none;
}

}  // namespace maptesk

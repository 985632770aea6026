// Dialogs and text entry that the test scripts: each dialog run calls the
// test's function for that dialog (which may work the model as a user would)
// and records which dialog ran; text entry answers from a queue.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/dialogs.h"
#include "core/view/name_picker_model.h"

namespace maptesk::testing {

class ScriptedDialogs : public Dialogs {
 public:
  template <typename Model>
  using Script = std::function<DialogEnd(Model&)>;

  Script<MapNumberModel> mapNumber = Cancel<MapNumberModel>("map number");
  Script<NamePickerModel> namePicker = Cancel<NamePickerModel>("name picker");
  Script<TerrainFilterModel> terrainFilter = Cancel<TerrainFilterModel>("terrain filter");
  Script<MapsReport> mapsReport = Cancel<MapsReport>("maps report");
  Script<GlobalChange> globalChange = Cancel<GlobalChange>("global change");
  Script<OpenMapModel> openMap = Cancel<OpenMapModel>("open map");
  Script<NewMapModel> newMap = Cancel<NewMapModel>("new map");
  /// Answers the map-file dialog with a path ("" cancels).
  std::function<std::string(MapFileModel&, const std::string& initialPath)> mapFile =
      [](MapFileModel&, const std::string&) { return std::string(); };
  std::vector<std::string> ran;

  DialogEnd RunMapNumber(MapNumberModel& m) override { return Run("map number", mapNumber, m); }
  DialogEnd RunNamePicker(NamePickerModel& m) override { return Run("name picker", namePicker, m); }
  DialogEnd RunTerrainFilter(TerrainFilterModel& m) override {
    return Run("terrain filter", terrainFilter, m);
  }
  DialogEnd RunMapsReport(MapsReport& m) override { return Run("maps report", mapsReport, m); }
  DialogEnd RunGlobalChange(GlobalChange& m) override {
    return Run("global change", globalChange, m);
  }
  DialogEnd RunOpenMap(OpenMapModel& m) override { return Run("open map", openMap, m); }
  DialogEnd RunNewMap(NewMapModel& m) override { return Run("new map", newMap, m); }
  std::string RunMapFile(MapFileModel& m, const std::string& initialPath, const std::string&,
                         bool) override {
    ran.push_back("map file");
    return mapFile(m, initialPath);
  }
  void ShowMapCheck(CheckList&) override { ran.push_back("map check"); }

 private:
  template <typename Model>
  static Script<Model> Cancel(const char*) {
    return [](Model&) { return DialogEnd::kCancel; };
  }
  template <typename Model>
  DialogEnd Run(const char* name, Script<Model>& script, Model& model) {
    ran.push_back(name);
    return script(model);
  }
};

class ScriptedTextEntry : public TextEntry {
 public:
  std::deque<std::optional<std::string>> replies;
  /// "prompt|initial text" of each question.
  std::vector<std::string> asked;

  std::optional<std::string> AskText(const std::string& prompt, const std::string& text) override {
    asked.push_back(prompt + "|" + text);
    if (replies.empty()) return std::nullopt;
    std::optional<std::string> reply = replies.front();
    replies.pop_front();
    return reply;
  }
};

}  // namespace maptesk::testing

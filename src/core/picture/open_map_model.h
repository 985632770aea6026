// The open-map dialog: the MAP files of a scenario folder with the number
// each one holds and whether a picture folder has that number's picture, a
// preview of the selected map's picture, and the map chosen with what the
// open command needs to know about its picture.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/map/map_number_model.h"
#include "core/picture/kept_preview.h"

namespace maptesk {

class Prompts;
struct ToolSettings;

class OpenMapModel {
 public:
  /// One MAP file of the scenario folder.
  struct Record {
    std::string fileName;  ///< name with extension, as the folder spells it
    /// The number in the file's first two bytes: 0 to 65534, or -1 for 65535
    /// (no number) and for a file too short to hold one.
    int number = -1;
    /// "MAP0%d" below 10, else "MAP%d"; "" for a map without a number.
    std::string pictureBase;
    /// The picture folder holds no first tile of the number.
    bool noPicture = true;
  };
  /// One line of the list and, as its item data, the index of its record.
  struct Line {
    std::string text;
    size_t record = 0;
  };

  static constexpr int kByName = 0;
  static constexpr int kByNumber = 1;
  /// The preview is drawn at 300 of every 1920 pixels.
  static constexpr int kPreviewScale = 300;
  static constexpr int kPictureScale = 1920;

  /// `preview` loads S16 or, while searchShp() is on, SHP first tiles.
  OpenMapModel(ToolSettings& settings, Prompts& prompts, PicturePreview& preview);
  /// With a preview of its own, which the dialog draws from previewPicture().
  OpenMapModel(ToolSettings& settings, Prompts& prompts);
  ~OpenMapModel();
  OpenMapModel(const OpenMapModel&) = delete;
  OpenMapModel& operator=(const OpenMapModel&) = delete;

  std::string picFolder;
  std::string scenarioFolder;
  int sortMode = kByNumber;

  /// Dialog start: empty folders are taken from the settings (scenario and
  /// MAP folder), then the folder is read. False as Refresh.
  bool Start();
  /// Reads the MAP files of `scenarioFolder`, lists them, selects the first
  /// line and shows its picture. A file that cannot be read is left out.
  /// False after "Error on allocating memory": the dialog ends cancelled.
  bool Refresh();
  /// "Name" or "Map Number": the list in that layout and order; the
  /// selected map stays selected.
  void SelectSort(int mode);
  /// The list's selection moved: the line's picture is shown.
  void SelectLine(int index);
  /// The picture folder's "...": a folder other than the current one is
  /// taken and the list refreshed. False as Refresh.
  bool ChoosePictureFolder();
  /// The scenario folder's "...": a new folder is taken, with the MAP folder
  /// beside it as picture folder when that holds MAP0000, else the user is
  /// asked for one; then the list is refreshed. False as Refresh.
  bool ChooseScenarioFolder();
  /// "Search as Zeb Map file": asks for a picture folder when the current
  /// one has no MAP0000 of the kind searched, then refreshes. False as Refresh.
  bool SetSearchShp(bool on);
  /// A folder edit lost the focus with `text`: a separator is added when
  /// missing; the list is not refreshed.
  void PicFolderEdited(const std::string& text);
  void ScenarioFolderEdited(const std::string& text);
  /// "LOAD": the selected map is the result; outside SHP mode the picture
  /// folder becomes the setting `mapFolder`.
  void Accept();
  /// "Cancel": no map.
  void Cancel();

  const std::vector<Record>& records() const { return records_; }
  const std::vector<Line>& lines() const { return lines_; }
  /// Index of the selected line, -1 when the list is empty.
  int selectedLine() const { return selected_; }
  /// "%d Maps found".
  const std::string& countText() const { return countText_; }
  /// The picture caption: its number and size, or " * not FOUND".
  const std::string& caption() const { return caption_; }
  bool previewLoaded() const { return previewLoaded_; }
  /// The first tile the preview was loaded from.
  const std::string& previewFile() const { return previewFile_; }
  /// The size the preview is drawn at.
  PictureSize previewSize() const { return previewSize_; }
  /// The loaded preview when the model has a preview of its own, else null.
  const MapPicture* previewPicture() const;
  bool searchShp() const { return searchShp_; }

  /// Results after Accept: the chosen map file ("" for none), the first SHP
  /// tile of its picture in SHP mode, whether the picture folder lacks its
  /// picture, and whether its picture is not the S16 one of its number.
  const std::string& mapPath() const { return mapPath_; }
  const std::string& picturePath() const { return picturePath_; }
  bool noPicture() const { return noPicture_; }
  bool foreignPicture() const { return foreignPicture_; }

  /// One record's line in the layout of `mode`.
  static std::string LineText(const Record& record, int mode);

 private:
  /// Fills the records from the folder; false when they cannot be held.
  bool ReadRecords();
  void FillList();
  void ShowSelection();
  void DropPreview();
  /// Asks for the picture folder; true when one was chosen and taken.
  bool AskPictureFolder();
  std::string PictureExtension() const { return searchShp_ ? "SHP" : "S16"; }
  /// The first tile of a record's picture in `picFolder`, as the folder
  /// spells it when it exists.
  std::string PictureFile(const Record& record) const;
  void Close();

  ToolSettings& settings_;
  Prompts& prompts_;
  std::unique_ptr<KeptPreview> ownPreview_;
  PicturePreview& preview_;
  bool searchShp_ = false;
  std::vector<Record> records_;
  std::vector<Line> lines_;
  int selected_ = -1;
  std::string countText_ = "Maps";
  std::string caption_ = "Shapes";
  bool previewLoaded_ = false;
  std::string previewFile_;
  PictureSize previewSize_;
  std::string mapPath_;
  std::string picturePath_;
  bool noPicture_ = true;
  bool foreignPicture_ = false;
};

}  // namespace maptesk

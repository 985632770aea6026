// The map-number dialog: which map numbers have an S16 picture in a folder,
// a small preview of one, and the number chosen; with the two flows that run
// it, "Change Map Number" and the picture step of saving a map that has none.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maptesk {

class BmpImage;
class HexMap;
class Prompts;

/// Width and height of a picture in pixels.
struct PictureSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

/// Loads a dialog's preview picture; the application keeps a picture of its
/// own for it, which the dialog draws while the model says one is loaded.
class PicturePreview {
 public:
  virtual ~PicturePreview() = default;
  /// Loads the preview from the first S16 tile of a set and gives its size;
  /// nullopt when it cannot be loaded.
  virtual std::optional<PictureSize> LoadPreview(const std::string& firstTile) = 0;
  /// The picture last loaded, while it is the one of `firstTile`; null when
  /// the preview keeps none (the dialog then reads it itself).
  virtual const BmpImage* KeptPicture(const std::string& firstTile) const {
    (void)firstTile;
    return nullptr;
  }
};

class MapNumberModel {
 public:
  /// One line of the list: "MAP" and the number right-aligned in four.
  struct Entry {
    std::string text;
    int number = 0;
  };

  static constexpr int kMaxNumber = 65535;
  /// The preview is a tenth of the picture: 192 of 1920 pixels.
  static constexpr int kPreviewScale = 192;
  static constexpr int kPictureScale = 1920;

  /// `map` gives the picture names (its settings' MAP and game folders).
  MapNumberModel(const HexMap& map, Prompts& prompts, PicturePreview& preview);

  int number = 0;
  std::string folder;
  std::string numberLabel = "Create as MAP number";
  /// Create mode: the number chosen is one to write the picture as, so a
  /// number that already has tiles relabels OK as "Replace".
  bool createMode = true;

  /// Dialog start: an empty folder becomes the MAP folder; the list is
  /// filled and the number shown.
  void Start();
  /// Lists the numbers whose first tile "MAP<n>00.s16" is in `folder`, and
  /// selects the entry of `number` (else the first), then shows the number.
  void FillList();
  /// Selects the entry of `number`, sets the OK label and loads its preview.
  void ShowNumber();

  /// The number edit lost the focus with `text`. Only 0..65535 is taken;
  /// anything else is refused with a message and `number` is kept.
  bool NumberEdited(const std::string& text);
  /// A click on an entry: its preview is shown; `number` stays.
  void ClickEntry(int index);
  /// A double click: the entry's number is taken and OK reads "Replace".
  void DoubleClickEntry(int index);
  /// "...": choose another folder and list it.
  void ChooseFolder();
  /// "OK" with the number edit's text: false (after the message) when the
  /// text is not a number from 0 to 65535, and the dialog stays open.
  bool Accept(const std::string& numberText);

  const std::vector<Entry>& entries() const { return entries_; }
  /// Index of the selected entry, -1 when none.
  int selectedEntry() const { return selected_; }
  /// "OK" or "Replace".
  const std::string& okLabel() const { return okLabel_; }
  /// "Map #%d size (%d x %d) " while a preview is loaded, else "".
  const std::string& caption() const { return caption_; }
  bool previewLoaded() const { return previewLoaded_; }
  /// The tile the preview was loaded from.
  const std::string& previewFile() const { return previewFile_; }
  /// The loaded preview's picture when its loader keeps it, else null.
  const BmpImage* previewPicture() const;
  PictureSize pictureSize() const { return pictureSize_; }
  /// The size the preview is drawn at.
  PictureSize previewSize() const { return previewSize_; }

  /// "MAP" followed by `number` right-aligned in four characters.
  static std::string EntryText(int number);
  /// The map number of a typed text: digits with blanks around, 0..65535.
  static std::optional<int> ParseMapNumber(std::string_view text);
  /// The number of a first tile's base name ("MAP1200" gives 12): the text
  /// between "MAP" and the final "00", read like a decimal integer (so
  /// "MAPX00" gives 0). nullopt when the name does not end in "00" or the
  /// number is no map number.
  static std::optional<int> NumberOfFirstTile(std::string_view baseName);
  /// The message refusing a typed text.
  static std::string RangeMessage(const std::string& text);

 private:
  void LoadPreview(int number);
  void DropPreview();

  const HexMap& map_;
  Prompts& prompts_;
  PicturePreview& preview_;
  std::vector<Entry> entries_;
  int selected_ = -1;
  std::string okLabel_ = "OK";
  std::string caption_;
  bool previewLoaded_ = false;
  std::string previewFile_;
  PictureSize pictureSize_;
  PictureSize previewSize_;
};

}  // namespace maptesk

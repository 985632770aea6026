#include "core/util/prompts.h"

#include "core/util/file_choosers.h"

namespace maptesk {

std::string FileTypeFilter(int type) {
  std::string filter;
  switch (type) {
    case kFileText:
      filter = "TXT Files (*.TXT)|*.txt|LOG Files (*.LOG)|*.log|INI Files (*.INI)|*.ini|";
      break;
    case kFileLog: filter = "Files (*.LOG)|*.log|Files (*.TXT)|*.txt|"; break;
    case kFileIni: filter = "Files (*.INI)|*.tbl|Files (*.TXT)|*.txt|"; break;
    case kFileMap: filter = "MAP Files (*.MAP)|*.map|"; break;
    case kFileS16: filter = "Files (*.S16)|*.s16|"; break;
    case kFileShp: filter = "Files (*.SHP)|*.shp|"; break;
    case kFileBmp: filter = "Files (*.BMP)|*.bmp|"; break;
    case kFilePicture: filter = "Files (*.S16)|*.s16|Files (*.BMP)|*.bmp|"; break;
    case kFileExe: filter = "Files (*.EXE)|*.exe|"; break;
    default: break;
  }
  return filter + "All Files (*.*)|*.*|";
}

std::string FileTypeTitle(int type) {
  switch (type) {
    case kFileText: return "Select text File";
    case kFileLog: return "Select LOG File";
    case kFileIni: return "Select INI file";
    case kFileMap: return "Select MAP file";
    case kFileS16: return "Select a TESK S16 file";
    case kFileShp: return "Select a TESK SHP file";
    case kFileBmp: return "Select a BMP file";
    case kFilePicture: return "Select a TESK picture file";
    case kFileExe: return "Select Norvane.exe file";
    default: return "Select File";
  }
}

std::string Prompts::ChooseFolderFor(int kind, const std::string& gameFolder,
                                     const std::string& start, const std::string& title) {
  const FolderQuestion question = FolderQuestionFor(kind, gameFolder, start, title);
  return BrowseFolder(question.start, question.title);
}

void ErrorCreating(Prompts& prompts, const std::string& name, const std::string& reason) {
  std::string text = Format("Error on creating [%s]", name.c_str());
  if (!reason.empty()) text += "\n" + reason;
  prompts.ShowError(text);
}

void ErrorNotFound(Prompts& prompts, const std::string& name) {
  prompts.ShowError(Format("[%s] Not found", name.c_str()));
}

void ErrorCannotOpen(Prompts& prompts, const std::string& name) {
  prompts.ShowError(Format("Cannot open [%s]", name.c_str()));
}

}  // namespace maptesk

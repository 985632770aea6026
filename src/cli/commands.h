// The commands of maptesk-cli. Each takes the words after its name and
// returns the exit status: 0 success, 1 failure (message on standard error),
// 2 usage error.
#pragma once

#include <string>
#include <vector>

namespace maptesk::cli {

using Args = std::vector<std::string>;

// Map documents.
int CmdInfo(const Args& args);
int CmdNames(const Args& args);
int CmdSave(const Args& args);

// Pictures.
int CmdPicture(const Args& args);
int CmdTiles(const Args& args);
int CmdSample(const Args& args);

// Whole-map and folder tools.
int CmdReport(const Args& args);
int CmdReplaceTerrain(const Args& args);
int CmdAutoroads(const Args& args);
int CmdMarks(const Args& args);
int CmdRenumber(const Args& args);
int CmdCheck(const Args& args);

// One frame of the editor, drawn without a display: runs maptesk-render from
// this program's folder with the same words.
int CmdRender(const Args& args);

}  // namespace maptesk::cli

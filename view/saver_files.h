// Where the saver finds its target file and leaves its snapshot. The rules
// take the folders as arguments, so every front end passes its own and tests
// pass folders of their own.
//
// A relative path is first taken as it stands, from the current folder. A
// screen saver is started in a current folder of the system's choosing,
// which holds no target file and which an ordinary user cannot write to, so
// each file has a second place: the target file beside the executable, the
// snapshot in the user's settings folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "imaging/dib.h"

namespace lumetra {

inline constexpr char kSnapshotFileName[] = "lumetra.bmp";

// The target file to read. `targetFile` is taken from `currentFolder` ("" is
// the process's current folder) when it is there, or when it is absolute.
// A relative one that is not there is looked for in `executableFolder`; when
// it is not there either, the first place is kept (and reads as no file).
std::string LocateTargetFile(const std::string& targetFile, const std::string& currentFolder,
                             const std::string& executableFolder);

// The folder of the settings file (where "Lumetra.ini" lives), "" when that
// file has no folder of its own.
std::string SettingsFolder();

// The snapshot's path in each folder ("" is the current folder), in order,
// leaving out a folder that comes again. The folders are the platform's own
// paths, as the front end and SettingsFolder give them.
std::vector<std::string> SnapshotPaths(const std::vector<std::string>& folders);

// The folders to try for the snapshot: `current` only when it keeps other
// users out (KeepsOthersOut: in a folder where anyone may put names, another
// user could lay a link or a file in the snapshot's way), then `settings`,
// the user's own.
std::vector<std::string> SnapshotFolders(const std::string& current, const std::string& settings);

// Writes `frame` as a BMP file to the first of `paths` where that succeeds,
// through a new file beside it that is renamed over the old one
// (ReplaceFileWhole), so that an existing snapshot is replaced whole or not
// at all, no half-written file is left and a link in its place is replaced,
// not followed. Returns the path written, or nothing (a frame without pixels
// is never written). Never throws.
std::optional<std::string> WriteSnapshot(CDib& frame, const std::vector<std::string>& paths);

}  // namespace lumetra

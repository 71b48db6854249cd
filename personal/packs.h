// The two packs handed on as zip archives on the desktop: a personalised copy of the program for a
// friend, and the editor's hosts text ready to copy onto a PC, an Android phone or an iPhone.
#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "personal/personal_ini.h"
#include "platform/files.h"
#include "platform/zip.h"
#include "text/datetime.h"

namespace zk {

// Where a build reads and writes; resolved on the UI thread before the build goes to a worker.
struct PackPlaces {
  std::string dataFolder;   // absolute, no trailing backslash: the trees are built (and deleted) in it
  std::string desktop;      // the archive's folder, with or without a trailing backslash
  std::string programPath;  // the running executable, copied byte for byte into the pack
};

enum class PackOutcome { Done, Failed, Stopped };

// The entries that hold a folder's contents: every file and subfolder by its path relative to the
// folder, "/" between the parts, a folder's name ending in "/" and coming before its contents,
// names in each folder sorted. Nothing when a folder cannot be listed or the tree is too deep.
std::optional<std::vector<ZipItem>> zipEntriesOf(FileSystem& fs, const std::string& folder);

// Blocking: run on a worker. Each builds its tree in the data folder, zips it to the desktop under
// a temporary name and moves the archive into place only once it is complete, then deletes the
// tree. A stopped or failed build leaves any earlier archive of that name as it was.
PackOutcome buildPersonalPack(FileSystem& fs, ZipWriter& zip, const PackPlaces& places, const PersonalSettings& s,
                              const LocalTime& now, std::stop_token stop);
// hostsBytes: the editor's document as it would be saved, written unchanged as each hosts file.
PackOutcome buildHostsPack(FileSystem& fs, ZipWriter& zip, const PackPlaces& places, std::string_view hostsBytes,
                           const LocalTime& now, std::stop_token stop);

}  // namespace zk

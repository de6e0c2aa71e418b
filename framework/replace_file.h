// Replacing a file whole, so that no one can turn the write against its user:
// the snapshot, the tool's frames and the settings all go through here. The
// new file is written beside the old one under a name nobody can guess,
// created exclusively (so no link or file planted in advance is opened),
// flushed to the disk and renamed over the old name: readers see the old
// file or the new one, never a mix, and a failed write leaves the old one.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace lumetra {

// What happens when the name to replace is a symbolic link.
enum class LinkRule {
    // The new file replaces the link itself; whatever it pointed to keeps its bytes.
    kReplaceLink,
    // The file the link leads to is replaced, so that a settings file kept
    // with the user's other dot files stays linked; but only when every link
    // on the way and that file belong to the user running the program.
    // Otherwise, as kReplaceLink. (Windows: always as kReplaceLink.)
    kFollowOwnLinks,
};

// Writes `contents` to a new file beside `path` and renames it over `path`.
// A file that exists keeps the permissions its owner gave it, and one that
// its owner made read-only is not replaced. On failure `path` is untouched,
// the temporary file is removed and the system's reason comes back.
std::error_code ReplaceFileWhole(const std::string& path, std::string_view contents,
                                 LinkRule links = LinkRule::kReplaceLink);

// Whether ReplaceFileWhole could put a file at `path` now, asked before a
// long piece of work: a temporary file is made beside it as the replacement
// would make one, and removed. `path` itself is not touched.
std::error_code CheckReplaceable(const std::string& path);

// Whether `folder` ("" is the current folder) keeps other users from
// putting, renaming or removing names in it. On Linux: not writable by its
// group or by others, or else sticky (as /tmp is), where only a file's owner
// may rename or remove it. On Windows: no write access for anyone but the
// user, the system and the administrators. A folder that cannot be examined
// counts as open to others.
bool KeepsOthersOut(const std::string& folder);

// Removes the temporary files of replacements under way, for a program that
// ends in the middle of one (a signal, a fault). Safe in a signal handler and
// in a fault handler: it only removes names recorded in advance.
void RemoveUnfinishedTemporaryFiles() noexcept;

}  // namespace lumetra

// Reading the target file into the view's target list, and emptying it.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <system_error>

#include "targets/ping_target.h"
#include "targets/target_line.h"

namespace lumetra {

using TargetLineHandler = std::function<void(std::size_t lineNumber, ParsedLine parsed)>;

// Reads the file at `path` (a backslash is a folder separator everywhere)
// line by line and hands every line, parsed, to `onLine` with its 1-based
// number. A line ends at LF; one CR before it, or at the end of the file, is
// not part of the line. Returns the system's error when the file cannot be
// opened or a read fails (the lines before a failed read have been handed
// on), else no error. Running out of memory throws std::bad_alloc.
[[nodiscard]] std::error_code ReadTargetFile(const std::string& path, const TargetLineHandler& onLine);

// The line reading of ReadTargetFile on an open stream, which it sets to
// throw on a failed read. A failed read returns the system's error; the
// lines before it have been handed on.
[[nodiscard]] std::error_code ReadTargetStream(std::istream& in, const TargetLineHandler& onLine);

// The line reading of ReadTargetStream on text already read.
void ReadTargetText(std::string_view text, const TargetLineHandler& onLine);

// Sets `region` to "USA", then appends the records of the file to `targets`
// in file order. The list is not emptied first. A file that cannot be read,
// one that is not a regular file (a FIFO is never waited for) and lines that
// are dropped are passed over silently.
void LoadTargetFile(const std::string& targetFile, TargetList& targets, std::string& region);

// Removes the records from the head until the list is empty, deleting each.
void FreeTargetList(TargetList& targets);

}  // namespace lumetra

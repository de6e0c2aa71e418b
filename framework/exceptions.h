// The framework's three exception kinds. Memory and resource failures are
// raised as the bitmap and list code require; file failures come from File.
#pragma once

#include <stdexcept>
#include <string>

namespace lumetra {

// Allocation failed (a header block, a resource copy, a palette array).
class MemoryException : public std::runtime_error {
public:
    explicit MemoryException(const std::string& what) : std::runtime_error(what) {}
};

// A bitmap resource is missing or malformed.
class ResourceException : public std::runtime_error {
public:
    explicit ResourceException(const std::string& what) : std::runtime_error(what) {}
};

// A file could not be opened, written or closed. `cause` is the system's errno
// (or Windows error code) when there is one, else 0.
class FileException : public std::runtime_error {
public:
    FileException(const std::string& what, int cause) : std::runtime_error(what), m_nCause(cause) {}
    int Cause() const { return m_nCause; }

private:
    int m_nCause;
};

}  // namespace lumetra

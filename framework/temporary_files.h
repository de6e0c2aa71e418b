// The bookkeeping behind ReplaceFileWhole (framework/replace_file.h): the
// unpredictable name of a temporary file, and the record of the ones being
// written, which RemoveUnfinishedTemporaryFiles walks when a run ends
// half-way. Shared by the platform files; the rest of the program uses
// replace_file.h.
#pragma once

#include <cstdint>
#include <string>

namespace lumetra {

// "PATH.XXXXXXXXXXXXXXXX.tmp" with 16 hexadecimal digits of `random`: beside
// PATH, so that the rename stays on one file system.
std::string TemporaryNameBeside(const std::string& path, std::uint64_t random);

// 64 bits from the system's random source, which no other user can predict.
std::uint64_t UnpredictableNumber();

// Removes a file by name; all that may run in a signal or fault handler.
void RemoveFileNow(const char* path) noexcept;

// Records a temporary file that now exists, for as long as the object lives.
// A name too long for the record, or one more than it holds, is simply not
// recorded: the write goes on, it just cannot be cleaned up by an interrupt.
class CRecordedTemporary {
public:
    explicit CRecordedTemporary(const std::string& path) noexcept;
    ~CRecordedTemporary();
    CRecordedTemporary(const CRecordedTemporary&) = delete;
    CRecordedTemporary& operator=(const CRecordedTemporary&) = delete;

private:
    int m_nSlot = -1;
};

}  // namespace lumetra

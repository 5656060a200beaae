#pragma once
// The record of the windows Velt keeps hidden, left on disk while it runs so that a run that ends
// without its normal exit (a crash, a kill) can be undone by the next start. It names windows
// only: a handle, its process and its class. Nothing about passwords goes into it.
#include "platform/Desktop.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velt {

struct RecoveryEntry {
    WindowId window = 0;
    std::uint32_t processId = 0;
    std::wstring className;
    friend bool operator==(const RecoveryEntry&, const RecoveryEntry&) = default;
};

inline constexpr size_t kMaxRecoveryEntries = 4096;
inline constexpr size_t kMaxRecoveryClassName = 256; // the system's own limit on class names

// The record as text: one header line with the entry count and a checksum of the lines below,
// then one line per entry. Entries that cannot be written faithfully are left out.
std::string FormatRecoveryRecord(std::span<const RecoveryEntry> entries);

// Reads a record written by FormatRecoveryRecord. Anything else (damaged, cut short, foreign)
// gives false and no entries.
bool ParseRecoveryRecord(std::span<const std::uint8_t> bytes, std::vector<RecoveryEntry>& entries);

// The entries for windows, asked of the desktop; windows that are gone are left out.
std::vector<RecoveryEntry> DescribeWindows(std::span<const WindowId> windows, Desktop& desktop);

// The windows of a record that may be shown again: each still exists, belongs to the same process,
// has the same class and is still hidden. Each at most once, in the record's order.
std::vector<WindowId> WindowsToShowAgain(std::span<const RecoveryEntry> entries, Desktop& desktop);

} // namespace velt

namespace velt {

// Where the record lives while Velt runs.
class RecoveryStore {
public:
    virtual ~RecoveryStore() = default;
    // Replaces the record as a whole: a reader finds the old one or the new one, never a mix.
    virtual void Write(std::span<const RecoveryEntry> entries) = 0;
    // The normal exit: no record is left.
    virtual void Remove() = 0;
};

} // namespace velt

#include "engine/RecoveryRecord.h"

#include <algorithm>
#include <set>
#include <string_view>

namespace velt {

namespace {

constexpr std::string_view kMagic = "VeltHidden 1 ";
constexpr size_t kMaxRecordBytes = 1 << 20;

std::uint32_t Fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint32_t hash = 2166136261u;
    for (std::uint8_t b : bytes) {
        hash ^= b;
        hash *= 16777619u;
    }
    return hash;
}

std::string Hex(std::uint64_t value, int minDigits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 15]);
        value >>= 4;
    } while (value || static_cast<int>(text.size()) < minDigits);
    return text;
}

// Class names may hold any character: printable ASCII stays as it is, everything else (spaces,
// '%', control and non-ASCII characters) becomes '%' and four hex digits of its UTF-16 unit.
bool EscapeClassName(const std::wstring& name, std::string& out) {
    if (name.empty() || name.size() > kMaxRecoveryClassName) return false;
    for (wchar_t c : name) {
        auto unit = static_cast<std::uint32_t>(c);
        if (unit > 0xffff) return false; // not a UTF-16 unit: no Windows class name has one
        if (unit > 0x20 && unit < 0x7f && unit != '%') out += static_cast<char>(unit);
        else out += "%" + Hex(unit, 4);
    }
    return true;
}

// A checked reader over the record's bytes: every read stays inside the span, and the first
// failure sticks.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_at >= m_bytes.size(); }
    size_t Offset() const { return m_at; }

    bool Literal(std::string_view text) {
        if (!m_ok || m_bytes.size() - m_at < text.size()) return m_ok = false;
        for (size_t i = 0; i < text.size(); ++i)
            if (m_bytes[m_at + i] != static_cast<std::uint8_t>(text[i])) return m_ok = false;
        m_at += text.size();
        return true;
    }

    // 1 to maxDigits digits of the given base, no sign, no leading spaces.
    bool Number(int base, size_t maxDigits, std::uint64_t limit, std::uint64_t& value) {
        value = 0;
        size_t digits = 0;
        while (m_ok && m_at < m_bytes.size()) {
            int d = DigitValue(m_bytes[m_at], base);
            if (d < 0) break;
            if (++digits > maxDigits) return m_ok = false;
            value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
            ++m_at;
        }
        if (digits == 0 || value > limit) return m_ok = false;
        return m_ok;
    }

    bool ClassName(std::wstring& name) {
        name.clear();
        while (m_ok && m_at < m_bytes.size()) {
            std::uint8_t b = m_bytes[m_at];
            if (b == '\n') break;
            if (name.size() >= kMaxRecoveryClassName) return m_ok = false;
            if (b == '%') {
                // exactly four digits: a literal hex digit may follow
                if (m_bytes.size() - m_at < 5) return m_ok = false;
                std::uint32_t unit = 0;
                for (size_t i = 1; i <= 4; ++i) {
                    int d = DigitValue(m_bytes[m_at + i], 16);
                    if (d < 0) return m_ok = false;
                    unit = unit * 16 + static_cast<std::uint32_t>(d);
                }
                m_at += 5;
                name += static_cast<wchar_t>(unit);
                continue;
            }
            if (b <= 0x20 || b >= 0x7f) return m_ok = false;
            name += static_cast<wchar_t>(b);
            ++m_at;
        }
        if (name.empty()) return m_ok = false;
        return m_ok;
    }

private:
    static int DigitValue(std::uint8_t b, int base) {
        int d = -1;
        if (b >= '0' && b <= '9') d = b - '0';
        else if (b >= 'a' && b <= 'f') d = b - 'a' + 10;
        return d < base ? d : -1;
    }

    std::span<const std::uint8_t> m_bytes;
    size_t m_at = 0;
    bool m_ok = true;
};

} // namespace

std::string FormatRecoveryRecord(std::span<const RecoveryEntry> entries) {
    std::string body;
    size_t count = 0;
    for (const RecoveryEntry& entry : entries) {
        if (count == kMaxRecoveryEntries) break;
        std::string name;
        if (!entry.window || !EscapeClassName(entry.className, name)) continue;
        body += Hex(entry.window, 1) + " " + std::to_string(entry.processId) + " " + name + "\n";
        ++count;
    }
    auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
    return std::string(kMagic) + std::to_string(count) + " " + Hex(Fnv1a(bytes), 8) + "\n" + body;
}

bool ParseRecoveryRecord(std::span<const std::uint8_t> bytes, std::vector<RecoveryEntry>& entries) {
    entries.clear();
    if (bytes.size() > kMaxRecordBytes) return false;
    Reader reader(bytes);
    std::uint64_t count = 0, checksum = 0;
    reader.Literal(kMagic);
    reader.Number(10, 5, kMaxRecoveryEntries, count);
    reader.Literal(" ");
    size_t start = reader.Offset();
    reader.Number(16, 8, 0xffffffffu, checksum);
    if (!reader.Ok() || reader.Offset() - start != 8 || !reader.Literal("\n")) return false;
    if (Fnv1a(bytes.subspan(reader.Offset())) != checksum) return false;

    std::vector<RecoveryEntry> read;
    for (std::uint64_t i = 0; i < count; ++i) {
        RecoveryEntry entry;
        std::uint64_t window = 0, processId = 0;
        reader.Number(16, sizeof(WindowId) * 2, ~WindowId{0}, window);
        reader.Literal(" ");
        reader.Number(10, 10, 0xffffffffu, processId);
        reader.Literal(" ");
        reader.ClassName(entry.className);
        reader.Literal("\n");
        if (!reader.Ok() || window == 0) return false;
        entry.window = static_cast<WindowId>(window);
        entry.processId = static_cast<std::uint32_t>(processId);
        read.push_back(std::move(entry));
    }
    if (!reader.AtEnd()) return false;
    entries = std::move(read);
    return true;
}

std::vector<RecoveryEntry> DescribeWindows(std::span<const WindowId> windows, Desktop& desktop) {
    std::vector<RecoveryEntry> entries;
    entries.reserve(windows.size());
    for (WindowId window : windows) {
        RecoveryEntry entry{window, desktop.WindowProcessId(window),
                            desktop.WindowClassName(window)};
        if (entry.processId == 0 || entry.className.empty()) continue; // window gone: skip it
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<WindowId> WindowsToShowAgain(std::span<const RecoveryEntry> entries, Desktop& desktop) {
    std::vector<WindowId> windows;
    std::set<WindowId> seen;
    for (const RecoveryEntry& entry : entries) {
        WindowId w = entry.window;
        if (!w || !seen.insert(w).second) continue;
        // A handle can be reused by another window once its own is destroyed: all three must
        // still agree, and a window now visible is left to whoever showed it.
        if (!desktop.IsWindow(w) || desktop.IsWindowVisible(w)) continue;
        if (desktop.WindowProcessId(w) != entry.processId) continue;
        if (desktop.WindowClassName(w) != entry.className) continue;
        windows.push_back(w);
    }
    return windows;
}

} // namespace velt

#include "platform/Stream_win.h"

#include "platform/Handles_win.h"

#include <cstring>

namespace velt {

IStream* StreamOverCopy(std::span<const std::uint8_t> bytes) {
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size()));
    if (!memory) return nullptr;
    if (void* target = GlobalLock(memory.get())) {
        if (!bytes.empty()) std::memcpy(target, bytes.data(), bytes.size());
        GlobalUnlock(memory.get());
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, &stream))) return nullptr;
    memory.release(); // the stream frees it now
    ULARGE_INTEGER size{};
    size.QuadPart = bytes.size();
    stream->SetSize(size); // an empty array gives an empty stream
    return stream;
}

} // namespace velt

#include "imaging/DecoderChain.h"

#include <array>

namespace velt {

// The GIF, icon and bitmap decoders join here, in that order, as they are written.
constexpr std::array<StreamDecoder, 0> kDecodersAfterPng{};

std::span<const StreamDecoder> StreamDecodersAfterPng() { return kDecodersAfterPng; }

#ifdef _WIN32
PictureConverter IconPictureConverter() { return nullptr; }
PictureConverter OtherPictureConverter() { return nullptr; }
#endif

} // namespace velt

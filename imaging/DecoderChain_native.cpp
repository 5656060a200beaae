// Without Windows there is no system picture loader: what our decoders do not read does not load.
#include "imaging/PlatformHooks.h"

namespace velt {

PictureLoader PlatformPictureLoader() { return nullptr; }

} // namespace velt

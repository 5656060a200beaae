// The sizes an icon or cursor image's source file offers, from its kept original bytes.
#include "imaging/IcoParser.h"
#include "imaging/IconEntryList.h"
#include "imaging/c32bppDIB.h"

namespace velt {

int32_t c32bppDIB::SourceIconSizes(std::vector<IconSizeRow>& sizeArray) const {
    sizeArray.clear();
    const int32_t type = m_imageType;
    if (!m_bits || (type != itIcon && type != itCursor && type != itIconAlpha &&
                    type != itIconPNG && type != itCursorAlpha))
        return 0;
    if (m_originalFormat.empty()) {
        sizeArray.push_back({m_width, m_height, 32, -1});
        return 1;
    }
    cICOparser parser;
    if (!parser.LoadStream(m_originalFormat, 0, 0, nullptr)) return 0;
    for (int32_t i = 1; i <= parser.IconCount(); ++i)
        sizeArray.push_back({parser.Width(i), parser.Height(i), parser.bitDepth(i),
                             IconColourColumn(parser.bitDepth(i))});
    return parser.IconCount();
}

} // namespace velt

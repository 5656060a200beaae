// The PNG side of c32bppDIB: its property holder and its own encoder.
#include "imaging/c32bppDIB.h"

#include "imaging/PngWriter.h"

namespace velt {

void PngWriterDeleter::operator()(cPNGwriter* writer) const { delete writer; }

bool c32bppDIB::PngPropertySet(int32_t PropertyID,
                               const std::optional<PngPropertyValue>& PropertyValue,
                               std::wstring_view LargeBlockCaption) {
    if (PropertyID == pngDropAll) {
        m_pngProperties.reset();
        return true;
    }
    if (!PropertyValue)
        return m_pngProperties && m_pngProperties->RemoveProperty(PropertyID, LargeBlockCaption);
    if (!m_pngProperties) {
        m_pngProperties.reset(new (std::nothrow) cPNGwriter);
        if (!m_pngProperties) return false;
    }
    return m_pngProperties->SetProperty(PropertyID, *PropertyValue, LargeBlockCaption);
}

PngPropertyValue c32bppDIB::PngPropertyGet(int32_t PropertyID,
                                           std::wstring_view LargeBlockCaption) const {
    if (m_pngProperties) return m_pngProperties->GetProperty(PropertyID, LargeBlockCaption);
    if (PropertyID == pngBackground) return int32_t{-1};
    if (PropertyID == pngModifiedTime) return PngDate{};
    return std::wstring{};
}

bool c32bppDIB::WritePngOurselves(const std::filesystem::path* file,
                                  std::vector<uint8_t>* out) const {
    // Without properties a fresh writer: no texts, default filtering.
    const cPNGwriter fresh;
    const cPNGwriter& writer = m_pngProperties ? *m_pngProperties : fresh;
    std::vector<uint8_t> unused;
    return file ? writer.WritePng(*this, *file, unused) : writer.WritePng(*this, {}, *out);
}

} // namespace velt

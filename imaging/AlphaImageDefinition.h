#pragma once
// An alpha image control as a window definition holds it: taken from its block to be edited, and
// written back into the definition's text with nothing else in the text changed.
#include "imaging/aicAlphaImage.h"
#include "platform/WindowDefinition.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

// The keys an alpha image control keeps in its block.
std::span<const std::wstring> AlphaImageKeys();

// The container of controls being designed: they keep their picture's bytes and a placeholder
// stands in for a missing picture. Nothing is drawn.
class DesignSite final : public WindowlessSite {
public:
    ~DesignSite() override;
    // Takes the control, placed and sized as its block says (twips), and reads its properties.
    void Load(aicAlphaImage& control, const ControlDefinition& block);

    std::uintptr_t ContainerWindow() const override { return 0; }
    void InvalidateControl(const WindowlessControl&, const Rect&) override {}
    void RemoveControl(WindowlessControl& control) override;
    bool UserMode() const override { return false; }
    std::int32_t ScaleMode() const override { return 1; }

private:
    std::vector<WindowlessControl*> m_controls;
};

// The places (text order) of the definition's blocks of type aicAlphaImage.
std::vector<std::size_t> AlphaImageBlocks(const ControlDefinition& window);

// The text with the control's properties in the block at that place, and its width and height
// when the control's size in pixels is no longer the one its block gives. Nothing, with the
// reason, when the text cannot take them (see ReplaceBlockProperties).
std::optional<std::string> StoreAlphaImage(std::string_view text, std::size_t block,
                                           aicAlphaImage& control, const ResourceResolver& resolve,
                                           std::string* error = nullptr);

} // namespace velt

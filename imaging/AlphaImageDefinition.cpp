#include "imaging/AlphaImageDefinition.h"

#include "platform/DefinitionEdit.h"
#include "platform/Units.h"

#include <algorithm>

namespace velt {

std::span<const std::wstring> AlphaImageKeys() {
    static const std::wstring keys[] = {
        L"Image",   L"Scaler",   L"Opacity",  L"KeepFormat", L"Mirror",     L"Angle", L"GrayScale",
        L"HitTest", L"Props",    L"MaskUsed", L"MaskColor",  L"MaskSource", L"Mask",  L"Enabled",
        L"MIcon",   L"MPointer", L"OLEdrop",  L"ScaleCx",    L"ScaleCy"};
    return keys;
}

DesignSite::~DesignSite() {
    for (WindowlessControl* control : m_controls) control->SetSite(nullptr);
}

void DesignSite::Load(aicAlphaImage& control, const ControlDefinition& block) {
    if (std::find(m_controls.begin(), m_controls.end(), &control) == m_controls.end()) {
        control.SetSite(this);
        m_controls.push_back(&control);
    }
    const PropertyBag& bag = block.properties;
    // Placed before its properties are read: a picture is decoded at the control's size.
    control.Move(
        TwipsToPixels(bag.ReadInteger(L"Left", 0)), TwipsToPixels(bag.ReadInteger(L"Top", 0)),
        TwipsToPixels(bag.ReadInteger(L"Width", 0)), TwipsToPixels(bag.ReadInteger(L"Height", 0)));
    control.ReadProperties(bag);
}

void DesignSite::RemoveControl(WindowlessControl& control) { std::erase(m_controls, &control); }

std::vector<std::size_t> AlphaImageBlocks(const ControlDefinition& window) {
    std::vector<std::size_t> places;
    const std::vector<const ControlDefinition*> blocks = BlocksInTextOrder(window);
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (blocks[i]->type == L"aicAlphaImage") places.push_back(i);
    return places;
}

std::optional<std::string> StoreAlphaImage(std::string_view text, std::size_t block,
                                           aicAlphaImage& control, const ResourceResolver& resolve,
                                           std::string* error) {
    std::string reason;
    std::optional<ControlDefinition> window = ParseWindowDefinition(text, resolve, &reason);
    if (!window) {
        if (error) *error = "not a window definition: " + reason;
        return std::nullopt;
    }
    const std::vector<const ControlDefinition*> blocks = BlocksInTextOrder(*window);
    if (block >= blocks.size()) {
        if (error) *error = "no such control";
        return std::nullopt;
    }
    PropertyBag values;
    control.WriteProperties(values);
    std::vector<std::wstring> keys(AlphaImageKeys().begin(), AlphaImageKeys().end());
    // A size that still rounds to the same pixels keeps its twips as written.
    const PropertyBag& placed = blocks[block]->properties;
    if (TwipsToPixels(placed.ReadInteger(L"Width", 0)) != control.Width() ||
        TwipsToPixels(placed.ReadInteger(L"Height", 0)) != control.Height()) {
        keys.push_back(L"Width");
        keys.push_back(L"Height");
        values.Set(L"Width", PixelsToTwips(control.Width()));
        values.Set(L"Height", PixelsToTwips(control.Height()));
    }
    return ReplaceBlockProperties(text, block, keys, values, resolve, error);
}

} // namespace velt

#pragma once
// The tool that puts pictures into window definitions: it opens a definition file, lists the
// alpha image controls in it, shows the Image Source page for the one selected, and on "Apply"
// writes that control's picture and persisted properties back into the file, leaving every
// other byte of it as it was.
#include "imaging/AlphaImageDefinition.h"
#include "imaging/ppgSourceImage_win.h"
#include "platform/Window_win.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace velt {

class ImageSourceTool final : public Window {
public:
    ImageSourceTool();
    ~ImageSourceTool() override;
    // Creates the window; false when the system refused or the page's definition is missing.
    bool Load();
    // Opens a definition file and selects its first alpha image control; false, with the reason
    // shown in the window, when the file is no definition.
    bool OpenDefinition(const std::filesystem::path& file);
    // Shows the page for the listed control at that position of the list.
    void SelectControl(int position);
    // Applies the page to the selected control and writes the file; false, with the reason
    // shown, when nothing could be written.
    bool Apply();

    ppgSourceImage& Page() { return m_page; }
    HWND ControlList() const { return m_list; }
    HWND ApplyButton() const { return m_apply; }
    HWND OpenButton() const { return m_open; }
    std::wstring Status() const;

protected:
    void OnLoad() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowStatus(const std::wstring& text);
    void ChooseDefinition();

    ppgSourceImage m_page;
    HWND m_list = nullptr;
    HWND m_open = nullptr;
    HWND m_apply = nullptr;
    HWND m_status = nullptr;
    UniqueFont m_font;

    std::filesystem::path m_file;
    std::string m_text;                // the file as last read or written
    std::vector<std::size_t> m_places; // of the listed controls' blocks, in text order
    int m_selected = -1;
    std::unique_ptr<DesignSite> m_site; // outlives m_target, which leaves it when destroyed
    std::unique_ptr<aicAlphaImage> m_target;
};

// The pictures a definition names, from the program's own resources; a name the tool does not
// know gives no picture, so that the definition can still be edited.
std::optional<Bytes> DefinitionPicture(std::wstring_view name);

} // namespace velt

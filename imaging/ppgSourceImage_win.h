#pragma once
// ppgSourceImage: the "Image Source" page through which a designer chooses the picture of an
// alpha image control: from a file, from the clipboard, or none, and for icon and cursor files
// which of their images. It previews the choice and hands it to the control on apply. It is a
// child window of whatever holds it, built from its definition (PPGSOURCEIMAGE).
#include "imaging/SourcePageText.h"
#include "imaging/aicAlphaImage.h"
#include "platform/Form_win.h"
#include "platform/Shape_win.h"
#include "platform/Window_win.h"
#include "platform/WindowlessHost_win.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace velt {

// The common open-file dialog as the page shows it: "Select Image" with the page's filters.
// Nothing when no file was chosen.
std::optional<std::filesystem::path> ChooseImageFile(HWND owner);

class ppgSourceImage final : public Window {
public:
    // Creates the page at (left, top) pixels of parent's client area, from its definition.
    bool Create(HWND parent, int left, int top, const ControlDefinition& definition);

    // The page's events: the designer selected other controls (null: none), and asked for the
    // page's choice to be applied to the target.
    void SelectionChanged(aicAlphaImage* target);
    void ApplyChanges();
    // Whether the page holds a choice not yet applied; Changes reports every change of it.
    bool Changed() const { return m_changed; }
    std::function<void(bool changed)> Changes;
    aicAlphaImage* Target() const { return m_target; }

    // The controls' events, raised by the user or by a caller acting for one.
    void cmdBrowse_Click();
    void cmdClipBoard_Click();
    void Command1_Click();
    void cboIcon_Click();

    // The file the Browse button asks for; the open-file dialog unless replaced.
    std::function<std::optional<std::filesystem::path>(HWND owner)> ChooseFile = ChooseImageFile;

    aicAlphaImage ucAlphaImage1;
    Label lblFormat;
    HWND cboIcon = nullptr;
    HWND cmdBrowse = nullptr;
    HWND cmdClipBoard = nullptr;
    HWND Command1 = nullptr;
    Shape Shape1; // the frame the preview is fitted into

    // What cboIcon shows, for hosts and tests.
    bool IconListVisible() const;
    std::vector<std::wstring> IconLines() const;
    int IconSelection() const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;

private:
    void ResetPreview();
    void FitPreview();
    bool DescribeSource();
    IconChoice ReadChoice() const;
    void MarkChanged(bool changed);
    int PreviewWidth() const { return ucAlphaImage1.Width(); }
    int PreviewHeight() const { return ucAlphaImage1.Height(); }

    aicAlphaImage* m_target = nullptr;
    bool m_changed = false;
    UniqueBrush m_background;
    UniqueFont m_buttonFont;
    UniqueFont m_listFont;
};

} // namespace velt

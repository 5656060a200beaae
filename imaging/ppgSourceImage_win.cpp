#include "imaging/ppgSourceImage_win.h"

#include "platform/Units.h"
#include "platform/WindowHelpers_win.h"

#include <commdlg.h>

namespace velt {

namespace {

constexpr wchar_t kPageClass[] = L"VeltPropertyPage";
constexpr int kNameBuffer = 255;

std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Narrowed(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

HWND CreateControl(HWND parent, const wchar_t* className, DWORD style,
                   const ControlDefinition& definition, HFONT font, int id) {
    const PropertyBag& bag = definition.properties;
    const RECT at = PlacementPixels(bag);
    const std::wstring text = bag.ReadText(L"Caption", L"");
    HWND child = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.left,
                                 at.top, at.right - at.left, at.bottom - at.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (child && font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

enum ControlId { kBrowse = 101, kClipBoard, kClear, kIconList };

} // namespace

std::optional<std::filesystem::path> ChooseImageFile(HWND owner) {
    const std::wstring filters = ImageFileFilters();
    wchar_t name[kNameBuffer + 1] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = kNameBuffer;
    dialog.lpstrTitle = L"Select Image";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    // The name runs to the buffer's first null character.
    const std::wstring chosen(name);
    if (chosen.empty()) return std::nullopt;
    return std::filesystem::path(chosen);
}

bool ppgSourceImage::Create(HWND parent, int left, int top, const ControlDefinition& definition) {
    const PropertyBag& page = definition.properties;
    m_background.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    RegisterWindowClass({kPageClass, CS_DBLCLKS, nullptr});
    WindowSpec spec;
    spec.className = kPageClass;
    spec.caption = page.ReadText(L"Caption", L"Image Source");
    spec.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    spec.exStyle = WS_EX_CONTROLPARENT;
    spec.x = left;
    spec.y = top;
    spec.width = TwipsToPixels(page.ReadInteger(L"ClientWidth", 5520));
    spec.height = TwipsToPixels(page.ReadInteger(L"ClientHeight", 3780));
    spec.parent = parent;
    if (!Window::Create(spec)) return false;

    for (const ControlDefinition& control : definition.controls) {
        const PropertyBag& bag = control.properties;
        if (control.name == L"Shape1") {
            Shape1.Read(control);
        } else if (control.name == L"ucAlphaImage1") {
            const RECT at = PlacementPixels(bag);
            Windowless().Add(ucAlphaImage1, at.left, at.top, at.right - at.left,
                             at.bottom - at.top);
            ucAlphaImage1.ReadProperties(bag);
        } else if (control.name == L"lblFormat") {
            lblFormat.Create(hWnd(), control);
        } else if (control.name == L"cboIcon") {
            m_listFont = CreateDefinedFont(bag);
            cboIcon = CreateControl(hWnd(), L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                                    control, m_listFont.get(), kIconList);
        } else if (control.type == L"CommandButton") {
            if (!m_buttonFont) m_buttonFont = CreateDefinedFont(bag);
            const int id = control.name == L"cmdBrowse"      ? kBrowse
                           : control.name == L"cmdClipBoard" ? kClipBoard
                                                             : kClear;
            HWND button = CreateControl(hWnd(), L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, control,
                                        m_buttonFont.get(), id);
            (id == kBrowse ? cmdBrowse : id == kClipBoard ? cmdClipBoard : Command1) = button;
        }
    }
    // Nothing chosen yet: no picture, no description, no list.
    ResetPreview();
    ShowWindow(cboIcon, SW_HIDE);
    ShowWindow(lblFormat.hWnd(), SW_HIDE);
    return cboIcon && cmdBrowse && cmdClipBoard && Command1 && lblFormat.hWnd();
}

// ---- What the page shows ----

void ppgSourceImage::ResetPreview() {
    ucAlphaImage1.Visible(false);
    ucAlphaImage1.ClearImage();
}

void ppgSourceImage::FitPreview() {
    std::int32_t width = 0, height = 0;
    ucAlphaImage1.GetImageScales(width, height, 2, TwipsToPixels(Shape1.Width()) - 2,
                                 TwipsToPixels(Shape1.Height()) - 2);
    // Centred in the page's own units, as the page is designed.
    const int left = Shape1.Left() + (Shape1.Width() - PixelsToTwips(width)) / 2;
    const int top = Shape1.Top() + (Shape1.Height() - PixelsToTwips(height)) / 2;
    ucAlphaImage1.Move(TwipsToPixels(left), TwipsToPixels(top), width, height);
    ucAlphaImage1.Visible(true);
}

bool ppgSourceImage::DescribeSource() {
    c32bppDIB& image = ucAlphaImage1.ImageObject();
    std::vector<IconSizeRow> rows;
    image.SourceIconSizes(rows);
    SendMessageW(cboIcon, CB_RESETCONTENT, 0, 0);
    IconListView list;
    if (!rows.empty()) {
        ShowWindow(lblFormat.hWnd(), SW_HIDE);
        list = MakeIconList(rows);
        for (const std::string& line : list.lines)
            SendMessageW(cboIcon, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widened(line).c_str()));
        ShowWindow(cboIcon, SW_SHOW);
    } else {
        lblFormat.SetCaption(Widened(
            ImageFormatText(image.Width(), image.Height(), image.ImageType(), image.Alpha())));
        ShowWindow(cboIcon, SW_HIDE);
        ShowWindow(lblFormat.hWnd(), SW_SHOW);
    }
    if (list.lines.empty()) return false;
    SendMessageW(cboIcon, CB_SETCURSEL, static_cast<WPARAM>(list.selected), 0);
    EnableWindow(cboIcon, list.enabled);
    // Choosing a line is the list's click, whoever chooses it: the preview takes that entry.
    cboIcon_Click();
    return true;
}

IconChoice ppgSourceImage::ReadChoice() const {
    if (!IconListVisible()) return {};
    const int selected = IconSelection();
    const std::vector<std::wstring> lines = IconLines();
    if (selected < 0 || selected >= static_cast<int>(lines.size())) return {};
    return ReadIconChoice(Narrowed(lines[static_cast<std::size_t>(selected)]));
}

bool ppgSourceImage::IconListVisible() const {
    return cboIcon && (GetWindowLongW(cboIcon, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::vector<std::wstring> ppgSourceImage::IconLines() const {
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(cboIcon, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(cboIcon, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue; // gone between the two questions: skip it
        std::wstring line(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(cboIcon, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(line.data()));
        line.resize(static_cast<std::size_t>(length));
        lines.push_back(std::move(line));
    }
    return lines;
}

int ppgSourceImage::IconSelection() const {
    return static_cast<int>(SendMessageW(cboIcon, CB_GETCURSEL, 0, 0));
}

void ppgSourceImage::MarkChanged(bool changed) {
    m_changed = changed;
    if (Changes) Changes(changed);
}

// ---- The page's events ----

void ppgSourceImage::SelectionChanged(aicAlphaImage* target) {
    if (!target) {
        m_target = nullptr;
        MarkChanged(false);
        return;
    }
    ResetPreview();
    m_target = target;
    std::vector<std::uint8_t> bytes;
    if (m_target->GetOriginalBytes(bytes)) {
        ucAlphaImage1.LoadImage_FromArray(bytes, PreviewWidth(), PreviewHeight());
        if (!DescribeSource()) FitPreview();
    } else {
        ucAlphaImage1.ClearImage();
    }
    MarkChanged(false);
}

void ppgSourceImage::ApplyChanges() {
    if (!m_target) return;
    std::vector<std::uint8_t> bytes;
    if (ucAlphaImage1.GetOriginalBytes(bytes) && !bytes.empty()) {
        const IconChoice choice = ReadChoice();
        m_target->LoadForPage(bytes, choice.width, choice.height, choice.bitDepth);
    } else {
        m_target->ClearImage();
    }
}

void ppgSourceImage::cboIcon_Click() {
    std::vector<std::uint8_t> bytes;
    ucAlphaImage1.GetOriginalBytes(bytes);
    ResetPreview();
    const IconChoice choice = ReadChoice();
    ucAlphaImage1.LoadImage_FromArray(bytes, choice.width, choice.height, choice.bitDepth);
    FitPreview();
    MarkChanged(true);
}

void ppgSourceImage::cmdBrowse_Click() {
    const std::optional<std::filesystem::path> file = ChooseFile ? ChooseFile(hWnd())
                                                                 : std::nullopt;
    if (!file) return;
    ResetPreview();
    if (ucAlphaImage1.LoadImage_FromFile(*file, PreviewWidth(), PreviewHeight())) {
        if (!DescribeSource()) FitPreview();
    }
    MarkChanged(true);
}

void ppgSourceImage::cmdClipBoard_Click() {
    ResetPreview();
    if (!ucAlphaImage1.LoadImage_FromClipboard()) {
        MessageBoxW(hWnd(), L"The clipboard contents are not a valid image format", L"Error",
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    FitPreview();
    MarkChanged(true);
}

void ppgSourceImage::Command1_Click() {
    ResetPreview();
    MarkChanged(true);
}

// ---- The window ----

void ppgSourceImage::OnPaint(HDC dc) {
    RECT client{};
    GetClientRect(hWnd(), &client);
    FillRect(dc, &client, m_background.get());
    Shape1.Draw(dc);
}

LRESULT ppgSourceImage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == kBrowse && code == BN_CLICKED) cmdBrowse_Click();
        else if (id == kClipBoard && code == BN_CLICKED) cmdClipBoard_Click();
        else if (id == kClear && code == BN_CLICKED) Command1_Click();
        else if (id == kIconList && code == CBN_SELCHANGE) cboIcon_Click();
        else break;
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(m_background.get());
    }
    }
    return Window::OnMessage(message, wParam, lParam);
}

} // namespace velt

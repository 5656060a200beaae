#include "tools/imgpage/ImageSourceTool_win.h"

#include "platform/DefinitionEdit.h"
#include "platform/Files.h"
#include "platform/Form_win.h"
#include "platform/Resources_win.h"
#include "platform/WindowHelpers_win.h"

#include <commdlg.h>

namespace velt {

namespace {

constexpr wchar_t kToolClass[] = L"VeltImageSourceTool";
constexpr wchar_t kTitle[] = L"Image Source";
enum ControlId { kList = 201, kOpen, kApply };

// Layout in pixels: the list of controls on the left, the page beside it, Apply below the page.
constexpr int kMargin = 8;
constexpr int kListWidth = 180;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 25;

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, RECT at, int id,
           HFONT font) {
    HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                                 at.right - at.left, at.bottom - at.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (child && font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

std::wstring Widened(std::string_view text) {
    std::wstring out;
    for (char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

} // namespace

std::optional<Bytes> DefinitionPicture(std::wstring_view name) {
    std::optional<Bytes> bytes = ResourceBytes(name);
    return bytes ? bytes : Bytes{};
}

ImageSourceTool::ImageSourceTool() = default;

ImageSourceTool::~ImageSourceTool() {
    // The page refers to the target: it forgets it before the target goes.
    m_page.SelectionChanged(nullptr);
    Unload();
}

bool ImageSourceTool::Load() {
    RegisterWindowClass({kToolClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    return Create({kToolClass, kTitle,
                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN}) &&
           m_page.hWnd();
}

void ImageSourceTool::OnLoad() {
    std::optional<ControlDefinition> page = LoadWindowDefinition(L"PPGSOURCEIMAGE");
    if (!page) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font.reset(CreateFontIndirectW(&metrics.lfMessageFont));

    const int pageLeft = kMargin * 2 + kListWidth;
    if (!m_page.Create(hWnd(), pageLeft, kMargin, *page)) return;
    RECT pageRect{};
    GetWindowRect(m_page.hWnd(), &pageRect);
    const int pageWidth = pageRect.right - pageRect.left;
    const int pageHeight = pageRect.bottom - pageRect.top;
    const int buttonsTop = kMargin * 2 + pageHeight;
    const int clientWidth = pageLeft + pageWidth + kMargin;

    m_list = Child(hWnd(), L"LISTBOX", nullptr,
                   WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                   {kMargin, kMargin, kMargin + kListWidth, kMargin + pageHeight}, kList,
                   m_font.get());
    m_open = Child(hWnd(), L"BUTTON", L"Open...", BS_PUSHBUTTON | WS_TABSTOP,
                   {kMargin, buttonsTop, kMargin + kButtonWidth, buttonsTop + kButtonHeight}, kOpen,
                   m_font.get());
    m_apply = Child(hWnd(), L"BUTTON", L"Apply", BS_PUSHBUTTON | WS_TABSTOP,
                    {clientWidth - kMargin - kButtonWidth, buttonsTop, clientWidth - kMargin,
                     buttonsTop + kButtonHeight},
                    kApply, m_font.get());
    m_status = Child(hWnd(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS,
                     {kMargin * 2 + kButtonWidth, buttonsTop + 5,
                      clientWidth - kMargin * 2 - kButtonWidth, buttonsTop + kButtonHeight},
                     0, m_font.get());
    EnableWindow(m_apply, FALSE);
    m_page.Changes = [this](bool changed) { EnableWindow(m_apply, changed && m_target); };

    RECT outer{0, 0, clientWidth, buttonsTop + kButtonHeight + kMargin};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(hWnd(), GWL_STYLE)), FALSE, 0);
    SetWindowPos(hWnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreOnScreen();
    ShowStatus(L"Open a window definition (.form) to edit its alpha image controls.");
}

void ImageSourceTool::ShowStatus(const std::wstring& text) {
    if (m_status) SetWindowTextW(m_status, text.c_str());
}

std::wstring ImageSourceTool::Status() const { return WindowText(m_status); }

bool ImageSourceTool::OpenDefinition(const std::filesystem::path& file) {
    Bytes bytes;
    if (!ReadWholeFile(file, bytes)) {
        ShowStatus(L"Cannot read " + file.wstring());
        return false;
    }
    std::string text(bytes.begin(), bytes.end());
    std::string error;
    std::optional<ControlDefinition> window = ParseWindowDefinition(text, DefinitionPicture,
                                                                    &error);
    if (!window) {
        ShowStatus(file.filename().wstring() + L" is not a window definition: " + Widened(error));
        return false;
    }
    m_page.SelectionChanged(nullptr);
    m_target.reset();
    m_file = file;
    m_text = std::move(text);
    m_places = AlphaImageBlocks(*window);
    m_selected = -1;
    SetCaption(std::wstring(kTitle) + L" - " + file.filename().wstring());

    SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
    const std::vector<const ControlDefinition*> blocks = BlocksInTextOrder(*window);
    for (std::size_t place : m_places) {
        const ControlDefinition& block = *blocks[place];
        std::wstring entry = block.name;
        if (block.properties.Contains(L"Index"))
            entry += L"(" + std::to_wstring(block.properties.ReadInteger(L"Index", 0)) + L")";
        SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    if (m_places.empty()) {
        ShowStatus(file.filename().wstring() + L" has no alpha image control.");
        EnableWindow(m_apply, FALSE);
        return true;
    }
    SelectControl(0);
    return true;
}

void ImageSourceTool::SelectControl(int position) {
    if (position < 0 || position >= static_cast<int>(m_places.size())) return;
    std::optional<ControlDefinition> window = ParseWindowDefinition(m_text, DefinitionPicture);
    if (!window) return; // read and written only through the checked paths: cannot happen
    m_page.SelectionChanged(nullptr);
    m_target.reset();
    m_site = std::make_unique<DesignSite>();
    m_target = std::make_unique<aicAlphaImage>();
    m_site->Load(*m_target,
                 *BlocksInTextOrder(*window)[m_places[static_cast<std::size_t>(position)]]);
    m_selected = position;
    SendMessageW(m_list, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
    m_page.SelectionChanged(m_target.get());
    EnableWindow(m_apply, FALSE);
    ShowStatus(m_file.filename().wstring());
}

bool ImageSourceTool::Apply() {
    if (!m_target || m_selected < 0) return false;
    m_page.ApplyChanges();
    std::string error;
    std::optional<std::string> text = StoreAlphaImage(
        m_text, m_places[static_cast<std::size_t>(m_selected)], *m_target, DefinitionPicture,
        &error);
    if (!text) {
        ShowStatus(L"Not written: " + Widened(error));
        return false;
    }
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text->data()),
                                              text->size());
    const std::span<const std::uint8_t> parts[] = {bytes};
    if (!ReplaceFileWith(m_file, parts)) {
        ShowStatus(L"Cannot write " + m_file.wstring());
        return false;
    }
    m_text = std::move(*text);
    ShowStatus(L"Written to " + m_file.filename().wstring());
    EnableWindow(m_apply, FALSE);
    return true;
}

void ImageSourceTool::ChooseDefinition() {
    wchar_t name[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hWnd();
    dialog.lpstrFilter = L"Window definitions\0*.form\0All Files\0*.*\0";
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = L"Open Window Definition";
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&dialog)) OpenDefinition(name);
}

LRESULT ImageSourceTool::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == kList && code == LBN_SELCHANGE) {
            const int position = static_cast<int>(SendMessageW(m_list, LB_GETCURSEL, 0, 0));
            if (position != m_selected) SelectControl(position);
            return 0;
        }
        if (id == kOpen && code == BN_CLICKED) {
            ChooseDefinition();
            return 0;
        }
        if (id == kApply && code == BN_CLICKED) {
            Apply();
            return 0;
        }
        break;
    }
    case WM_CLOSE: Unload(); return 0;
    case WM_DESTROY: PostQuitMessage(0); break;
    }
    return Window::OnMessage(message, wParam, lParam);
}

} // namespace velt

#include "settings/FrmConfig_win.h"

#include "platform/App_win.h"
#include "platform/FileList.h"
#include "platform/Ini_win.h"
#include "platform/Resources_win.h"
#include "platform/Units.h"
#include "platform/WindowlessHost_win.h"
#include "settings/FrmConfig.h"
#include "settings/Settings.h"
#include "settings/StartupValue.h"

namespace velt {

namespace {

constexpr int kSlots = 4;
constexpr std::int32_t kThumbnailOpacity = 80;
constexpr std::int32_t kPointerMargin = 120; // twips between the frame and its thumbnail

void Mark(ctlVistorButton& button) {
    button.Marked = true;
    button.Caption(mrk(button.Caption()));
}

} // namespace

FrmConfig::FrmConfig(Program program) : m_program(std::move(program)) {}

FrmConfig::~FrmConfig() { Unload(); }

std::wstring FrmConfig::ConfigFile() const { return AppPath() + L"\\Config.ini"; }

bool FrmConfig::Open() {
    return OpenOrFront([this] { return Load(); });
}

bool FrmConfig::Load() {
    std::optional<ControlDefinition> definition = LoadWindowDefinition(L"FrmConfig");
    if (!definition) return false;
    LoadSurfacePicture(m_back, definition->properties.ReadBytes(L"Picture"), BackColor());
    if (!CreateFromDefinition(*definition, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU |
                                               WS_MINIMIZEBOX | WS_CLIPCHILDREN))
        return false;

    // Controls in the definition's order; array elements by their Index.
    for (const ControlDefinition& control : definition->controls) {
        int index = control.properties.ReadInteger(L"Index", 0);
        if (control.name == L"Btn" && index >= 0 && index < 2)
            Btn[static_cast<std::size_t>(index)].Create(hWnd(), control);
        else if (control.name == L"abtn") abtn2.Create(hWnd(), control);
        else if (control.name == L"Ans" && index >= 0 && index < 3)
            Ans[static_cast<std::size_t>(index)].Create(hWnd(), control);
        else if (control.name == L"Pannel" && index >= 0 && index < 2) {
            PictureBox& page = Pannel[static_cast<std::size_t>(index)];
            page.Create(hWnd(), control);
            for (const ControlDefinition& inner : control.controls) {
                if (inner.name == L"Label1") Label1.Create(page.hWnd(), inner);
                else if (inner.name == L"Label7") Label7.Create(page.hWnd(), inner);
                else if (inner.name == L"flst")
                    flstPattern = inner.properties.ReadText(L"Pattern", L"*.*");
                else if (inner.name == L"skn") m_sknTemplate = inner;
                else if (inner.name == L"Pointer") Pointer.Read(inner), page.AddShape(Pointer);
                else if (inner.name == L"Shape1") Shape1.Read(inner), page.AddShape(Shape1);
                else if (inner.name == L"Shape2") Shape2.Read(inner), page.AddShape(Shape2);
                else if (inner.name == L"KeyControl") KeyControl(0).Create(page.hWnd(), inner);
                else if (inner.name == L"Ctrl") Ctrl(0).Create(page.hWnd(), inner);
                else if (inner.name == L"Shft") Shft(0).Create(page.hWnd(), inner);
                else if (inner.name == L"Rus") Rus.Create(page.hWnd(), inner);
                else if (inner.name == L"cst") cst.Create(page.hWnd(), inner);
            }
        }
    }
    CreateThumbnailTemplate();

    Btn[0].Click = [this] { Btn_Click(0); };
    Btn[1].Click = [this] { Btn_Click(1); };
    abtn2.Click = [this] {
        if (m_program.ShowAbout) m_program.ShowAbout();
        Unload();
    };
    Ans[0].Click = [this] { Apply(false); };
    Ans[1].Click = [this] { Apply(true); };
    Ans[2].Click = [this] { Unload(); };
    Rus.Click = [this] { DM(Rus); };
    cst.Click = [this] { DM(cst); };

    SetImg();
    GetConfigs();
    ListSkins();
    return true;
}

void FrmConfig::SetImg() {
    if (m_back.Empty()) return;
    // Each page shows the part of the window's picture under page 0, so both look transparent.
    const PictureBox& first = Pannel[0];
    int left = TwipsToPixels(first.LeftTwips());
    int top = TwipsToPixels(first.TopTwips());
    int width = TwipsToPixels(first.WidthTwips());
    int height = TwipsToPixels(first.HeightTwips());
    for (PictureBox& page : Pannel) {
        Surface copy;
        if (!copy.Resize(width, height, BackColor())) continue;
        BitBlt(copy.dc(), 0, 0, width, height, m_back.dc(), left, top, SRCCOPY);
        page.SetPicture(copy);
    }
}

void FrmConfig::GetConfigs() {
    const std::wstring file = ConfigFile();
    if (m_program.Glass)
        m_program.Glass(SkinPath(AppPath(), ReadIni(L"Main", L"Background", file)));
    SystemRunKeys& fallback = m_systemRun;
    if (StartupIsOn(m_program.Run ? *m_program.Run : fallback)) Mark(Rus);
    if (ReadIni(L"Main", L"Corner", file) == L"True") Mark(cst);
    for (int slot = 0; slot < kSlots; ++slot) {
        std::wstring number = std::to_wstring(slot);
        // Only slot 0 has pickers; the others are skipped.
        if (velt::KeyControl* picker = KeyControl.Get(static_cast<std::size_t>(slot)))
            picker->Setkey(ReadIni(L"Keys", L"Control" + number, file));
        if (velt::KeyControl* picker = Ctrl.Get(static_cast<std::size_t>(slot)))
            picker->Setkey(ReadIni(L"Keys", L"Shift" + number, file));
        if (velt::KeyControl* picker = Shft.Get(static_cast<std::size_t>(slot)))
            picker->Setkey(ReadIni(L"Keys", L"Alt" + number, file));
    }
}

void FrmConfig::DM(ctlVistorButton& button) {
    if (button.Marked) {
        button.Marked = false;
        button.Caption(demrk(button.Caption()));
    } else {
        Mark(button);
    }
}

void FrmConfig::Btn_Click(int index) {
    if (index < 0 || index > 1) return;
    PictureBox& page = Pannel[static_cast<std::size_t>(index)];
    page.ZOrder();
    page.MoveTwips(Pannel[0].LeftTwips(), Pannel[0].TopTwips(), Pannel[0].WidthTwips(),
                   Pannel[0].HeightTwips());
    page.Show();
    // The command buttons overlap the pages' lower edge.
    for (ctlVistorButton& button : Ans) button.ZOrder();
}

void FrmConfig::Apply(bool close) {
    const std::wstring file = ConfigFile();
    PickedKeys keys;
    auto picked = [](ControlArray<velt::KeyControl>& array) -> std::optional<std::int16_t> {
        std::int16_t code = 0;
        velt::KeyControl* picker = array.Get(0);
        if (picker && picker->GetKey(code)) return code;
        return std::nullopt; // no code yet: the stored key stays
    };
    keys[0] = picked(KeyControl);
    keys[1] = picked(Ctrl);
    keys[2] = picked(Shft);
    for (const IniWrite& write : ApplyWrites(cst.Marked, keys, SelectedSkin))
        WriteIni(write.section, write.key, write.value, file);
    WriteStartup(m_program.Run ? *m_program.Run : m_systemRun,
                 StartupData(AppPath(), ExeName(), Rus.Marked));
    if (m_program.LoadSettings) m_program.LoadSettings();
    if (!hWnd()) return; // the reload closed the window
    SetImg();
    if (close) Unload();
}

void FrmConfig::CreateThumbnailTemplate() {
    m_sknPlace = PlacementPixels(m_sknTemplate.properties);
    const RECT at = m_sknPlace;
    // A new thumbnail is a hidden copy of the template on the Appearance page.
    skn.SetCopy([this, at](aicAlphaImage&, aicAlphaImage& copy) {
        copy.Visible(false);
        copy.ReadProperties(m_sknTemplate.properties);
        Pannel[0].Windowless().Add(copy, at.left, at.top, at.right - at.left, at.bottom - at.top);
    });
    aicAlphaImage& model = skn(0);
    model.Visible(false);
    model.ReadProperties(m_sknTemplate.properties);
    Pannel[0].Windowless().Add(model, at.left, at.top, at.right - at.left, at.bottom - at.top);
}

void FrmConfig::ListSkins() {
    std::vector<std::wstring> names = ListFiles(AppPath() + L"\\skin", flstPattern);
    const PropertyBag& bag = m_sknTemplate.properties;
    ThumbnailGrid grid{{bag.ReadInteger(L"Left", 0), bag.ReadInteger(L"Top", 0)},
                       bag.ReadInteger(L"Width", 0),
                       bag.ReadInteger(L"Height", 0),
                       Pannel[0].WidthTwips()};
    std::vector<ThumbnailPlace> places = LayOutThumbnails(grid, names.size());
    m_sknPlaces.assign(1, grid.origin);
    const std::wstring stored = SkinPath(AppPath(), ReadIni(L"Main", L"Background", ConfigFile()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t index = i + 1; // element 0 is the hidden template
        aicAlphaImage* thumb = skn.Load(index);
        if (!thumb) continue;
        m_sknPlaces.resize(index + 1, grid.origin);
        m_sknPlaces[index] = places[i];
        thumb->Move(TwipsToPixels(places[i].left), TwipsToPixels(places[i].top), thumb->Width(),
                    thumb->Height());
        const std::wstring path = AppPath() + L"\\skin\\" + names[i];
        thumb->LoadImage_FromFile(path);
        skn.Tag(index) = names[i];
        thumb->Opacity(kThumbnailOpacity);
        thumb->Visible(true);
        thumb->Click = [this, index] { skn_Click(index); };
        thumb->MouseEnter = [thumb] { thumb->Opacity(100); };
        thumb->MouseExit = [thumb] { thumb->FadeInOut(kThumbnailOpacity); };
        if (SamePathIgnoringCase(path, stored)) skn_Click(index);
    }
}

void FrmConfig::skn_Click(std::size_t index) {
    if (!skn.Get(index) || index >= m_sknPlaces.size()) return;
    Pointer.Move(m_sknPlaces[index].left - kPointerMargin, m_sknPlaces[index].top - kPointerMargin);
    SelectedSkin = skn.Tag(index);
    InvalidateRect(Pannel[0].hWnd(), nullptr, FALSE);
}

void FrmConfig::OnUnload() { skn.UnloadAll(); }

LRESULT FrmConfig::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        auto dc = reinterpret_cast<HDC>(wParam);
        RECT client{};
        GetClientRect(hWnd(), &client);
        SetBkColor(dc, BackColor());
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
        if (!m_back.Empty())
            BitBlt(dc, 0, 0, m_back.Width(), m_back.Height(), m_back.dc(), 0, 0, SRCCOPY);
        return 1;
    }
    case WM_CLOSE: // the close box: nothing not applied is kept
        Unload();
        return 0;
    }
    return Form::OnMessage(message, wParam, lParam);
}

} // namespace velt

#pragma once
// FrmConfig: the configuration window, built from its definition. The Appearance page picks the
// overview's skin from the skin folder's thumbnails; the Config page holds the overview hotkey's
// three pickers and the "Run On Startup" and "Corner Sensitive" toggles. Applying writes
// Config.ini and the Run value and reloads the settings into the running program.
#include "controls/KeyControl_win.h"
#include "controls/ctlVistorButton_win.h"
#include "imaging/aicAlphaImage.h"
#include "platform/ControlArray.h"
#include "platform/Form_win.h"
#include "platform/PictureBox_win.h"
#include "platform/Shape_win.h"
#include "platform/Surface_win.h"
#include "settings/FrmConfig.h"
#include "settings/RegKeys_win.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace velt {

class FrmConfig final : public Form {
public:
    // What the window asks of the running program.
    struct Program {
        std::function<void()> LoadSettings;                      // reload Config.ini
        std::function<void(const std::wstring& skinPath)> Glass; // show this skin in the overview
        std::function<void()> ShowAbout;
        RunKeys* Run = nullptr; // the system's Run keys when null
    };

    explicit FrmConfig(Program program);
    ~FrmConfig() override;

    // Creates the window and shows it, not modal; an open window is only brought to the front.
    bool Open();
    bool IsOpen() const { return hWnd() != nullptr; }

    // The skin picked last; kept from one opening to the next.
    std::wstring SelectedSkin;

    // Controls.
    std::array<ctlVistorButton, 2> Btn; // page buttons "Appearance" and "Config"
    ctlVistorButton abtn2;              // "About", element 2 of its array
    std::array<ctlVistorButton, 3> Ans; // "Apply and Save", "OK", "Cancel"
    std::array<PictureBox, 2> Pannel;
    Label Label1, Label7;
    std::wstring flstPattern; // the hidden file list's pattern
    ControlArray<aicAlphaImage> skn;
    Shape Pointer, Shape1, Shape2;
    ControlArray<velt::KeyControl> KeyControl, Ctrl, Shft; // the hotkey pickers, slot 0 only
    ctlVistorButton Rus, cst;

    // The window's own operations.
    void SetImg();
    void GetConfigs();
    void DM(ctlVistorButton& button);
    void Btn_Click(int index);
    void Apply(bool close);
    void skn_Click(std::size_t index);

protected:
    void OnUnload() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Load();
    void ListSkins();
    void CreateThumbnailTemplate();
    std::wstring ConfigFile() const;

    Program m_program;
    SystemRunKeys m_systemRun;
    Surface m_back; // the window's picture
    ControlDefinition m_sknTemplate;
    RECT m_sknPlace{};                       // the template's place on its page, pixels
    std::vector<ThumbnailPlace> m_sknPlaces; // each thumbnail's place, twips, by index
};

} // namespace velt

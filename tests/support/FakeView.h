#pragma once
// The main window as a recorder: what the engine asked of it, in order.
#include "engine/Form1View.h"

#include <functional>
#include <string>
#include <vector>

namespace velt::testing {

class FakeView : public Form1View {
public:
    WindowId Handle() override { return handle; }
    bool Visible() override { return visible; }
    void Show() override {
        log.push_back(L"Show");
        visible = true;
    }
    void Hide() override {
        log.push_back(L"Hide");
        visible = false;
    }
    void ZOrder() override { log.push_back(L"ZOrder"); }
    void MakeTopmost() override { log.push_back(L"MakeTopmost"); }
    void DoEvents() override {
        log.push_back(L"DoEvents");
        if (onDoEvents) onDoEvents();
    }
    void Iconize(int index, const std::vector<WindowId>&) override {
        log.push_back(L"Iconize " + std::to_wstring(index));
    }
    void BlurBkg() override { log.push_back(L"BlurBkg"); }
    void PlacePointer(int index) override {
        log.push_back(L"Pointer " + std::to_wstring(index));
        pointer = index;
    }
    void HoverHighlight() override { ++hoverRuns; }
    void CheckDesktopEntry(int index, bool checked) override {
        checks.at(static_cast<size_t>(index)) = checked;
    }
    void RemoveTrayIcon() override { log.push_back(L"RemoveTrayIcon"); }
    bool PromptVisible() override { return promptVisible; }
    std::wstring InputDialog(const std::wstring& caption, const std::wstring& prompt) override {
        log.push_back(L"InputDialog " + caption + L" / " + prompt);
        if (onPrompt) onPrompt();
        return answer;
    }

    int CheckedCount() const {
        int count = 0;
        for (bool c : checks) count += c;
        return count;
    }

    WindowId handle = 0x42;
    bool visible = false;
    bool promptVisible = false;
    std::wstring answer;
    std::function<void()> onPrompt;
    std::function<void()> onDoEvents;
    std::vector<std::wstring> log;
    std::vector<bool> checks = std::vector<bool>(9, false);
    int pointer = -1;
    int hoverRuns = 0;
};

} // namespace velt::testing

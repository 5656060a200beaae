#pragma once
#include "engine/Form1.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeView.h"

#include <gtest/gtest.h>

namespace velt::testing {

class EngineTest : public ::testing::Test {
protected:
    FakeDesktop desktop;
    FakeView view;
    Settings settings;
    Form1 form{desktop, view, settings};

    // Switches to slot from the current one as the poll would see it: list first, then switch.
    void Poll() { form.Timer1_Timer(); }
    std::vector<WindowId> Current() { return form.Dex[static_cast<size_t>(form.CurrentSlot)]; }
};

} // namespace velt::testing

#include "tests/controls/ButtonHost_win.h"

#include <gtest/gtest.h>

#include <ole2.h>

namespace velt::testing {
namespace {

class ButtonHelpersTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.Place(button);
        host.log.clear();
    }
    // How many pixels of the Up face in the square (x, y, size) differ from kUp.
    int Stamped(int x, int y, int size) {
        UniqueBitmap up = button.ImgUp();
        int changed = 0;
        for (int j = y; j < y + size; ++j)
            for (int i = x; i < x + size; ++i) changed += PixelOf(up.get(), i, j) != kUp;
        return changed;
    }

    FakeTimers timers;
    ButtonHost host;
    ctlVistorButton button{timers};
};

TEST_F(ButtonHelpersTest, GetBkgBlendsTheScreenAtHalfStrengthOverTheUpFace) {
    // The host's plain background at (200, 60) in the host, clear of the button.
    int x = (kHostAt.x + 200) * 15, y = (kHostAt.y + 60) * 15;
    button.GetBkg(static_cast<std::int16_t>(x), static_cast<std::int16_t>(y));
    COLORREF expected = Blended(kHostColour, kUp, 128);
    // A plain colour stays plain under the blur.
    EXPECT_TRUE(Near(PixelOf(button.ImgUp().get(), 1, 1), expected, 3));
    EXPECT_TRUE(Near(PixelOf(button.ImgUp().get(), 20, 10), expected, 3));
    EXPECT_TRUE(Near(Shown(button, 20, 10), expected, 3));
}

TEST_F(ButtonHelpersTest, DrawStampsTheIconOfTheIndexOnEveryFace) {
    button.Draw(L"shell32.dll,3", 2, 2, 16);
    EXPECT_GT(Stamped(2, 2, 16), 0);
    EXPECT_EQ(Stamped(20, 2, 16), 0); // outside the stamp
    EXPECT_NE(PixelOf(button.ImgOver().get(), 10, 10), kOver);
}

TEST_F(ButtonHelpersTest, DrawChecksTheFileWithoutItsIndex) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    button.Draw(std::wstring(system) + L"\\shell32.dll,3", 2, 2, 16);
    EXPECT_GT(Stamped(2, 2, 16), 0);
}

TEST_F(ButtonHelpersTest, DrawWithAMissingFileDoesNothing) {
    button.Draw(L"C:\\no\\such\\library.dll,3", 2, 2, 16);
    button.Draw(L"C:\\no\\such\\library.dll", 2, 2, 16);
    EXPECT_EQ(Stamped(0, 0, 20), 0);
}

// A drag source that drops at once, wherever the cursor is.
class DropAtOnce final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        return escape ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Data that offers nothing: the drop itself is what is tested.
class NoData final : public IDataObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override {
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
};

TEST_F(ButtonHelpersTest, DataDroppedAfterStartDDpRaisesOLEDragDrop) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    IDataObject* dropped = nullptr;
    std::int32_t effect = -1;
    float dropX = -1;
    button.OLEDragDrop = [&](IDataObject* data, std::int32_t& e, std::int16_t&, std::int16_t&,
                             float& x, float&) {
        dropped = data;
        effect = e;
        dropX = x;
    };
    NoData data;
    DropAtOnce source;
    DWORD result = DROPEFFECT_NONE;

    MoveCursor(host.ScreenOf(10, 10));
    DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &result);
    EXPECT_EQ(dropped, nullptr); // not a drop target yet

    button.StartDDp();
    DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &result);
    EXPECT_EQ(dropped, &data);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(result, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(dropX, 150.0f); // 10 pixels in twips

    button.Unload(); // revokes the target before OLE goes
    OleUninitialize();
}

} // namespace
} // namespace velt::testing

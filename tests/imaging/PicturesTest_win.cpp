#include "DrawTestSupport_win.h"

#include "imaging/modParsers_win.h"
#include "platform/ComRef_win.h"

#include <gtest/gtest.h>

#include <olectl.h>

namespace velt::test {
namespace {

TEST(Pictures, ResourceBytesLoadAsAStream) {
    c32bppDIB image;
    ASSERT_TRUE(image.LoadPicture_Resource(L"SAMPLE", L"PNG", nullptr));
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.Height(), 4);
    EXPECT_EQ(image.ImageType(), itPNG);
    EXPECT_TRUE(image.Alpha());
    EXPECT_FALSE(image.LoadPicture_Resource(L"MISSING", L"PNG", nullptr));
    EXPECT_EQ(image.Handle(), nullptr);
}

TEST(Pictures, BytesAndHandlesBecomeStandardPictures) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(6, 3));
    std::vector<uint8_t> opaque(6 * 3 * 4, 0xFF);
    ASSERT_TRUE(image.SetDIBbits(opaque));
    std::vector<uint8_t> bmp;
    ASSERT_TRUE(image.SaveToStream(bmp));
    ComRef<IPicture> picture(ArrayToPicture(bmp));
    ASSERT_TRUE(picture);
    SHORT type = PICTYPE_NONE;
    picture->get_Type(&type);
    EXPECT_EQ(type, PICTYPE_BITMAP);
    OLE_XSIZE_HIMETRIC width = 0;
    picture->get_Width(&width);
    EXPECT_GT(width, 0);
    EXPECT_EQ(ArrayToPicture(std::vector<uint8_t>(64, 0x42)), nullptr);
    EXPECT_EQ(ArrayToPicture({}), nullptr);

    UniqueBitmap owned(CreateBitmap(2, 2, 1, 32, nullptr));
    UniqueBitmap borrowed(CreateBitmap(2, 2, 1, 32, nullptr));
    HBITMAP given = owned.get();
    ComRef<IPicture> owner(HandleToPicture(owned.release(), PICTYPE_BITMAP));
    ComRef<IPicture> borrower(HandleToPicture(borrowed.get(), PICTYPE_BITMAP, false));
    ASSERT_TRUE(owner);
    ASSERT_TRUE(borrower);
    owner.reset();
    borrower.reset();
    EXPECT_EQ(GetObjectType(given), 0u);
    EXPECT_EQ(GetObjectType(borrowed.get()), static_cast<DWORD>(OBJ_BITMAP));
}

// Whatever becomes of the picture made over it, a handle passed in stays the caller's.
TEST(Pictures, LoadingByHandleLeavesTheHandleAlive) {
    UniqueBitmap bitmap(CreateBitmap(3, 3, 1, 32, nullptr));
    UniqueIcon icon(CreateIcon(nullptr, 16, 16, 1, 1, std::vector<uint8_t>(32, 0xFF).data(),
                               std::vector<uint8_t>(32, 0).data()));
    c32bppDIB image;
    image.LoadPicture_ByHandle(bitmap.get());
    image.LoadPicture_ByHandle(icon.get());
    EXPECT_EQ(GetObjectType(bitmap.get()), static_cast<DWORD>(OBJ_BITMAP));
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon.get(), &info));
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    EXPECT_FALSE(image.LoadPicture_ByHandle(nullptr));
}

} // namespace
} // namespace velt::test

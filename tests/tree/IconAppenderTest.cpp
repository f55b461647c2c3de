// Appending many icons to an image list with one growth of the list, against
// the platform's image list. An icon the list refuses takes no place; icons
// of one key share one picture.

#include "framework/ImageList.h"
#include "tests/support/WineTest.h"
#include "tests/tree/TreeProbe.h"

#include <gtest/gtest.h>

#include <vector>

using tree_probe::Pixels;

namespace {

constexpr int kSide = 16;

COLORREF ShadeAt(const fw::ImageList& list, int index) {
    const std::vector<DWORD> pixels = Pixels(list.Get(), index);
    if (pixels.empty()) return CLR_INVALID;
    const DWORD pixel = pixels[pixels.size() / 2];  // 0x00RRGGBB
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

fw::UniqueIcon SolidIcon(COLORREF color) {
    const fw::UniqueDC screen(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    const fw::UniqueBitmap image(::CreateCompatibleBitmap(screen.get(), kSide, kSide));
    const fw::UniqueBitmap mask(::CreateBitmap(kSide, kSide, 1, 1, nullptr));
    const fw::UniqueDC dc(::CreateCompatibleDC(nullptr));
    const HGDIOBJ previous = ::SelectObject(dc.get(), image.get());
    const RECT all{0, 0, kSide, kSide};
    const fw::UniqueHandle<fw::HandleTraits<HBRUSH, nullptr, ::DeleteObject>> brush(::CreateSolidBrush(color));
    ::FillRect(dc.get(), &all, brush.get());
    ::SelectObject(dc.get(), mask.get());
    ::PatBlt(dc.get(), 0, 0, kSide, kSide, BLACKNESS);  // all opaque
    ::SelectObject(dc.get(), previous);
    ICONINFO info{TRUE, 0, 0, mask.get(), image.get()};
    return fw::UniqueIcon(::CreateIconIndirect(&info));
}

class IconAppender : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(list.Create(kSide, kSide, ILC_COLOR24, 5, 5)); }
    fw::ImageList list;
};

// The same appends end with the same list whether the list can grow at once
// and be cut, or (common controls 4.00) only take one icon at a time.
void AppendAroundTheRoomMade(const fw::ImageList& list) {
    const fw::UniqueIcon green = SolidIcon(RGB(0, 255, 0));
    for (int i = 0; i < 3; ++i) ASSERT_EQ(list.AddIcon(green.get()), i);
    const fw::UniqueIcon red = SolidIcon(RGB(255, 0, 0));
    const fw::UniqueIcon blue = SolidIcon(RGB(0, 0, 255));
    {
        fw::IconAppender appender(list, 60);
        EXPECT_EQ(appender.Append(red.get()), 3);
        EXPECT_EQ(appender.Append(nullptr), -1) << "a refused icon takes no place";
        EXPECT_EQ(appender.Append(blue.get()), 4);
    }
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(ShadeAt(list, 2), RGB(0, 255, 0));
    EXPECT_EQ(ShadeAt(list, 3), RGB(255, 0, 0));
    EXPECT_EQ(ShadeAt(list, 4), RGB(0, 0, 255));

    {
        fw::IconAppender appender(list, 1);
        EXPECT_EQ(appender.Append(blue.get()), 5);
        EXPECT_EQ(appender.Append(red.get()), 6) << "beyond the room made, one append at a time";
    }
    ASSERT_EQ(list.Count(), 7);
    EXPECT_EQ(ShadeAt(list, 6), RGB(255, 0, 0));
    EXPECT_EQ(list.AddIcon(blue.get()), 7);

    {
        fw::IconAppender appender(list, 4);
        EXPECT_EQ(appender.Append(red.get(), 1), 8);
        EXPECT_EQ(appender.Append(nullptr, 2), -1);
        EXPECT_EQ(appender.Append(blue.get(), 2), 9) << "a refused icon's key draws nothing";
        EXPECT_EQ(appender.Append(red.get(), 1), 10);
    }
    ASSERT_EQ(list.Count(), 11);
    EXPECT_EQ(ShadeAt(list, 8), RGB(255, 0, 0));
    EXPECT_EQ(ShadeAt(list, 9), RGB(0, 0, 255));
    EXPECT_EQ(ShadeAt(list, 10), RGB(255, 0, 0)) << "the key's picture, copied";
}

TEST_F(IconAppender, GrowsTheListOnceAndCutsWhatIsLeft) {
    AppendAroundTheRoomMade(list);
}

TEST_F(IconAppender, WithoutImageListMovesAppendsOneAtATime) {
    const tree_probe::WithoutImageListMoves bareWindows95;
    AppendAroundTheRoomMade(list);
}

}  // namespace

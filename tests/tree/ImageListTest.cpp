// The image list operations the tree relies on, against the platform's image
// list: appending many icons with one growth, and closing up the list after
// a group of images leaves it.

#include "framework/ImageList.h"
#include "tests/support/WineTest.h"
#include "tests/tree/TreeProbe.h"
#include "tree/ImageRemoval.h"

#include <gtest/gtest.h>

#include <vector>

using tree_probe::Pixels;

namespace {

constexpr int kSide = 16;

COLORREF Shade(int number) {
    return RGB(10 + 20 * number, 255 - 20 * number, 100 + number);
}

// `count` images, each one solid shade.
void AddShades(const fw::ImageList& list, int count) {
    const fw::UniqueDC dc(::CreateCompatibleDC(nullptr));
    const fw::UniqueDC screen(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    const fw::UniqueBitmap strip(::CreateCompatibleBitmap(screen.get(), kSide * count, kSide));
    const HGDIOBJ previous = ::SelectObject(dc.get(), strip.get());
    for (int i = 0; i < count; ++i) {
        const RECT square{kSide * i, 0, kSide * (i + 1), kSide};
        const fw::UniqueHandle<fw::HandleTraits<HBRUSH, nullptr, ::DeleteObject>> brush(::CreateSolidBrush(Shade(i)));
        ::FillRect(dc.get(), &square, brush.get());
    }
    ::SelectObject(dc.get(), previous);
    ASSERT_EQ(::ImageList_Add(list.Get(), strip.get(), nullptr), 0);
}

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

class ImageLists : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(list.Create(kSide, kSide, ILC_COLOR24, 5, 5)); }
    fw::ImageList list;
};

TEST_F(ImageLists, RemovedImagesLeaveAndTheOthersCloseUpInOrder) {
    constexpr int kCount = 12;
    AddShades(list, kCount);
    ASSERT_EQ(list.Count(), kCount);
    ASSERT_EQ(ShadeAt(list, 4), Shade(4));

    tree::ImageRemoval removal(kCount);
    removal.ReleaseItem(2, 3);
    removal.ReleaseItem(7, 8);
    removal.ReleaseItem(11, 11);
    for (const tree::ImageMove& move : removal.Moves()) ASSERT_TRUE(list.Copy(move.to, move.from));
    ASSERT_TRUE(list.SetCount(removal.RemainingCount()));

    const std::vector<int> kept{0, 1, 4, 5, 6, 9, 10};
    ASSERT_EQ(list.Count(), static_cast<int>(kept.size()));
    const tree::ImageIndexMap newIndex = removal.NewIndexes();
    for (size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(newIndex(kept[i]), static_cast<int>(i));
        EXPECT_EQ(ShadeAt(list, static_cast<int>(i)), Shade(kept[i])) << "image " << i;
    }
}

TEST_F(ImageLists, AppenderGrowsOnceAndCutsWhatIsLeft) {
    AddShades(list, 3);
    const fw::UniqueIcon red = SolidIcon(RGB(255, 0, 0));
    const fw::UniqueIcon blue = SolidIcon(RGB(0, 0, 255));
    {
        fw::IconAppender appender(list, 60);
        EXPECT_EQ(appender.Append(red.get()), 3);
        EXPECT_EQ(appender.Append(nullptr), -1) << "a refused icon takes no place";
        EXPECT_EQ(appender.Append(blue.get()), 4);
    }
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(ShadeAt(list, 2), Shade(2));
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
}

}  // namespace

// The item's geometry at each resolution and the lines it shows for the loaded data.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "ItemFixture.h"
#include "ItemLayout.h"
#include "ItemText.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using namespace today;

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ItemLayout, GeometryFollowsTheResolution) {
    const struct {
        int dpiX, dpiY, lineHeight;
        bool high;
        int height, fontHeight;
        RECT client, setup, button, text;
    } cases[] = {
        {96, 96, 13, false, 34, -11, {0, 0, 240, 34}, {0, 0, 30, 34}, {208, 1, 240, 33}, {30, 0, 208, 34}},
        {192, 192, 26, true, 60, -21, {0, 0, 480, 60}, {0, 0, 60, 60}, {416, -2, 480, 62}, {60, 0, 416, 60}},
        // At 131 dots per inch the normal bitmaps and the two-line height are kept.
        {131, 131, 18, false, 60, -15, {0, 0, 320, 60}, {0, 0, 40, 60}, {277, 8, 320, 51}, {40, 0, 277, 60}},
        {132, 132, 18, true, 30, -15, {0, 0, 320, 30}, {0, 0, 41, 30}, {276, -7, 320, 37}, {41, 0, 276, 30}},
    };
    for (const auto& c : cases) {
        const ItemLayout layout(c.dpiX, c.dpiY, c.lineHeight);
        const std::string at = std::to_string(c.dpiX) + " dpi";
        EXPECT_EQ(layout.highResolution(), c.high) << at;
        EXPECT_EQ(layout.itemHeight(), c.height) << at;
        EXPECT_EQ(layout.fontHeight(), c.fontHeight) << at;
        EXPECT_TRUE(sameRect(layout.setupArea(c.client), c.setup)) << at;
        EXPECT_TRUE(sameRect(layout.launchButton(c.client), c.button)) << at;
        EXPECT_TRUE(sameRect(layout.textArea(c.client), c.text)) << at;
    }
}

TEST(ItemLayout, EveryPointOfTheClientBelongsToOneArea) {
    const ItemLayout layout(96, 96, 13);
    const RECT client{0, 0, 240, 34};
    EXPECT_EQ(layout.areaAt(client, POINT{0, 0}), Area::Setup);
    EXPECT_EQ(layout.areaAt(client, POINT{29, 33}), Area::Setup);
    EXPECT_EQ(layout.areaAt(client, POINT{30, 0}), Area::Text);
    EXPECT_EQ(layout.areaAt(client, POINT{207, 17}), Area::Text);
    EXPECT_EQ(layout.areaAt(client, POINT{208, 17}), Area::Launch);
    EXPECT_EQ(layout.areaAt(client, POINT{239, 1}), Area::Launch);
    EXPECT_EQ(layout.areaAt(client, POINT{239, 0}), Area::Text) << "above the button, beside the text";
    EXPECT_EQ(layout.areaAt(client, POINT{240, 17}), Area::None);
    EXPECT_EQ(layout.areaAt(client, POINT{-1, 17}), Area::None);
    EXPECT_EQ(layout.firstLineTop(client), 4);
}

class ItemTextTest : public ItemTest {};

TEST_F(ItemTextTest, AnEmptyStoreGivesTheTextsOfAnEmptySelection) {
    TodayData data;
    EXPECT_TRUE(data.reload()) << "an empty store opens";
    EXPECT_FALSE(data.anythingLoaded());
    const ItemLines lines = itemLines(data);
    EXPECT_EQ(lines.first, u"Нет выбранных финансовых данных");
    EXPECT_EQ(lines.second, u"Нажмите здесь для найстройки...");
    EXPECT_FALSE(lines.firstBold);
    EXPECT_EQ(data.loadCount(), 1);
}

TEST_F(ItemTextTest, AStoreThatCannotBeOpenedLoadsNothing) {
    seedAccounts({{1, u"Wallet", u"USD", 100}});
    TodayData data;
    ASSERT_TRUE(data.reload());
    // Closed first: the connection's last checkpoint would write good pages over the damage.
    platform::cedbCloseStore();
    for (const char* beside : {"-changes", "-wal", "-shm"})
        std::remove((m_root->path() + "/store.cedb" + beside).c_str());
    {
        std::ofstream damaged(m_root->path() + "/store.cedb", std::ios::binary | std::ios::trunc);
        for (int i = 0; i < 4096; ++i)
            damaged.put(static_cast<char>((i * 131 + 7) & 0xFF));
    }
    EXPECT_FALSE(data.reload());
    EXPECT_FALSE(data.anythingLoaded()) << "the data of the earlier load is gone too";
}

}  // namespace
}  // namespace todaytest

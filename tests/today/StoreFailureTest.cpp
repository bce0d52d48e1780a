// The item on a store it cannot use: a damaged store loads nothing, is left as it was and its cause goes
// to the error log; a store that can only be read is read as usual.
#include <fstream>
#include <iterator>

#include "ItemFixture.h"
#include "ItemText.h"
#include "StoreDamage.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using StoreFailureTest = ItemTest;

std::string errorLog() {
    std::ifstream in(platform::hostPath(u"\\error.log"));
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(StoreFailureTest, ADamagedStoreLoadsNothingIsLeftAsItWasAndIsLogged) {
    seedAccounts({{1, u"Wallet", u"USD", 100}, {2, u"Bank", u"EUR", 200}});
    platform::cedbCloseStore();
    const std::string store = m_root->path() + "/store.cedb";
    ASSERT_TRUE(platform::testing::damageStore(store, platform::testing::StoreDamage::RandomMiddle));
    const uint64_t before = platform::testing::fileChecksum(store);
    ASSERT_NE(showItem(), nullptr);
    EXPECT_FALSE(item().data().anythingLoaded());
    // The user sees the texts for an empty selection, never an invitation to start over.
    const today::ItemLines summary = today::itemLines(item().data());
    EXPECT_EQ(summary.first, u"Нет выбранных финансовых данных");
    EXPECT_FALSE(summary.firstBold);
    EXPECT_EQ(summary.second, u"Нажмите здесь для найстройки...");
    EXPECT_EQ(platform::testing::fileChecksum(store), before);
    const std::string log = errorLog();
    EXPECT_NE(log.find(" - The finance store cannot be opened: " + store + ": it is damaged"),
              std::string::npos)
        << log;
}

TEST_F(StoreFailureTest, AStoreThatCanOnlyBeReadIsRead) {
    seedAccounts({{1, u"Wallet", u"USD", 100}, {2, u"Bank", u"EUR", 200}});
    platform::cedbCloseStore();
    const std::string store = m_root->path() + "/store.cedb";
    const uint64_t before = platform::testing::fileChecksum(store);
    platform::cedbSetReadOnly(TRUE);
    ASSERT_NE(showItem(), nullptr);
    EXPECT_EQ(item().data().accounts().size(), 2u);
    platform::cedbSetReadOnly(FALSE);
    EXPECT_EQ(platform::testing::fileChecksum(store), before);
    EXPECT_EQ(errorLog(), "");
}

}  // namespace
}  // namespace todaytest

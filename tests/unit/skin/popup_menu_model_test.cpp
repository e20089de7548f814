#include <gtest/gtest.h>

#include "menu_registry.h"
#include "popup_menu_model.h"

TEST(PopupMenuModel, WidthFollowsTextsUntilSetExplicitly) {
    PopupMenuModel menu;
    menu.AddItem(1001, u"Copy", false, 0);
    EXPECT_EQ(menu.Width(), 32);
    menu.AddItem(1002, u"Import a profile", false, 0);
    EXPECT_EQ(menu.Width(), 128);
    menu.AddItem(1003, u"Ex", false, 0);
    EXPECT_EQ(menu.Width(), 128);
    menu.SetWidth(54);
    for (size_t i = 0; i < menu.Count(); ++i) EXPECT_EQ(menu.Measure(menu.Item(i)).width, 54);
}

TEST(PopupMenuModel, HeightsAndTotal) {
    PopupMenuModel menu;
    const PopupMenuItem& sep = menu.AddItem(PopupMenuModel::kSeparatorId, u"", false, 0);
    const PopupMenuItem& hidden = menu.AddItem(1, u"hidden", false, 0);
    const PopupMenuItem& item = menu.AddItem(400, u"400", false, 0);
    EXPECT_TRUE(sep.separator);
    EXPECT_EQ(sep.id, 0u);
    EXPECT_EQ(menu.Measure(sep).height, 5);
    EXPECT_EQ(menu.Measure(hidden).height, 0);
    EXPECT_EQ(menu.Measure(item).height, 23);
    EXPECT_EQ(menu.TotalHeight(), 28);
    // An entry that opens a submenu has no command id of its own; it is a full item.
    EXPECT_EQ(menu.Measure(menu.AddItem(0, u"More", true, 0)).height, 23);
    EXPECT_EQ(menu.Measure(menu.AddItem(1, u"More", true, 0)).height, 23);

    PopupMenuModel tall(30);
    EXPECT_EQ(tall.Measure(tall.AddItem(7, u"x", false, 0)).height, 33);
}

TEST(PopupMenuModel, ColoursOfSelectedMarkedAndSeparatorItems) {
    PopupMenuModel menu;
    const PopupMenuItem& plain = menu.AddItem(10, u"a", false, 0);
    const PopupMenuItem& marked = menu.AddItem(11, u"b", false, 1);
    const PopupMenuItem& sep = menu.AddItem(PopupMenuModel::kSeparatorId, u"", false, 0);
    EXPECT_EQ(menu.Look(plain, false).fill, SkinRgb(16, 16, 16));
    EXPECT_EQ(menu.Look(plain, false).text, SkinRgb(255, 255, 255));
    EXPECT_EQ(menu.Look(plain, true).fill, SkinRgb(128, 21, 153));
    EXPECT_EQ(menu.Look(plain, true).text, SkinRgb(255, 255, 255));
    EXPECT_EQ(menu.Look(marked, false).text, SkinRgb(68, 192, 255));
    EXPECT_EQ(menu.Look(marked, true).text, SkinRgb(68, 192, 255));
    // With the default colours a separator's line is the background: a plain gap.
    EXPECT_EQ(menu.Look(sep, false).fill, menu.Look(sep, false).text);
}

TEST(PopupMenuModel, ItemsKeepTheirAddressAndOwnership) {
    PopupMenuModel menu;
    const PopupMenuItem* first = &menu.AddItem(5, u"a", false, 0);
    for (int i = 0; i < 100; ++i) menu.AddItem(6 + i, u"b", false, 0);
    EXPECT_EQ(first->id, 5u);
    EXPECT_TRUE(menu.Owns(first));
    PopupMenuModel other;
    EXPECT_FALSE(other.Owns(first));
    EXPECT_FALSE(menu.Owns(nullptr));
    menu.Clear();
    EXPECT_EQ(menu.Count(), 0u);
}

TEST(MenuRegistry, StorageExistsOnlyWhileEntriesDo) {
    MenuRegistry<int, int> map;
    EXPECT_FALSE(map.Allocated());
    EXPECT_TRUE(map.Add(1, 10));
    EXPECT_FALSE(map.Add(1, 11));  // never twice
    EXPECT_TRUE(map.Add(2, 20));
    EXPECT_TRUE(map.Allocated());
    EXPECT_EQ(map.Size(), 2u);
    EXPECT_TRUE(map.Remove(1));
    EXPECT_TRUE(map.Allocated());
    EXPECT_FALSE(map.Remove(1));
    EXPECT_TRUE(map.Remove(2));
    EXPECT_FALSE(map.Allocated());
    EXPECT_FALSE(map.Remove(2));
    EXPECT_TRUE(map.Add(3, 30));  // recreated on the next use
    EXPECT_TRUE(map.Contains(3));
}

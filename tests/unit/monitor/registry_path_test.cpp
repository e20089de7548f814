#include <gtest/gtest.h>

#include "command_line.h"
#include "registry_path.h"

TEST(RegistryPath, RootsAreRecognisedWithoutCase) {
    RegistryPath p = ParseRegistryPath(L"HKEY_CURRENT_USER\\Control Panel\\Mouse");
    EXPECT_EQ(p.root, RegistryRoot::CurrentUser);
    EXPECT_EQ(p.subKey, L"Control Panel\\Mouse");

    p = ParseRegistryPath(L"hkey_classes_root\\.txt");
    EXPECT_EQ(p.root, RegistryRoot::ClassesRoot);
    EXPECT_EQ(p.subKey, L".txt");

    p = ParseRegistryPath(L"Hkey_Current_Config\\System");
    EXPECT_EQ(p.root, RegistryRoot::CurrentConfig);
    EXPECT_EQ(p.subKey, L"System");

    p = ParseRegistryPath(L"HKEY_LOCAL_MACHINE\\Software\\X");
    EXPECT_EQ(p.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(p.subKey, L"Software\\X");
}

TEST(RegistryPath, OtherFirstComponentIsWholeKeyBelowLocalMachine) {
    RegistryPath p = ParseRegistryPath(L"Software\\Vendor\\Mouse");
    EXPECT_EQ(p.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(p.subKey, L"Software\\Vendor\\Mouse");

    // A root name only matches as a whole component.
    p = ParseRegistryPath(L"HKEY_CURRENT_USERS\\Mouse");
    EXPECT_EQ(p.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(p.subKey, L"HKEY_CURRENT_USERS\\Mouse");

    p = ParseRegistryPath(L"HKCU\\Mouse");
    EXPECT_EQ(p.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(p.subKey, L"HKCU\\Mouse");
}

TEST(RegistryPath, RootAloneHasEmptySubKey) {
    RegistryPath p = ParseRegistryPath(L"HKEY_CURRENT_USER");
    EXPECT_EQ(p.root, RegistryRoot::CurrentUser);
    EXPECT_EQ(p.subKey, L"");
    p = ParseRegistryPath(L"");
    EXPECT_EQ(p.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(p.subKey, L"");
}

TEST(CommandLine, OnlyALeadingOneOpensOption) {
    EXPECT_TRUE(HasStartOption(L"1"));
    EXPECT_TRUE(HasStartOption(L"1 --whatever"));
    EXPECT_FALSE(HasStartOption(L""));
    EXPECT_FALSE(HasStartOption(L"0"));
    EXPECT_FALSE(HasStartOption(L"21"));
    EXPECT_FALSE(HasStartOption(L" 1"));
}

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../../support/temp_folder.h"
#include "skin_description.h"
#include "text_codec.h"

namespace {

class SkinDescriptionTest : public testing::Test {
protected:
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::u16string Folder() const { return Utf8ToU16(dir_.path().string() + "/"); }

    TempFolder dir_;
};

}  // namespace

TEST_F(SkinDescriptionTest, ReadsScreenAndEntries) {
    Write("skin_test.ini",
          "[SCREEN]\r\nMask=m.bmp\r\nNormal=sub/n.bmp\r\nOver=o.bmp\r\nDown=d.bmp\r\nDisable=x.bmp\r\n"
          "[BUTTONPOS]\r\n1=Close,10,20,30,40,Close the window\r\n");
    const SkinDescription skin(Folder(), u"skin_test.ini");
    const SkinScreen screen = skin.ReadScreen();
    EXPECT_EQ(screen.mask, u"m.bmp");
    EXPECT_EQ(screen.normal, u"sub/n.bmp");
    EXPECT_EQ(screen.over, u"o.bmp");
    EXPECT_EQ(screen.down, u"d.bmp");
    EXPECT_EQ(screen.disable, u"x.bmp");
    // Names are appended to the folder as they are: subfolders work.
    EXPECT_EQ(skin.ImagePath(screen.normal), Folder() + u"sub/n.bmp");
    EXPECT_EQ(skin.ImagePath(u""), u"");

    EXPECT_TRUE(skin.HasEntry(1));
    EXPECT_FALSE(skin.HasEntry(2));
    const ButtonPos close = skin.ReadEntry(1);
    EXPECT_EQ(close.rect, (SkinRect{10, 20, 40, 60}));
    EXPECT_EQ(close.Text(), u"Close the window");
    // The number it was read under travels with it: it becomes the control's id.
    EXPECT_EQ(close.entry, 1);
    const ButtonPos missing = skin.ReadEntry(2);
    EXPECT_TRUE(missing.rect.IsEmpty());
    EXPECT_EQ(missing.entry, 2);
    EXPECT_EQ(ParseButtonPos(u"A,1,2,3,4,tip").entry, 0);
}

TEST_F(SkinDescriptionTest, MissingOrDamagedFileReadsEmpty) {
    const SkinDescription missing(Folder(), u"nothing.ini");
    EXPECT_EQ(missing.ReadScreen().normal, u"");
    EXPECT_TRUE(missing.ReadEntry(0).rect.IsEmpty());

    static const char kJunk[] = "\x00\xff\xfe[[[=\r\n=\n[SCREEN\nMask";
    Write("junk.ini", std::string(kJunk, sizeof kJunk - 1));
    const SkinDescription junk(Folder(), u"junk.ini");
    EXPECT_EQ(junk.ReadScreen().normal, u"");
    EXPECT_EQ(junk.ReadEntry(1).Text(), u"");
}

TEST_F(SkinDescriptionTest, TooltipsComeInTheChosenLanguageWhereTheSkinHasThem) {
    Write("s.ini",
          "\xEF\xBB\xBF[BUTTONPOS]\r\n3=Ok,10,20,30,40,Give the button this function\r\n"
          "4=Cancel,50,20,30,40,Keep the button as it was\r\n5=Box,0,0,8,8,\r\n"
          "[TOOLTIPS_0407]\r\n3=Der Taste diese Funktion geben \xC3\xBC\r\n5=Feld\r\n");
    const SkinDescription skin(Folder(), u"s.ini");
    EXPECT_EQ(skin.ReadEntry(3).Text(), u"Give the button this function");  // English reads no other section

    SetSkinTooltipLanguage(0x0407);
    EXPECT_EQ(skin.ReadEntry(3).Text(), u"Der Taste diese Funktion geben \u00fc");
    EXPECT_EQ(skin.ReadEntry(3).rect.Width(), 30);                         // only the tooltip changes
    EXPECT_EQ(skin.ReadEntry(4).Text(), u"Keep the button as it was");     // none in German: English
    EXPECT_EQ(skin.ReadEntry(5).Text(), u"Feld");
    SetSkinTooltipLanguage(0x0411);                                         // a language the skin lacks
    EXPECT_EQ(skin.ReadEntry(3).Text(), u"Give the button this function");

    // A tooltip longer than the field is cut as the English one is.
    Write("long.ini", "[BUTTONPOS]\r\n1=A,0,0,1,1,x\r\n[TOOLTIPS_0407]\r\n1=" + std::string(600, 'y') + "\r\n");
    SetSkinTooltipLanguage(0x0407);
    EXPECT_EQ(SkinDescription(Folder(), u"long.ini").ReadEntry(1).Text(), std::u16string(ButtonPos::kTextUnits - 1, u'y'));
    SetSkinTooltipLanguage(0x0409);
}

TEST(SkinsFolder, AppendsSkinsToTheProgramFolder) {
    EXPECT_EQ(SkinsFolderOf(u"C:\\Games\\Mouse\\"), u"C:\\Games\\Mouse\\skins\\");
    EXPECT_EQ(SkinsFolderOf(u"C:\\Games\\Mouse"), u"C:\\Games\\Mouse\\skins\\");
    EXPECT_EQ(SkinsFolderOf(u"/opt/mouse/"), u"/opt/mouse/skins/");
}

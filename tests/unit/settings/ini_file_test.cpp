#include <gtest/gtest.h>

#include "ini_file.h"

TEST(IniFile, WritesStructWithCheckDigits) {
    CIniFile ini("unused.ini");
    ini.Clear();
    const unsigned char bytes[3] = {0x01, 0x02, 0xFF};
    ini.WriteStruct(u"S", u"k", bytes, 3);
    EXPECT_EQ(ini.Serialize(), "[S]\r\nk=0102FF02\r\n");
}

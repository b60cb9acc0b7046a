#include "platform/IniFile.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

using platform::IniDocument;
using platform::IniFile;
using test_support::TemporaryFolder;

TEST(IniFile, SectionsAndKeysMatchRegardlessOfCase) {
    IniDocument document("[Version]\r\nVer = 150 \r\n");
    EXPECT_EQ(document.readInteger("VERSION", "ver", 140), 150);
}

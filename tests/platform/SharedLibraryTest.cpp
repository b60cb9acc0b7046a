#include "platform/SharedLibrary.h"
#include "platform/ApplicationFolder.h"

#include <gtest/gtest.h>

using platform::SharedLibrary;

TEST(SharedLibrary, DllNamesMapToLowerCaseSharedObjectNames) {
    EXPECT_EQ(SharedLibrary::mapLibraryName("xaudio.dll"), "libxaudio.so");
    EXPECT_EQ(SharedLibrary::mapLibraryName("XAUDIO.DLL"), "libxaudio.so");
    EXPECT_EQ(SharedLibrary::mapLibraryName("xa_dsound_output.dll"), "libxa_dsound_output.so");
    EXPECT_EQ(SharedLibrary::mapLibraryName("/opt/x/Engine.Dll"), "/opt/x/libengine.so");
    EXPECT_EQ(SharedLibrary::mapLibraryName("libm.so.6"), "libm.so.6");
    EXPECT_EQ(SharedLibrary::mapLibraryName(".dll"), ".dll");
}

TEST(SharedLibrary, TheEngineIsFoundInTheApplicationFolderByItsDllName) {
    SharedLibrary engine;
    ASSERT_TRUE(engine.load("XAUDIO.DLL")) << engine.lastError();
    EXPECT_NE(engine.symbol("xaudio_get_version"), nullptr);
    EXPECT_EQ(engine.symbol("no_such_function"), nullptr);
    engine.unload();
    EXPECT_FALSE(engine.isLoaded());
    EXPECT_EQ(engine.symbol("xaudio_get_version"), nullptr);
}

TEST(SharedLibrary, AMissingLibraryFailsWithAnErrorText) {
    SharedLibrary library;
    EXPECT_FALSE(library.load("no_such_engine.dll"));
    EXPECT_FALSE(library.isLoaded());
    EXPECT_FALSE(library.lastError().empty());
}

TEST(ApplicationFolder, IsTheFolderOfTheRunningExecutable) {
    const std::string folder = platform::applicationFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(platform::fileExists(folder + "platform_core_tests"));
    EXPECT_TRUE(platform::directoryExists(folder));
    EXPECT_FALSE(platform::fileExists(folder));
}

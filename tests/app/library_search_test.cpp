// The program's start limits the search of every later library load to the system
// directory, so a load by name finds the system's file even where a stranger's file of
// that name lies beside the program (tests/release runs this beside a planted one).
#include "framework/system_library.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ModuleFileName(HMODULE module) {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(module, path, sizeof path);
    return path;
}

TEST(LibrarySearchTest, AfterTheRestrictionALoadByNameComesFromTheSystemDirectory) {
    ASSERT_TRUE(framework::RestrictLibrarySearchToSystem());
    const HMODULE module = ::LoadLibraryA("hhctrl.ocx");
    ASSERT_NE(nullptr, module);
    const std::string system = framework::SystemDirectory();
    EXPECT_EQ(system + "hhctrl.ocx", ModuleFileName(module)) << "system directory " << system;
    ::FreeLibrary(module);
}

} // namespace

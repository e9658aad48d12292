// The application title: string 57344, or the module's base name in a program that
// has no such string (this test program links no resources).
#include "framework/win_app.h"

#include <gtest/gtest.h>

namespace {

TEST(WinAppTest, TitleFallsBackToTheModuleBaseName) {
    CWinApp app;
    EXPECT_EQ(&app, CWinApp::Current());
    app.InitApplication(::GetModuleHandleA(nullptr));
    EXPECT_EQ("framework_title_test", app.GetTitle());
}

TEST(WinAppTest, CommandLineFlagsLoseTheirMark) {
    CCommandLineInfo info;
    info.ParseParam("x", true, false);
    info.ParseParam("datei.txt", false, true);
    ASSERT_EQ(1u, info.m_flags.size());
    EXPECT_EQ("x", info.m_flags[0]);
    ASSERT_EQ(1u, info.m_params.size());
    EXPECT_EQ("datei.txt", info.m_params[0]);
}

} // namespace

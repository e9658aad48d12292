// The keys that open a context menu and the releases kept from the menu bar, as
// sequences of key messages the way the keyboard delivers them.
#include "view/menu_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using view::KeyAction;
using view::KeyEvent;

constexpr uint32_t kKeyP = 'P';
constexpr uint32_t kKeyDown = 0x28;
constexpr uint32_t kKeyShift = 0x10;

KeyEvent Down(uint32_t key, bool shift = false, bool alt = false) {
    return {true, key, shift, alt};
}
KeyEvent Up(uint32_t key) {
    return {false, key, false, false};
}

// What the filter does with each event: "p" pass, "m" context menu, "s" swallow. An
// event marked `taken` is a press an accelerator took after it passed.
std::string Actions(const std::vector<std::pair<KeyEvent, bool>>& events) {
    view::MenuKeyFilter filter;
    std::string actions;
    for (const auto& e : events) {
        const KeyAction action = filter.Filter(e.first);
        actions += action == KeyAction::kPass ? "p" : action == KeyAction::kContextMenu ? "m" : "s";
        if (e.second && action == KeyAction::kPass) {
            filter.TakenByAccelerator(e.first);
        }
    }
    return actions;
}

TEST(MenuKeyFilter, AltLetGoAfterAnAcceleratorLeavesTheMenuBarAloneButAloneOpensIt) {
    const bool taken = true;
    EXPECT_EQ("pps", Actions({{Down(view::kKeyAlt, false, true), false},
                              {Down(kKeyP, false, true), taken},
                              {Up(view::kKeyAlt), false}}));
    EXPECT_EQ("pp",
              Actions({{Down(view::kKeyAlt, false, true), false}, {Up(view::kKeyAlt), false}}))
        << "Alt alone still opens the menu bar";
    EXPECT_EQ("ppp", Actions({{Down(view::kKeyAlt, false, true), false},
                              {Down(kKeyP, false, true), false},
                              {Up(view::kKeyAlt), false}}))
        << "a key no accelerator took reaches the system itself";
    EXPECT_EQ("ppsppp", Actions({{Down(view::kKeyAlt, false, true), false},
                                 {Down(kKeyP, false, true), taken},
                                 {Up(view::kKeyAlt), false},
                                 {Down(view::kKeyAlt, false, true), false},
                                 {Up(kKeyP), false},
                                 {Up(view::kKeyAlt), false}}))
        << "one release only";
    EXPECT_EQ("ppp", Actions({{Down(kKeyP, false, true), taken},
                              {Down(view::kKeyAlt, false, true), false},
                              {Up(view::kKeyAlt), false}}))
        << "a press of Alt after the accelerator starts anew";
    EXPECT_EQ("pp", Actions({{Down(view::kKeyAlt, false, true), false}, {Down(0x74), taken}}))
        << "F5 without Alt keeps nothing back";
}

TEST(MenuKeyFilter, ShiftF10AndTheContextMenuKeyOpenTheMenuAndTheirReleasesGoNowhere) {
    EXPECT_EQ("pmsp", Actions({{Down(kKeyShift, true), false},
                               {Down(view::kKeyF10, true), false},
                               {Up(view::kKeyF10), false},
                               {Up(kKeyShift), false}}));
    EXPECT_EQ("ms", Actions({{Down(view::kKeyApps), false}, {Up(view::kKeyApps), false}}));
    EXPECT_EQ("mms", Actions({{Down(view::kKeyApps), false},
                              {Down(view::kKeyApps), false},
                              {Up(view::kKeyApps), false}}))
        << "auto-repeat";
    EXPECT_EQ("pp", Actions({{Down(view::kKeyF10), false}, {Up(view::kKeyF10), false}}))
        << "F10 alone is the menu bar's";
    EXPECT_EQ("p", Actions({{Down(view::kKeyF10, true, true), false}})) << "Alt-Shift-F10";
    EXPECT_EQ("pp", Actions({{Up(view::kKeyApps), false}, {Down(kKeyDown), false}}));
}

} // namespace

// Fuzzes the reader of "PMAIL.USR": any bytes give users, never a crash; handed over in
// pieces of any size they give the same users as at once; every field stays within its
// bound, the lines kept within theirs, the line numbers only grow, and the name rule and
// the plan's checks take every name.
#include "mailbox/installation.h"
#include "mailbox/user_list.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool Same(const UserList& a, const UserList& b) {
    if (a.Count() != b.Count()) {
        return false;
    }
    for (size_t i = 0; i < a.Count(); ++i) {
        const UserLine x = a.Line(i);
        const UserLine y = b.Line(i);
        if (x.lineNumber != y.lineNumber || x.flag != y.flag || x.userName != y.userName ||
            x.personalName != y.personalName || x.malformed != y.malformed ||
            x.userNameCut != y.userNameCut) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the size of the pieces the rest arrives in.
    const size_t piece = 1 + data[0] % 23;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const UserList whole = ParseUserList(text);
    UserListParser parser;
    for (size_t at = 0; at < text.size(); at += piece) {
        parser.Feed(text.substr(at, piece));
    }
    parser.Finish();
    if (!Same(whole, parser.Users()) || whole.Count() > kMaxUserLines) {
        std::abort();
    }
    uint32_t lastLine = 0;
    for (size_t i = 0; i < whole.Count(); ++i) {
        const UserLine user = whole.Line(i);
        if (user.lineNumber <= lastLine || user.userName.size() > kMaxUserLineField ||
            user.personalName.size() > kMaxUserLineField || (user.malformed != (user.flag == 0))) {
            std::abort();
        }
        lastLine = user.lineNumber;
        const UserNameProblem problem = CheckUserName(user.userName);
        // A name that passes the rule names one folder directly below the root.
        if (problem == UserNameProblem::kNone &&
            (user.userName.find_first_of("/\\:") != std::string::npos ||
             user.userName.find("..") != std::string::npos || user.userName.empty())) {
            std::abort();
        }
        if (UserFaultText(UserFault::kUnsafeName, problem).empty()) {
            std::abort();
        }
    }
    return 0;
}

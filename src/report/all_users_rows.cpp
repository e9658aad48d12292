// The rows of the all-users report: their order, their cells, and an earlier report of
// the same kind read back and matched user by user. An earlier report is at most a few
// thousand users of a few hundred files each, so it is read whole.
#include "report/all_users_report.h"

#include "platform/files.h"
#include "report/report_text.h"
#include "sizes/size_text.h"
#include "text/cp1252_case.h"
#include "tree/tree_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <unordered_map>

namespace report {

namespace {

using json = nlohmann::json;

std::string FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = text::FoldWindows1252(c);
    }
    return folded;
}

bool IsUnsigned(const json& value) {
    return value.is_number_unsigned();
}

// One user object of an earlier report into `user`; false when it is not one.
bool ReadEarlierUser(const json& object, EarlierUser& user, bool& removed) {
    if (!object.is_object()) {
        return false;
    }
    const auto name = object.find("userName");
    const auto size = object.find("size");
    const auto files = object.find("files");
    if (name == object.end() || !name->is_string() || size == object.end() ||
        !(IsUnsigned(*size) || size->is_null())) {
        return false;
    }
    const auto gone = object.find("removed");
    removed = gone != object.end() && gone->is_boolean() && gone->get<bool>();
    user.userName = Cp1252FromUtf8(name->get_ref<const std::string&>());
    user.size = size->is_null() ? 0 : size->get<uint64_t>();
    if (files == object.end()) {
        return true;
    }
    if (!files->is_array()) {
        return false;
    }
    for (const json& file : *files) {
        if (!file.is_object()) {
            return false;
        }
        const auto fileName = file.find("fileName");
        const auto fileSize = file.find("size");
        if (fileName == file.end() || !fileName->is_string() || fileSize == file.end()) {
            return false;
        }
        const auto fileGone = file.find("removed");
        if (fileGone != file.end() && fileGone->is_boolean() && fileGone->get<bool>()) {
            continue;
        }
        if (!IsUnsigned(*fileSize)) {
            return false;
        }
        user.files.Add(Cp1252FromUtf8(fileName->get_ref<const std::string&>()), "", "",
                       fileSize->get<uint64_t>());
    }
    return true;
}

int CompareNumbers(uint64_t a, uint64_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

int CompareChanges(const RowChange& a, const RowChange& b) {
    if (a.bytes.negative != b.bytes.negative) {
        return a.bytes.negative ? -1 : 1;
    }
    const int r = CompareNumbers(a.bytes.magnitude, b.bytes.magnitude);
    return a.bytes.negative ? -r : r;
}

const std::string& NameOf(const UserReportRow& row) {
    return row.row ? row.row->UserName() : row.earlier->userName;
}

} // namespace

int CompareUserColumn(const UserReportRow& a, const UserReportRow& b, int column) {
    const UserMailbox empty;
    const UserMailbox& x = a.row ? *a.row : empty;
    const UserMailbox& y = b.row ? *b.row : empty;
    switch (column) {
    case kUserColumnPersonal:
        return FoldedName(PersonalCell(x)).compare(FoldedName(PersonalCell(y)));
    case kUserColumnFiles:
        return CompareNumbers(static_cast<uint32_t>(x.folderFiles),
                              static_cast<uint32_t>(y.folderFiles));
    case kUserColumnSize:
    case kUserColumnShare:
        return CompareNumbers(x.totalSize, y.totalSize);
    case kUserColumnNewMail:
        return CompareNumbers(x.newMailSize, y.newMailSize);
    case kUserColumnLargest:
        return CompareNumbers(x.largestSize, y.largestSize);
    case kUserColumnLimit: {
        // Over the limit weighs more than any number near it.
        const int r = CompareNumbers(static_cast<uint32_t>(x.limits.overLimit),
                                     static_cast<uint32_t>(y.limits.overLimit));
        return r != 0 ? r
                      : CompareNumbers(static_cast<uint32_t>(x.limits.nearLimit),
                                       static_cast<uint32_t>(y.limits.nearLimit));
    }
    case kUserColumnChange:
        return CompareChanges(a.change, b.change);
    default:
        return 0; // the user column: the tie-break by name decides
    }
}

std::string FoldedUserName(std::string_view name) {
    return FoldedName(name);
}

bool AllUsersSortColumnOf(std::string_view name, int& column) {
    static const char* const kNames[kAllUsersColumnCount] = {
        "user", "personal", "files", "size", "share", "newmail", "largest", "limit", "change"};
    for (int i = 0; i < kAllUsersColumnCount; ++i) {
        if (name == kNames[i]) {
            column = i;
            return true;
        }
    }
    return false;
}

bool ParseEarlierInstallation(std::string_view text, EarlierInstallation& earlier,
                              std::string& error) {
    earlier = EarlierInstallation();
    if (text.size() > kMaxEarlierReportBytes) {
        error = "ist zu gro\xDF";
        return false;
    }
    // Our reports nest four deep; a deeper document is no report, and refusing it
    // before building it keeps a hostile file from exhausting the stack.
    int depth = 0;
    const json::parser_callback_t tooDeep = [&depth](int, json::parse_event_t event, json&) {
        if (event == json::parse_event_t::object_start ||
            event == json::parse_event_t::array_start) {
            if (++depth > 8) {
                throw std::runtime_error("deep");
            }
        } else if (event == json::parse_event_t::object_end ||
                   event == json::parse_event_t::array_end) {
            --depth;
        }
        return true;
    };
    json document;
    try {
        document = json::parse(text.begin(), text.end(), tooDeep);
    } catch (const std::exception&) {
        error = "ist kein JSON-Bericht";
        return false;
    }
    const auto users = document.is_object() ? document.find("users") : document.end();
    const auto marker = document.is_object() ? document.find("allUsers") : document.end();
    if (!document.is_object() || marker == document.end() || !marker->is_boolean() ||
        !marker->get<bool>() || users == document.end() || !users->is_array()) {
        error = "ist kein Bericht aller Postf\xE4"
                "cher";
        return false;
    }
    for (const json& object : *users) {
        EarlierUser user;
        bool removed = false;
        if (!ReadEarlierUser(object, user, removed)) {
            earlier = EarlierInstallation();
            error = "enth\xE4lt eine Zeile, die keine Benutzerzeile ist";
            return false;
        }
        if (!removed) {
            earlier.totalSize = AddSizes(earlier.totalSize, user.size);
            earlier.users.push_back(std::move(user));
        }
    }
    return true;
}

bool ReadEarlierInstallation(const std::string& path, EarlierInstallation& earlier,
                             std::string& error) {
    earlier = EarlierInstallation();
    platform::ReadOnlyFile file;
    if (!file.Open(path)) {
        error = "kann nicht gelesen werden";
        return false;
    }
    std::string text;
    char buffer[64 * 1024];
    uint64_t offset = 0;
    while (const size_t got = file.ReadAt(offset, buffer, sizeof buffer)) {
        offset += got;
        if (offset > kMaxEarlierReportBytes) {
            error = "ist zu gro\xDF";
            return false;
        }
        text.append(buffer, got);
    }
    return ParseEarlierInstallation(text, earlier, error);
}

std::vector<UserReportRow> OrderUserRows(const AllUsersResult& result, int column, bool descending,
                                         const EarlierInstallation* earlier) {
    std::vector<UserReportRow> rows;
    rows.reserve(result.rows.size());
    std::unordered_map<std::string, size_t> earlierByName;
    std::vector<bool> matched;
    if (earlier) {
        matched.assign(earlier->users.size(), false);
        for (size_t i = 0; i < earlier->users.size(); ++i) {
            earlierByName.emplace(FoldedName(earlier->users[i].userName), i);
        }
    }
    for (const UserMailbox& mailbox : result.rows) {
        UserReportRow row;
        row.row = &mailbox;
        row.shareTenths = tree::ShareTenths(mailbox.totalSize, result.totalSize);
        if (earlier) {
            const auto found = earlierByName.find(FoldedName(mailbox.UserName()));
            if (found != earlierByName.end() && !matched[found->second]) {
                matched[found->second] = true;
                row.earlier = &earlier->users[found->second];
                row.change = {RowChange::kChanged,
                              ChangeBetween(mailbox.totalSize, row.earlier->size)};
            } else {
                row.change = {RowChange::kNew, {false, mailbox.totalSize}};
            }
        }
        rows.push_back(row);
    }
    for (size_t i = 0; i < matched.size(); ++i) {
        if (!matched[i]) {
            UserReportRow row;
            row.earlier = &earlier->users[i];
            row.change = {RowChange::kRemoved, ChangeBetween(0, row.earlier->size)};
            rows.push_back(row);
        }
    }
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::vector<std::string> folded(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        folded[i] = FoldedName(NameOf(rows[i]));
    }
    // Rows of the same installation tie on a column; the user name breaks it, and the
    // list's order a tie of names (a line listed twice).
    std::sort(order.begin(), order.end(), [&](size_t i, size_t j) {
        const size_t a = descending ? j : i;
        const size_t b = descending ? i : j;
        if (const int r = CompareUserColumn(rows[a], rows[b], column)) {
            return r < 0;
        }
        if (const int r = folded[a].compare(folded[b])) {
            return r < 0;
        }
        return a < b;
    });
    std::vector<UserReportRow> sorted;
    sorted.reserve(rows.size());
    for (const size_t i : order) {
        sorted.push_back(rows[i]);
    }
    return sorted;
}

int32_t ListedUserCount(const AllUsersResult& result) {
    int32_t users = 0;
    for (const UserMailbox& row : result.rows) {
        users += row.user.origin == PlannedUser::Origin::kListed ? 1 : 0;
    }
    return users;
}

std::string AllUsersStatusLine(const AllUsersResult& result) {
    return FormatSize(static_cast<uint32_t>(ListedUserCount(result)), SizeStyle::Exact) +
           " Benutzer, " + FormatSize(static_cast<uint32_t>(result.folderFiles), SizeStyle::Exact) +
           " Ordnerdateien, " + FormatSize(result.totalSize, SizeStyle::Compact) + " (" +
           FormatSize(result.totalSize, SizeStyle::Exact) + " Bytes)";
}

std::string PersonalCell(const UserMailbox& row) {
    const std::string failure = row.FailureText();
    if (failure.empty()) {
        return row.user.line.personalName;
    }
    return row.user.line.personalName.empty() ? failure
                                              : row.user.line.personalName + " " + failure;
}

std::string LargestCell(const UserMailbox& row, bool exact) {
    if (row.largestFile.empty()) {
        return std::string();
    }
    return row.largestFile + " (" + FormatSize(row.largestSize, SizeStyleFor(!exact)) + ")";
}

} // namespace report

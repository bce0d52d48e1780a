// Reading an account group's member list.
#include "GroupMembers.h"

namespace today {

namespace {

constexpr size_t kMaxDigits = 19;

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

std::vector<GroupMember> parseGroupMembers(std::u16string_view text) {
    std::vector<GroupMember> members;
    size_t i = text.find(u'#');
    while (i != std::u16string_view::npos) {
        size_t at = i + 1;
        uint64_t account = 0;
        while (at < text.size() && isDigit(text[at]) && at - i <= kMaxDigits)
            account = account * 10 + static_cast<uint64_t>(text[at++] - u'0');
        const size_t digits = at - i - 1;
        const bool wellFormed =
            digits > 0 && digits <= kMaxDigits && at + 1 < text.size() && text[at] == u'@';
        if (wellFormed) {
            members.push_back({account, text[at + 1]});
            at += 2;
        }
        i = text.find(u'#', wellFormed ? at : i + 1);
    }
    return members;
}

}  // namespace today

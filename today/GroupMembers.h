// An account group's member list: entries "#", the account's number in decimal (at most 19 digits),
// "@" and a one-character state; only members in state "1" count toward the group's balance.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace today {

struct GroupMember {
    uint64_t account = 0;
    char16_t state = 0;
    bool counts() const { return state == u'1'; }
};

// The members in the order they are listed. A malformed entry (no digits, more than 19, no "@" or no
// state after it) is skipped up to the next "#"; anything else between entries is ignored. Never
// fails; a pure function of the text.
std::vector<GroupMember> parseGroupMembers(std::u16string_view text);

}  // namespace today

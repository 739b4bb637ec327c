#include "core/filemode.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

bool InGroup(gid_t gid) {
    if (gid == ::getegid()) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(count, 0), gid) !=
           groups.begin() + std::max(count, 0);
}

}  // namespace

bool ModeAllows(const struct stat& st, mode_t what) {
    const int shift = st.st_uid == ::geteuid() ? 6 : InGroup(st.st_gid) ? 3 : 0;
    return (st.st_mode >> shift & what) == what;
}

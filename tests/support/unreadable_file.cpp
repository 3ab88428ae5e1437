#include "tests/support/unreadable_file.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <initializer_list>

namespace testing_support {

PermissionsApply::PermissionsApply() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    if (::syscall(SYS_capget, &header_, saved_) != 0) {
        return;
    }
    __user_cap_data_struct reduced[_LINUX_CAPABILITY_U32S_3] = {saved_[0], saved_[1]};
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        reduced[CAP_TO_INDEX(capability)].effective &= ~CAP_TO_MASK(capability);
    }
    applied_ = ::syscall(SYS_capset, &header_, reduced) == 0;
}

PermissionsApply::~PermissionsApply() {
    if (applied_) {
        ::syscall(SYS_capset, &header_, saved_);
    }
}

} // namespace testing_support

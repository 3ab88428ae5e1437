#pragma once

#include <linux/capability.h>

namespace testing_support {

// The tests run as root, whom a file's permissions do not stop. While this
// lives, the calling thread lacks the capabilities that override them, so a
// file without read permission is as closed to it as to any user.
class PermissionsApply {
public:
    PermissionsApply();
    ~PermissionsApply();
    PermissionsApply(const PermissionsApply&) = delete;
    PermissionsApply& operator=(const PermissionsApply&) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3]{};
    bool applied_ = false;
};

} // namespace testing_support

#pragma once
// Instance data of Group.mui.
namespace platform::mui {

struct GroupData {
    int changeDepth = 0; // open MUIM_Group_InitChange calls
};

} // namespace platform::mui

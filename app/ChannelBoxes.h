#pragma once
// The 32 channel check boxes of the main dialog: which control id belongs to which channel.

#include <array>

constexpr int kChannelBoxCount = 32;

// Control id of the check box of channel 1 to 32, at index channel - 1.
constexpr std::array<int, kChannelBoxCount> kChannelBoxIds = {
    1005, 1006, 1007, 1008, 1010, 1012, 1013, 1014,  // channels 1 to 8
    1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038,  // channels 9 to 32: 1022 + channel
    1039, 1040, 1041, 1042, 1043, 1044, 1045, 1046,  //
    1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054,
};

// The volume name typed in a production window becomes a plain folder name.
#include <gtest/gtest.h>

#include "production/VolumeName.h"

namespace {

struct VolumeCase {
    const char* typed;
    const char* folder;
};

class productionVolumeName : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(productionVolumeName, KeepsOnlyAPlainFolderName) {
    EXPECT_EQ(SanitizeVolumeName(GetParam().typed), GetParam().folder) << "typed: " << GetParam().typed;
}

INSTANTIATE_TEST_SUITE_P(Cases, productionVolumeName,
                         ::testing::Values(VolumeCase{"DVD_DISC", "DVD_DISC"}, VolumeCase{"My Disc", "MY_DISC"},
                                           VolumeCase{"  holiday 2024  ", "HOLIDAY_2024"},
                                           VolumeCase{"two  blanks", "TWO__BLANKS"}, VolumeCase{"../x", "X"},
                                           VolumeCase{"..", "DVD_DISC"}, VolumeCase{"/etc/passwd", "ETCPASSWD"},
                                           VolumeCase{"a\\b:c*d?", "ABCD"}, VolumeCase{"", "DVD_DISC"},
                                           VolumeCase{" \t ", "DVD_DISC"}, VolumeCase{"Été 1", "T_1"},
                                           VolumeCase{"Tom & Jerry's", "TOM__JERRYS"}, VolumeCase{"tab\there", "TABHERE"}));

}  // namespace

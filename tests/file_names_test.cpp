#include "platform/common/file_names.h"
#include "tests/test_support.h"

TEST(FileNames, TypedNamesWithoutExtensionGetTheDialogsOwn) {
    EXPECT_EQ(WithDefaultExtension("/home/u.v/levels", "add"), "/home/u.v/levels.add");
    EXPECT_EQ(WithDefaultExtension("data.", "txt"), "data.txt");
    EXPECT_EQ(WithDefaultExtension("/tmp/.hidden", "wav"), "/tmp/.hidden.wav");
    EXPECT_EQ(WithDefaultExtension("/tmp/frame.txt", "wav"), "/tmp/frame.txt");
}

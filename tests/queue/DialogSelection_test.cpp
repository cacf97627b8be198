#include "queue/DialogSelection.h"

#include <gtest/gtest.h>

namespace reelwright {
namespace {

using namespace std::string_literals;

TEST(SplitAtNul, SplitsAtEveryNulAndIgnoresTheTerminator) {
    EXPECT_TRUE(SplitAtNul("").empty());
    EXPECT_EQ(SplitAtNul("a"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitAtNul("a\0b\0c"s), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitAtNul("a\0b\0\0"s), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitAtNul("\0\0"s).empty());
}

TEST(ReadDialogSelection, OneFileIsNamedByItsTitleAndKeepsItsFullPath) {
    const auto selection =
        ReadDialogSelection({"C:\\Games\\SOF2\\mymod\\demos\\ctf1.dm_2004", "ctf1.dm_2004"});
    EXPECT_EQ(selection.location, "C:\\Games\\SOF2\\mymod\\demos\\ctf1.dm_2004");
    EXPECT_EQ(selection.names, (std::vector<std::string>{"ctf1.dm_2004"}));
    EXPECT_EQ(selection.FilePath(0), "C:\\Games\\SOF2\\mymod\\demos\\ctf1.dm_2004");
}

TEST(ReadDialogSelection, SeveralFilesComeAsTheirFolderAndNamesInOrder) {
    const auto two = ReadDialogSelection({"C:\\d\\demos\0b.dm_2004\0a.dm_2004"s, ""});
    EXPECT_EQ(two.location, "C:\\d\\demos");
    EXPECT_EQ(two.names, (std::vector<std::string>{"b.dm_2004", "a.dm_2004"}));
    EXPECT_EQ(two.FilePath(1), "C:\\d\\demos\\a.dm_2004");

    const auto root = ReadDialogSelection({"C:\\\0x.dm_2004\0y.dm_2004"s, ""});
    EXPECT_EQ(root.FilePath(0), "C:\\x.dm_2004");
}

TEST(ReadDialogSelection, NothingOrTwoPiecesChooseNothing) {
    EXPECT_TRUE(ReadDialogSelection({"", ""}).Empty());
    EXPECT_TRUE(ReadDialogSelection({"C:\\d\\demos\0a.dm_2004"s, "a.dm_2004"}).Empty());
}

}  // namespace
}  // namespace reelwright

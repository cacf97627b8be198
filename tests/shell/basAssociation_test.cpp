#include "shell/basAssociation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeClassesRegistry.h"
#include "support/Fakes.h"

namespace reelwright {
namespace {

using testing::FakeClassesRegistry;
using testing::FakePrompts;
using testing::Journal;
using Strings = std::vector<std::string>;

const char* const kProgram = "C:\\Games\\Tools\\Reelwright.exe";
const char* const kIcon = "C:\\Games\\Tools\\Graphics\\sof2.ico";
const char* const kCommand = "\"C:\\Games\\Tools\\Reelwright.exe\" \"%1\"";

class CreateAssociationTest : public ::testing::Test {
protected:
    void Create() {
        basAssociation::CreateFileAssociation(registry, prompts, ".dm_2004", kProgram, "SOF2_Demo_File",
                                              "SOF2 Demo File", kIcon);
    }
    Strings MessageTexts() const {
        Strings texts;
        for (const auto& m : prompts.messages) texts.push_back(m.text);
        return texts;
    }

    Journal journal;
    FakeClassesRegistry registry{&journal};
    FakePrompts prompts{&journal};
};

TEST_F(CreateAssociationTest, WritesSixKeysInOrderClosingEachBeforeTheNext) {
    Create();
    EXPECT_EQ(journal.entries, (Strings{
                                   "create .dm_2004",
                                   "set .dm_2004=SOF2_Demo_File",
                                   "close .dm_2004",
                                   "create SOF2_Demo_File",
                                   "set SOF2_Demo_File=SOF2 Demo File",
                                   "close SOF2_Demo_File",
                                   "create SOF2_Demo_File\\DefaultIcon",
                                   std::string("set SOF2_Demo_File\\DefaultIcon=") + kIcon,
                                   "close SOF2_Demo_File\\DefaultIcon",
                                   "create SOF2_Demo_File\\shell",
                                   "close SOF2_Demo_File\\shell",
                                   "create SOF2_Demo_File\\shell\\open",
                                   "close SOF2_Demo_File\\shell\\open",
                                   "create SOF2_Demo_File\\shell\\open\\command",
                                   std::string("set SOF2_Demo_File\\shell\\open\\command=") + kCommand,
                                   "close SOF2_Demo_File\\shell\\open\\command",
                               }));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(registry.openKeys.empty());
    EXPECT_EQ(registry.notifications, 0);
}

TEST_F(CreateAssociationTest, CreatingTwiceLeavesWhatCreatingOnceLeaves) {
    Create();
    const Strings once = registry.Dump();
    Create();
    EXPECT_EQ(registry.Dump(), once);
    EXPECT_EQ(once.size(), 6u);
}

TEST_F(CreateAssociationTest, OverwritesAnExistingValueAndKeepsOtherSubkeys) {
    registry.Put(".dm_2004", "OtherPlayer.Demo");
    registry.Put(".dm_2004\\OpenWithProgids");
    Create();
    EXPECT_EQ(registry.DefaultValue(".dm_2004"), "SOF2_Demo_File");
    EXPECT_TRUE(registry.Exists(".dm_2004\\OpenWithProgids"));
}

TEST_F(CreateAssociationTest, OpenCommandQuotesProgramAndArgument) {
    basAssociation::CreateFileAssociation(registry, prompts, ".dm_2004", "C:\\Program Files\\My Tools\\Reelwright.exe",
                                          "SOF2_Demo_File", "SOF2 Demo File", kIcon);
    EXPECT_EQ(registry.DefaultValue("SOF2_Demo_File\\shell\\open\\command"),
              "\"C:\\Program Files\\My Tools\\Reelwright.exe\" \"%1\"");
}

// A key that should receive a value but cannot be created ends the operation
// after both messages; a key without a value is only reported.
TEST_F(CreateAssociationTest, KeyCreationFailuresEndOnlyWhereAValueWasDue) {
    const struct {
        std::string failingKey;
        bool ends;
        std::size_t keysLeft;
    } cases[] = {
        {".dm_2004", true, 0},
        {"SOF2_Demo_File", true, 1},
        {"SOF2_Demo_File\\DefaultIcon", true, 2},
        {"SOF2_Demo_File\\shell", false, 0},
        {"SOF2_Demo_File\\shell\\open", false, 0},
        {"SOF2_Demo_File\\shell\\open\\command", true, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failingKey);
        Journal j;
        FakeClassesRegistry reg{&j};
        FakePrompts answers{&j};
        reg.failingCreates.insert(c.failingKey);
        basAssociation::CreateFileAssociation(reg, answers, ".dm_2004", kProgram, "SOF2_Demo_File", "SOF2 Demo File",
                                              kIcon);
        Strings texts;
        for (const auto& m : answers.messages) {
            texts.push_back(m.text);
            EXPECT_EQ(m.title, "Reelwright");
            EXPECT_EQ(m.icon, MessageIcon::None);
            EXPECT_EQ(m.buttons, MessageButtons::Ok);
        }
        if (c.ends) {
            EXPECT_EQ(texts, (Strings{"Error: Creating Key!", "Error Setting String Value!"}));
            EXPECT_EQ(j.entries.back(), "message Reelwright");
        } else {
            EXPECT_EQ(texts, (Strings{"Error: Creating Key!"}));
            EXPECT_EQ(j.entries.back(), "close SOF2_Demo_File\\shell\\open\\command");
        }
        // Nothing after an ending step was written.
        if (c.ends) EXPECT_EQ(reg.Dump().size(), c.keysLeft);
        EXPECT_TRUE(reg.openKeys.empty());
    }
}

TEST_F(CreateAssociationTest, ValueFailureClosesTheKeyAndEnds) {
    registry.failingValues.insert("SOF2_Demo_File\\DefaultIcon");
    Create();
    EXPECT_EQ(MessageTexts(), Strings{"Error Setting String Value!"});
    ASSERT_GE(journal.entries.size(), 3u);
    EXPECT_EQ(Strings(journal.entries.end() - 3, journal.entries.end()),
              (Strings{std::string("set SOF2_Demo_File\\DefaultIcon=") + kIcon, "message Reelwright",
                       "close SOF2_Demo_File\\DefaultIcon"}));
    EXPECT_TRUE(registry.openKeys.empty());
    // What the earlier steps wrote stays.
    EXPECT_EQ(registry.DefaultValue(".dm_2004"), "SOF2_Demo_File");
    EXPECT_EQ(registry.DefaultValue("SOF2_Demo_File"), "SOF2 Demo File");
    EXPECT_FALSE(registry.Exists("SOF2_Demo_File\\shell"));
}

TEST_F(CreateAssociationTest, NoRightToWriteShowsBothMessagesAndWritesNothing) {
    registry.failingCreates = {".dm_2004",      "SOF2_Demo_File", "SOF2_Demo_File\\DefaultIcon", "SOF2_Demo_File\\shell",
                               "SOF2_Demo_File\\shell\\open", "SOF2_Demo_File\\shell\\open\\command"};
    Create();
    EXPECT_EQ(MessageTexts(), (Strings{"Error: Creating Key!", "Error Setting String Value!"}));
    EXPECT_TRUE(registry.Dump().empty());
}

TEST(RemoveAssociationTest, DeletesSubkeysFirstThenNotifies) {
    Journal journal;
    FakeClassesRegistry registry{&journal};
    FakePrompts prompts;
    basAssociation::CreateFileAssociation(registry, prompts, ".dm_2004", kProgram, "SOF2_Demo_File", "SOF2 Demo File",
                                          kIcon);
    journal.entries.clear();
    basAssociation::RemoveFileAssociation(registry, "SOF2_Demo_File", ".dm_2004");
    EXPECT_EQ(journal.entries, (Strings{"delete .dm_2004", "delete SOF2_Demo_File\\DefaultIcon",
                                        "delete SOF2_Demo_File\\Shell\\Open\\Command",
                                        "delete SOF2_Demo_File\\Shell\\Open", "delete SOF2_Demo_File\\Shell",
                                        "delete SOF2_Demo_File", "notify"}));
    EXPECT_TRUE(registry.Dump().empty());
}

TEST(RemoveAssociationTest, NotifiesEvenWhenEveryDeletionFails) {
    FakeClassesRegistry registry;
    basAssociation::RemoveFileAssociation(registry, "SOF2_Demo_File", ".dm_2004");
    EXPECT_EQ(registry.calls.size(), 7u);
    EXPECT_EQ(registry.notifications, 1);
}

TEST(RemoveAssociationTest, ExtensionKeyWithItsOwnSubkeyStays) {
    FakeClassesRegistry registry;
    registry.Put(".dm_2004", "SOF2_Demo_File");
    registry.Put(".dm_2004\\ShellNew");
    basAssociation::RemoveFileAssociation(registry, "SOF2_Demo_File", ".dm_2004");
    EXPECT_TRUE(registry.Exists(".dm_2004"));
    EXPECT_EQ(registry.notifications, 1);
}

TEST(ProgramAssociationTest, UsesTheProgramsOwnPaths) {
    FakeClassesRegistry registry;
    FakePrompts prompts;
    basAssociation::RequestProgramAssociation(registry, prompts, ProgramLocation{"D:\\My Tools", "Reelwright"});
    EXPECT_EQ(registry.Dump(), (Strings{".dm_2004=SOF2_Demo_File", "SOF2_Demo_File=SOF2 Demo File",
                                        "SOF2_Demo_File\\DefaultIcon=D:\\My Tools\\Graphics\\sof2.ico",
                                        "SOF2_Demo_File\\shell", "SOF2_Demo_File\\shell\\open",
                                        "SOF2_Demo_File\\shell\\open\\command=\"D:\\My Tools\\Reelwright.exe\" \"%1\""}));
    basAssociation::RemoveProgramAssociation(registry);
    EXPECT_TRUE(registry.Dump().empty());
}

}  // namespace
}  // namespace reelwright

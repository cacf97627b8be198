#include "shell/basAssociation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "shell/AssociationCases.h"
#include "support/FakeClassesRegistry.h"
#include "support/Fakes.h"

namespace reelwright {
namespace {

using basAssociation::AssociationWritten;
using test::FakeClassesRegistry;
using test::FakePrompts;
using test::Journal;
using Strings = std::vector<std::string>;

const char* const kProgram = "C:\\Games\\Tools\\Reelwright.exe";
const char* const kIcon = "C:\\Games\\Tools\\Graphics\\sof2.ico";
const char* const kCommand = "\"C:\\Games\\Tools\\Reelwright.exe\" \"%1\"";
constexpr RegistryError kBadDatabase = 1009;  // ERROR_BADDB: a failure other than a refusal

// The journal of the six steps written under `root` ("HKCR" or "HKCU"), after
// the look at what the extension named before.
Strings SixSteps(const std::string& root) {
    const std::string r = root + "\\";
    return {
        "read " + r + ".dm_2004",
        "create " + r + ".dm_2004",
        "set " + r + ".dm_2004=SOF2_Demo_File",
        "close " + r + ".dm_2004",
        "create " + r + "SOF2_Demo_File",
        "set " + r + "SOF2_Demo_File=SOF2 Demo File",
        "close " + r + "SOF2_Demo_File",
        "create " + r + "SOF2_Demo_File\\DefaultIcon",
        "set " + r + "SOF2_Demo_File\\DefaultIcon=" + kIcon,
        "close " + r + "SOF2_Demo_File\\DefaultIcon",
        "create " + r + "SOF2_Demo_File\\shell",
        "close " + r + "SOF2_Demo_File\\shell",
        "create " + r + "SOF2_Demo_File\\shell\\open",
        "close " + r + "SOF2_Demo_File\\shell\\open",
        "create " + r + "SOF2_Demo_File\\shell\\open\\command",
        "set " + r + "SOF2_Demo_File\\shell\\open\\command=" + kCommand,
        "close " + r + "SOF2_Demo_File\\shell\\open\\command",
    };
}

const Strings kSixKeys{".dm_2004=SOF2_Demo_File",
                       "SOF2_Demo_File=SOF2 Demo File",
                       std::string("SOF2_Demo_File\\DefaultIcon=") + kIcon,
                       "SOF2_Demo_File\\shell",
                       "SOF2_Demo_File\\shell\\open",
                       std::string("SOF2_Demo_File\\shell\\open\\command=") + kCommand};

AssociationWritten Create(FakeClassesRegistry& registry, FakePrompts& prompts) {
    return basAssociation::CreateFileAssociation(registry, prompts, ".dm_2004", kProgram, "SOF2_Demo_File",
                                                 "SOF2 Demo File", kIcon);
}

Strings MessageTexts(const FakePrompts& prompts) {
    Strings texts;
    for (const auto& m : prompts.messages) {
        texts.push_back(m.text);
        EXPECT_EQ(m.title, "Reelwright");
        EXPECT_EQ(m.icon, MessageIcon::None);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
    return texts;
}

class CreateAssociationTest : public ::testing::Test {
protected:
    AssociationWritten Create() { return reelwright::Create(registry, prompts); }

    Journal journal;
    FakeClassesRegistry registry{&journal};
    FakePrompts prompts{&journal};
};

TEST_F(CreateAssociationTest, WritesSixKeysThroughTheMachineViewThenNotifiesTheShell) {
    EXPECT_EQ(Create(), AssociationWritten::Machine);
    Strings expected = SixSteps("HKCR");
    expected.push_back("notify");
    EXPECT_EQ(journal.entries, expected);
    EXPECT_EQ(registry.Dump(), kSixKeys);
    EXPECT_TRUE(registry.Dump(ClassesRoot::User).empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(registry.openKeys.empty());
}

TEST_F(CreateAssociationTest, OverwritesAnExistingValueKeepsOtherSubkeysAndRemembersTheFormerType) {
    registry.Put(".dm_2004", "OtherPlayer.Demo");
    registry.Put(".dm_2004\\OpenWithProgids");
    Create();
    EXPECT_EQ(registry.DefaultValue(".dm_2004"), "SOF2_Demo_File");
    EXPECT_TRUE(registry.Exists(".dm_2004\\OpenWithProgids"));
    // Remembered beside the type's description, after it, before the icon.
    const auto remembered = std::find(journal.entries.begin(), journal.entries.end(),
                                      "set HKCR\\SOF2_Demo_File[Reelwright Previous Type]=OtherPlayer.Demo");
    ASSERT_NE(remembered, journal.entries.end());
    EXPECT_EQ(*(remembered - 1), "set HKCR\\SOF2_Demo_File=SOF2 Demo File");
    EXPECT_EQ(*(remembered + 1), "close HKCR\\SOF2_Demo_File");

    // Created again over our own value, the former type stays remembered.
    Create();
    const Strings keys = registry.Dump();
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "SOF2_Demo_File[Reelwright Previous Type]=OtherPlayer.Demo"), 1);
}

TEST_F(CreateAssociationTest, OpenCommandQuotesProgramAndArgument) {
    basAssociation::CreateFileAssociation(registry, prompts, ".dm_2004", "C:\\Program Files\\My Tools\\Reelwright.exe",
                                          "SOF2_Demo_File", "SOF2 Demo File", kIcon);
    EXPECT_EQ(registry.DefaultValue("SOF2_Demo_File\\shell\\open\\command"),
              "\"C:\\Program Files\\My Tools\\Reelwright.exe\" \"%1\"");
}

// A refusal for lack of access, at whichever step of the machine view, is not
// shown: the six keys are written again, in the same order, in the user's classes.
TEST_F(CreateAssociationTest, AccessDeniedAtAnyMachineStepRedoesAllSixInTheUsersClasses) {
    const Strings keys{".dm_2004", "SOF2_Demo_File", "SOF2_Demo_File\\DefaultIcon", "SOF2_Demo_File\\shell",
                       "SOF2_Demo_File\\shell\\open", "SOF2_Demo_File\\shell\\open\\command"};
    for (std::size_t step = 0; step < keys.size(); ++step) {
        for (bool valueRefused : {false, true}) {
            const bool hasValue = step != 3 && step != 4;
            if (valueRefused && !hasValue) continue;
            SCOPED_TRACE(keys[step] + (valueRefused ? " (value)" : " (key)"));
            Journal j;
            FakeClassesRegistry reg{&j};
            FakePrompts answers{&j};
            const FakeClassesRegistry::Place place{ClassesRoot::Machine, keys[step]};
            (valueRefused ? reg.failingValues : reg.failingCreates)[place] = kRegistryAccessDenied;

            EXPECT_EQ(reelwright::Create(reg, answers), AssociationWritten::User);

            // The machine's steps up to the refused one, then all six for the user.
            const Strings machine = SixSteps("HKCR");
            const auto refused = std::find(machine.begin(), machine.end(), "create HKCR\\" + keys[step]);
            // Up to the refused creation, or up to the refused value and the closing of its key.
            Strings expected(machine.begin(), refused + (valueRefused ? 3 : 1));
            const Strings user = SixSteps("HKCU");
            expected.insert(expected.end(), user.begin(), user.end());
            expected.push_back("notify");
            EXPECT_EQ(j.entries, expected);
            EXPECT_TRUE(answers.messages.empty());
            EXPECT_EQ(reg.Dump(ClassesRoot::User), kSixKeys);
            EXPECT_TRUE(reg.openKeys.empty());
        }
    }
}

TEST_F(CreateAssociationTest, RefusedInBothRootsShowsTheTwoBoxesAndWritesNothing) {
    registry.deniedRoots = {ClassesRoot::Machine, ClassesRoot::User};
    EXPECT_EQ(Create(), AssociationWritten::Failed);
    EXPECT_EQ(MessageTexts(prompts), (Strings{"Error: Creating Key!", "Error Setting String Value!"}));
    EXPECT_EQ(journal.entries, (Strings{"read HKCR\\.dm_2004", "create HKCR\\.dm_2004", "read HKCU\\.dm_2004",
                                        "create HKCU\\.dm_2004", "message Reelwright", "message Reelwright"}));
    EXPECT_TRUE(registry.Dump().empty());
    EXPECT_TRUE(registry.Dump(ClassesRoot::User).empty());
    EXPECT_EQ(registry.notifications, 0);
}

// Failures other than a refusal keep the single-root behaviour: a key that
// should receive a value but cannot be created ends the operation after both
// messages; a key without a value is only reported. The user's classes are
// not tried.
TEST_F(CreateAssociationTest, OtherKeyCreationFailuresEndOnlyWhereAValueWasDue) {
    const struct {
        ClassesRoot root;
        std::string failingKey;
        bool ends;
        std::size_t keysLeft;
    } cases[] = {
        {ClassesRoot::Machine, ".dm_2004", true, 0},
        {ClassesRoot::Machine, "SOF2_Demo_File", true, 1},
        {ClassesRoot::Machine, "SOF2_Demo_File\\DefaultIcon", true, 2},
        {ClassesRoot::Machine, "SOF2_Demo_File\\shell", false, 6},
        {ClassesRoot::Machine, "SOF2_Demo_File\\shell\\open", false, 6},
        {ClassesRoot::Machine, "SOF2_Demo_File\\shell\\open\\command", true, 5},
        // In the user's classes after a refusal, every failure is shown.
        {ClassesRoot::User, "SOF2_Demo_File\\DefaultIcon", true, 2},
        {ClassesRoot::User, "SOF2_Demo_File\\shell\\open", false, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(FakeClassesRegistry::RootName(c.root) + "\\" + c.failingKey);
        Journal j;
        FakeClassesRegistry reg{&j};
        FakePrompts answers{&j};
        if (c.root == ClassesRoot::User) reg.failingCreates[{ClassesRoot::Machine, ".dm_2004"}] = kRegistryAccessDenied;
        reg.failingCreates[{c.root, c.failingKey}] = c.root == ClassesRoot::User ? kRegistryAccessDenied : kBadDatabase;

        const AssociationWritten written = reelwright::Create(reg, answers);
        if (c.ends) {
            EXPECT_EQ(written, AssociationWritten::Failed);
            EXPECT_EQ(MessageTexts(answers), (Strings{"Error: Creating Key!", "Error Setting String Value!"}));
            EXPECT_EQ(j.entries.back(), "message Reelwright");
            EXPECT_EQ(reg.notifications, 0);
        } else {
            EXPECT_EQ(written, c.root == ClassesRoot::User ? AssociationWritten::User : AssociationWritten::Machine);
            EXPECT_EQ(MessageTexts(answers), (Strings{"Error: Creating Key!"}));
            EXPECT_EQ(j.entries.back(), "notify");
        }
        // Nothing after an ending step was written.
        EXPECT_EQ(reg.Dump(c.root).size(), c.keysLeft);
        if (c.root == ClassesRoot::Machine) {
            EXPECT_TRUE(reg.Dump(ClassesRoot::User).empty());
        }
        EXPECT_TRUE(reg.openKeys.empty());
    }
}

TEST_F(CreateAssociationTest, ValueFailureClosesTheKeyAndEnds) {
    registry.failingValues[{ClassesRoot::Machine, "SOF2_Demo_File\\DefaultIcon"}] = kBadDatabase;
    EXPECT_EQ(Create(), AssociationWritten::Failed);
    EXPECT_EQ(MessageTexts(prompts), Strings{"Error Setting String Value!"});
    ASSERT_GE(journal.entries.size(), 3u);
    EXPECT_EQ(Strings(journal.entries.end() - 3, journal.entries.end()),
              (Strings{std::string("set HKCR\\SOF2_Demo_File\\DefaultIcon=") + kIcon, "message Reelwright",
                       "close HKCR\\SOF2_Demo_File\\DefaultIcon"}));
    EXPECT_TRUE(registry.openKeys.empty());
    // What the earlier steps wrote stays.
    EXPECT_EQ(registry.DefaultValue(".dm_2004"), "SOF2_Demo_File");
    EXPECT_EQ(registry.DefaultValue("SOF2_Demo_File"), "SOF2 Demo File");
    EXPECT_FALSE(registry.Exists("SOF2_Demo_File\\shell"));
}

class RemoveAssociationTest : public ::testing::Test {
protected:
    // Our six keys in `root`.
    void Seed(ClassesRoot root) {
        for (const auto& line : kSixKeys) {
            const auto equals = line.find('=');
            if (equals == std::string::npos)
                registry.Put(line, std::nullopt, root);
            else
                registry.Put(line.substr(0, equals), line.substr(equals + 1), root);
        }
    }
    basAssociation::AssociationRemoval Remove() {
        return basAssociation::RemoveFileAssociation(registry, "SOF2_Demo_File", ".dm_2004", kProgram);
    }

    Journal journal;
    FakeClassesRegistry registry{&journal};
};

TEST_F(RemoveAssociationTest, DeletesOursInTheUsersClassesThenTheMachinesSubkeysFirstThenNotifies) {
    Seed(ClassesRoot::Machine);
    Seed(ClassesRoot::User);
    const auto removal = Remove();
    Strings expected;
    for (const std::string root : {"HKCU\\", "HKCR\\"}) {
        const Strings steps{"read " + root + "SOF2_Demo_File\\shell\\open\\command",
                            "read " + root + "SOF2_Demo_File[Reelwright Previous Type]",
                            "read " + root + ".dm_2004",
                            "delete " + root + ".dm_2004",
                            "read " + root + ".dm_2004",
                            "delete " + root + "SOF2_Demo_File\\DefaultIcon",
                            "delete " + root + "SOF2_Demo_File\\Shell\\Open\\Command",
                            "delete " + root + "SOF2_Demo_File\\Shell\\Open",
                            "delete " + root + "SOF2_Demo_File\\Shell",
                            "delete " + root + "SOF2_Demo_File"};
        expected.insert(expected.end(), steps.begin(), steps.end());
    }
    expected.push_back("notify");
    EXPECT_EQ(journal.entries, expected);
    EXPECT_TRUE(registry.Dump().empty());
    EXPECT_TRUE(registry.Dump(ClassesRoot::User).empty());
    EXPECT_EQ(removal.keysDeleted, 12);
    EXPECT_FALSE(removal.foreignExtensionKept);
}

TEST_F(RemoveAssociationTest, ExtensionPointingElsewhereIsKeptWithItsSubkeys) {
    Seed(ClassesRoot::Machine);
    registry.Put(".dm_2004", "OtherPlayer.Demo");
    registry.Put(".dm_2004\\OpenWithProgids");
    registry.Put(".dm_2004", "OtherPlayer.Demo", ClassesRoot::User);
    const auto removal = Remove();
    EXPECT_EQ(registry.Dump(), (Strings{".dm_2004=OtherPlayer.Demo", ".dm_2004\\OpenWithProgids"}));
    EXPECT_EQ(registry.Dump(ClassesRoot::User), Strings{".dm_2004=OtherPlayer.Demo"});
    for (const char* call : {"delete HKCR\\.dm_2004", "delete HKCU\\.dm_2004"})
        EXPECT_EQ(std::count(registry.calls.begin(), registry.calls.end(), call), 0) << call;
    EXPECT_TRUE(removal.foreignExtensionKept);
    EXPECT_EQ(registry.notifications, 1);
}

TEST_F(RemoveAssociationTest, ExtensionNamingOurTypeInAnotherCaseIsOurs) {
    Seed(ClassesRoot::Machine);
    registry.Put(".dm_2004", "sof2_demo_file");
    Remove();
    EXPECT_FALSE(registry.Exists(".dm_2004"));
}

TEST_F(RemoveAssociationTest, NotifiesEvenWhenNothingIsRegistered) {
    const auto removal = Remove();
    EXPECT_EQ(journal.entries, (Strings{"read HKCU\\SOF2_Demo_File\\shell\\open\\command",
                                        "read HKCR\\SOF2_Demo_File\\shell\\open\\command", "notify"}));
    EXPECT_EQ(registry.notifications, 1);
    EXPECT_EQ(removal.keysDeleted, 0);
}

// A type of our name that opens files with another program (another copy of
// the program, or another program altogether) is left in that root, and so is
// the extension that names it.
TEST_F(RemoveAssociationTest, AForeignCommandUnderOurTypeNameLeavesThatRootAlone) {
    Seed(ClassesRoot::Machine);
    registry.Put("SOF2_Demo_File\\shell\\open\\command", "\"C:\\Other\\Player.exe\" \"%1\"");
    Seed(ClassesRoot::User);
    const auto removal = Remove();
    EXPECT_TRUE(registry.Dump(ClassesRoot::User).empty());
    EXPECT_EQ(registry.Dump().size(), 6u);
    EXPECT_EQ(registry.DefaultValue(".dm_2004"), "SOF2_Demo_File");
    EXPECT_TRUE(removal.foreignTypeKept);
}

// Another program owned ".dm_2004", with an OpenWithProgids subkey as Explorer
// and installers add; the association took it over and is removed again: the
// other program's type comes back and nothing of ours is left. Under Wine the
// two roots are apart; on Windows the machine view merges them, and the other
// program's key may lie in either.
TEST(AssociationRoundTripTest, TakeOverThenRemovalGivesThePreviousTypeBack) {
    const struct {
        const char* name;
        bool merged;
        ClassesRoot otherRoot;   // where the other program's extension key lies
        bool machineRefused;     // a standard user: the user's classes are written
        bool writtenBack;        // false: deleting our key brings the other program's to light
    } cases[] = {
        {"Wine, machine's classes", false, ClassesRoot::Machine, false, true},
        {"Wine, refused: user's classes", false, ClassesRoot::User, true, true},
        {"Windows, machine's classes", true, ClassesRoot::Machine, false, true},
        {"Windows, the other program's key in the user's classes", true, ClassesRoot::User, false, true},
        {"Windows, refused: user's classes over the machine's", true, ClassesRoot::Machine, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClassesRegistry registry;
        FakePrompts prompts;
        registry.windowsMergedView = c.merged;
        registry.Put(".dm_2004", "OtherPlayer.Demo", c.otherRoot);
        registry.Put(".dm_2004\\OpenWithProgids", std::nullopt, c.otherRoot);
        registry.Put("OtherPlayer.Demo\\shell\\open\\command", "\"C:\\Other\\Player.exe\" \"%1\"", c.otherRoot);
        const Strings before = registry.Dump(c.otherRoot);
        const Strings otherBefore = registry.Dump(c.otherRoot == ClassesRoot::User ? ClassesRoot::Machine
                                                                                   : ClassesRoot::User);
        if (c.machineRefused) {
            registry.failingCreates[{ClassesRoot::Machine, ".dm_2004"}] = kRegistryAccessDenied;
            registry.failingDeletes[{ClassesRoot::Machine, ".dm_2004"}] = kRegistryAccessDenied;
        }

        Create(registry, prompts);
        Create(registry, prompts);  // a second time changes nothing
        ASSERT_TRUE(basAssociation::IsAssociationOurs(registry, ".dm_2004", "SOF2_Demo_File", kProgram));

        const auto removal = basAssociation::RemoveFileAssociation(registry, "SOF2_Demo_File", ".dm_2004", kProgram);
        EXPECT_EQ(removal.previousTypeRestored, c.writtenBack);
        EXPECT_EQ(registry.Dump(c.otherRoot), before);
        EXPECT_EQ(registry.Dump(c.otherRoot == ClassesRoot::User ? ClassesRoot::Machine : ClassesRoot::User),
                  otherBefore);
        EXPECT_TRUE(prompts.messages.empty());
    }
}

// No type was named before, and the extension's key has a subkey of its own:
// only its default value goes.
TEST(AssociationRoundTripTest, NoPreviousTypeAndASubkeyLeavesTheKeyWithoutADefaultValue) {
    for (bool merged : {false, true}) {
        SCOPED_TRACE(merged ? "Windows" : "Wine");
        FakeClassesRegistry registry;
        FakePrompts prompts;
        registry.windowsMergedView = merged;
        registry.Put(".dm_2004\\OpenWithProgids");
        Create(registry, prompts);
        basAssociation::RemoveFileAssociation(registry, "SOF2_Demo_File", ".dm_2004", kProgram);
        EXPECT_EQ(registry.Dump(), (Strings{".dm_2004", ".dm_2004\\OpenWithProgids"}));
    }
}

// On Windows, once the user's keys are gone the machine view shows the
// machine's: a removal (as an elevated one would) must not then delete
// another program's type of our name there, nor its extension key.
TEST(AssociationRoundTripTest, MachineViewAfterTheUsersKeysLeavesAnotherProgramsTypeOfOurName) {
    FakeClassesRegistry registry;
    registry.windowsMergedView = true;
    const std::string foreign = "\"C:\\Other\\Player.exe\" \"%1\"";
    registry.Put(".dm_2004", "SOF2_Demo_File");
    registry.Put("SOF2_Demo_File", "Other demo");
    registry.Put("SOF2_Demo_File\\shell\\open\\command", foreign);
    const Strings machine = registry.Dump();
    for (const auto& line : kSixKeys) {
        const auto equals = line.find('=');
        registry.Put(line.substr(0, equals),
                     equals == std::string::npos ? std::nullopt : std::optional(line.substr(equals + 1)),
                     ClassesRoot::User);
    }
    ASSERT_TRUE(basAssociation::IsAssociationOurs(registry, ".dm_2004", "SOF2_Demo_File", kProgram));

    const auto removal = basAssociation::RemoveFileAssociation(registry, "SOF2_Demo_File", ".dm_2004", kProgram);
    EXPECT_TRUE(registry.Dump(ClassesRoot::User).empty());
    EXPECT_EQ(registry.Dump(), machine);
    EXPECT_TRUE(removal.foreignTypeKept);
    // And once more, as a second removal would.
    basAssociation::RemoveFileAssociation(registry, "SOF2_Demo_File", ".dm_2004", kProgram);
    EXPECT_EQ(registry.Dump(), machine);
}

// Whether ".dm_2004" opens with this very program, from what the two roots hold.
TEST(AssociationOwnershipTest, OursOnlyWhenTheExtensionAndTheCommandBothLeadHere) {
    const std::string ours = kCommand;
    const std::string stale = "\"D:\\Old\\Reelwright.exe\" \"%1\"";
    const struct {
        const char* name;
        std::optional<std::string> machineType, machineCommand, userType, userCommand;
        bool expected;
    } cases[] = {
        {"written through the machine view", "SOF2_Demo_File", ours, {}, {}, true},
        {"written in the user's classes", {}, {}, "SOF2_Demo_File", ours, true},
        {"nothing registered", {}, {}, {}, {}, false},
        {"a stale program path", "SOF2_Demo_File", stale, {}, {}, false},
        {"a stale path in the machine view hides the user's", "SOF2_Demo_File", stale, "SOF2_Demo_File", ours, false},
        {"the extension points elsewhere", "OtherPlayer.Demo", ours, {}, {}, false},
        {"another program's extension in the machine view", "OtherPlayer.Demo", {}, "SOF2_Demo_File", ours, false},
        {"the type has no command", "SOF2_Demo_File", {}, {}, {}, false},
        {"the same path in another case", "sof2_demo_file",
         std::string("\"c:\\games\\TOOLS\\reelwright.EXE\" \"%1\""), {}, {}, true},
        {"the command without quotes", "SOF2_Demo_File", std::string("C:\\Games\\Tools\\Reelwright.exe %1"), {}, {},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClassesRegistry registry;
        const char* commandKey = "SOF2_Demo_File\\shell\\open\\command";
        if (c.machineType) registry.Put(".dm_2004", c.machineType, ClassesRoot::Machine);
        if (c.machineCommand) registry.Put(commandKey, c.machineCommand, ClassesRoot::Machine);
        if (c.userType) registry.Put(".dm_2004", c.userType, ClassesRoot::User);
        if (c.userCommand) registry.Put(commandKey, c.userCommand, ClassesRoot::User);
        EXPECT_EQ(basAssociation::IsAssociationOurs(registry, ".dm_2004", "SOF2_Demo_File", kProgram), c.expected);
        for (const auto& call : registry.calls) EXPECT_EQ(call.rfind("read ", 0), 0u) << call;  // reads only
    }
}

TEST(ProgramAssociationTest, UsesTheProgramsOwnPaths) {
    FakeClassesRegistry registry;
    FakePrompts prompts;
    const ProgramLocation location{"D:\\My Tools", "Reelwright"};
    EXPECT_FALSE(basAssociation::IsProgramAssociated(registry, location));
    basAssociation::RequestProgramAssociation(registry, prompts, location);
    EXPECT_EQ(registry.Dump(), (Strings{".dm_2004=SOF2_Demo_File", "SOF2_Demo_File=SOF2 Demo File",
                                        "SOF2_Demo_File\\DefaultIcon=D:\\My Tools\\Graphics\\sof2.ico",
                                        "SOF2_Demo_File\\shell", "SOF2_Demo_File\\shell\\open",
                                        "SOF2_Demo_File\\shell\\open\\command=\"D:\\My Tools\\Reelwright.exe\" \"%1\""}));
    EXPECT_TRUE(basAssociation::IsProgramAssociated(registry, location));
    EXPECT_FALSE(basAssociation::IsProgramAssociated(registry, ProgramLocation{"D:\\Other", "Reelwright"}));
    basAssociation::RemoveProgramAssociation(registry, location);
    EXPECT_TRUE(registry.Dump().empty());
    EXPECT_FALSE(basAssociation::IsProgramAssociated(registry, location));
}

// The cases shared with the real registry, over the fake.
struct FakeClasses {
    ClassesRegistry& registry() { return fake; }
    void Put(const std::string& subkey, std::optional<std::string> value, ClassesRoot root) {
        fake.Put(subkey, std::move(value), root);
    }
    Strings Dump(ClassesRoot root) const { return fake.Dump(root); }
    FakeClassesRegistry fake;
};
using namespace reelwright::test;
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, AssociationCases, FakeClasses);

}  // namespace
}  // namespace reelwright

// The file association's behaviour against a classes registry, written once
// and run over two: the recording fake natively (tests/shell) and the real
// registry of the test prefix under Wine (tests/shell/win). `Classes` gives
// registry(), Put(subkey, value, root) to seed a key, and Dump(root): every
// key as "<name>" or "<name>=<default value>", each named value following as
// "<name>[<value name>]=<value>", sorted without regard to case. The roots
// are apart, as Wine keeps them: the machine view is the machine's classes.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/ProgramLocation.h"
#include "shell/basAssociation.h"
#include "support/FakeClassesRegistry.h"
#include "support/Fakes.h"

namespace reelwright::test {

template <typename Classes>
class AssociationCases : public ::testing::Test {
protected:
    using Strings = std::vector<std::string>;
    static inline const ProgramLocation kTools{"C:\\Games\\Tools", "Reelwright"};
    static inline const Strings kOurs{
        ".dm_2004=SOF2_Demo_File",
        "SOF2_Demo_File=SOF2 Demo File",
        "SOF2_Demo_File\\DefaultIcon=C:\\Games\\Tools\\Graphics\\sof2.ico",
        "SOF2_Demo_File\\shell",
        "SOF2_Demo_File\\shell\\open",
        "SOF2_Demo_File\\shell\\open\\command=\"C:\\Games\\Tools\\Reelwright.exe\" \"%1\"",
    };

    basAssociation::AssociationWritten Create() {
        return basAssociation::RequestProgramAssociation(classes.registry(), prompts, kTools);
    }
    basAssociation::AssociationRemoval Remove() {
        return basAssociation::RemoveProgramAssociation(classes.registry(), kTools);
    }
    bool Ours() { return basAssociation::IsProgramAssociated(classes.registry(), kTools); }

    Classes classes;
    FakePrompts prompts;
};

TYPED_TEST_SUITE_P(AssociationCases);

TYPED_TEST_P(AssociationCases, CreatesTheSixKeysThroughTheMachineViewAndKnowsThemForOurs) {
    EXPECT_EQ(this->Create(), basAssociation::AssociationWritten::Machine);
    EXPECT_EQ(this->classes.Dump(ClassesRoot::Machine), this->kOurs);
    EXPECT_TRUE(this->classes.Dump(ClassesRoot::User).empty());
    EXPECT_TRUE(this->prompts.messages.empty());
    EXPECT_TRUE(this->Ours());
    EXPECT_FALSE(basAssociation::IsProgramAssociated(this->classes.registry(), {"C:\\Games\\Old", "Reelwright"}));
}

TYPED_TEST_P(AssociationCases, CreatingTwiceLeavesWhatCreatingOnceLeaves) {
    this->Create();
    const auto once = this->classes.Dump(ClassesRoot::Machine);
    this->Create();
    EXPECT_EQ(this->classes.Dump(ClassesRoot::Machine), once);
    EXPECT_TRUE(this->prompts.messages.empty());
}

TYPED_TEST_P(AssociationCases, RemovingLeavesNothingAndRemovingNothingIsSilent) {
    EXPECT_EQ(this->Remove().keysDeleted, 0);
    this->Create();
    EXPECT_GT(this->Remove().keysDeleted, 0);
    EXPECT_TRUE(this->classes.Dump(ClassesRoot::Machine).empty());
    EXPECT_TRUE(this->classes.Dump(ClassesRoot::User).empty());
    EXPECT_FALSE(this->Ours());
    EXPECT_TRUE(this->prompts.messages.empty());
}

// The extension's key cannot be deleted while it has a subkey: it stays,
// naming no type, rather than naming one that is gone.
TYPED_TEST_P(AssociationCases, OurExtensionKeyWithASubkeyOfItsOwnLosesOnlyItsDefaultValue) {
    this->Create();
    this->classes.Put(".dm_2004\\ShellNew", std::nullopt, ClassesRoot::Machine);
    this->Remove();
    EXPECT_EQ(this->classes.Dump(ClassesRoot::Machine), (typename TestFixture::Strings{".dm_2004", ".dm_2004\\ShellNew"}));
}

// Another program owned ".dm_2004" (with the OpenWithProgids subkey that
// Explorer adds): taking it over and removing the association again gives the
// other program its type back, and nothing of ours is left.
TYPED_TEST_P(AssociationCases, TakeOverThenRemovalGivesTheOtherProgramsTypeBack) {
    this->classes.Put(".dm_2004", "OtherPlayer.Demo", ClassesRoot::Machine);
    this->classes.Put(".dm_2004\\OpenWithProgids", std::nullopt, ClassesRoot::Machine);
    this->Create();
    ASSERT_TRUE(this->Ours());
    EXPECT_TRUE(this->Remove().previousTypeRestored);
    EXPECT_EQ(this->classes.Dump(ClassesRoot::Machine),
              (typename TestFixture::Strings{".dm_2004=OtherPlayer.Demo", ".dm_2004\\OpenWithProgids"}));
    EXPECT_TRUE(this->prompts.messages.empty());
}

// Another program took ".dm_2004" after the association was made: removal
// takes back only our own type and leaves the other program's key as it is.
TYPED_TEST_P(AssociationCases, AnotherProgramsLaterExtensionIsKeptWithItsSubkey) {
    this->Create();
    this->classes.Put(".dm_2004", "OtherPlayer.Demo", ClassesRoot::Machine);
    this->classes.Put(".dm_2004\\OpenWithProgids", std::nullopt, ClassesRoot::Machine);
    EXPECT_FALSE(this->Ours());
    EXPECT_TRUE(this->Remove().foreignExtensionKept);
    EXPECT_EQ(this->classes.Dump(ClassesRoot::Machine),
              (typename TestFixture::Strings{".dm_2004=OtherPlayer.Demo", ".dm_2004\\OpenWithProgids"}));
    EXPECT_TRUE(this->classes.Dump(ClassesRoot::User).empty());
}

// The machine view refused (as it does a standard user): the same six keys are
// written under the user's classes with no message; removal takes them away.
TYPED_TEST_P(AssociationCases, ARefusedMachineViewWritesTheUsersClasses) {
    DenyingClassesRegistry standardUser(this->classes.registry(), {ClassesRoot::Machine});
    EXPECT_EQ(basAssociation::RequestProgramAssociation(standardUser, this->prompts, this->kTools),
              basAssociation::AssociationWritten::User);
    EXPECT_TRUE(this->prompts.messages.empty());
    EXPECT_EQ(this->classes.Dump(ClassesRoot::User), this->kOurs);
    EXPECT_TRUE(this->classes.Dump(ClassesRoot::Machine).empty());
    EXPECT_TRUE(basAssociation::IsProgramAssociated(standardUser, this->kTools));

    basAssociation::RemoveProgramAssociation(standardUser, this->kTools);
    EXPECT_TRUE(this->classes.Dump(ClassesRoot::User).empty());
    EXPECT_FALSE(basAssociation::IsProgramAssociated(standardUser, this->kTools));
}

// Removal reaches both roots and in each deletes only what is ours: here the
// user's classes hold another program's extension and a type of our name that
// opens files with another copy of the program.
TYPED_TEST_P(AssociationCases, RemovalDeletesOursInBothRootsAndOnlyOurs) {
    this->Create();
    this->classes.Put(".dm_2004", "OtherPlayer.Demo", ClassesRoot::User);
    this->classes.Put("SOF2_Demo_File\\shell\\open\\command", "\"C:\\Old\\Reelwright.exe\" \"%1\"", ClassesRoot::User);
    this->Remove();
    EXPECT_TRUE(this->classes.Dump(ClassesRoot::Machine).empty());
    EXPECT_EQ(this->classes.Dump(ClassesRoot::User),
              (typename TestFixture::Strings{".dm_2004=OtherPlayer.Demo", "SOF2_Demo_File", "SOF2_Demo_File\\shell",
                                             "SOF2_Demo_File\\shell\\open",
                                             "SOF2_Demo_File\\shell\\open\\command=\"C:\\Old\\Reelwright.exe\" \"%1\""}));
}

REGISTER_TYPED_TEST_SUITE_P(AssociationCases, CreatesTheSixKeysThroughTheMachineViewAndKnowsThemForOurs,
                            CreatingTwiceLeavesWhatCreatingOnceLeaves, RemovingLeavesNothingAndRemovingNothingIsSilent,
                            OurExtensionKeyWithASubkeyOfItsOwnLosesOnlyItsDefaultValue,
                            TakeOverThenRemovalGivesTheOtherProgramsTypeBack,
                            AnotherProgramsLaterExtensionIsKeptWithItsSubkey, ARefusedMachineViewWritesTheUsersClasses,
                            RemovalDeletesOursInBothRootsAndOnlyOurs);

}  // namespace reelwright::test

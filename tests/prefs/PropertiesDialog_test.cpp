#include "prefs/PropertiesDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/FakeClassesRegistry.h"
#include "support/Fakes.h"
#include "core/Version.h"

namespace reelwright {
namespace {

using test::FakeClassesRegistry;
using test::FakeElevatedRunner;
using test::FakeFileSystem;
using test::FakeGameShell;
using test::FakePrompts;
using test::FakeSettingsStore;
using test::Journal;

const char* const kOurCommand = "\"C:\\Games\\Tools\\Reelwright.exe\" \"%1\"";

// The dialog's controls, with what the logic did to them written to the journal.
class FakePropertiesView : public PropertiesView {
public:
    explicit FakePropertiesView(Journal& journal) : journal_(journal) {}

    bool IsTicked(PropertiesOption option) override { return ticked[option]; }
    void SetTicked(PropertiesOption option, bool value) override { ticked[option] = value; }
    std::string BindText(int index) override { return binds[index]; }
    void SetBindText(int index, const std::string& text) override {
        journal_.Add("box " + std::to_string(index) + "=" + text);
        binds[index] = text;
    }
    void SetBindLocked(int index, bool value) override { locked[index] = value; }
    void EnableMainWindow() override { journal_.Add("enable main"); }
    void CloseDialog() override { journal_.Add("close"); }

    std::map<PropertiesOption, bool> ticked;
    std::array<std::string, kBindCount> binds;
    std::array<bool, kBindCount> locked{};

private:
    Journal& journal_;
};

class PropertiesDialogTest : public ::testing::Test {
protected:
    // The journal entries that start with `prefix`.
    std::vector<std::string> Entries(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& entry : journal.entries)
            if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
        return found;
    }
    // The registry entries of this program's association, as an earlier OK left them.
    void RegisterUs(ClassesRoot root = ClassesRoot::Machine) {
        classes.Put(".dm_2004", "SOF2_Demo_File", root);
        classes.Put("SOF2_Demo_File\\shell\\open\\command", kOurCommand, root);
    }
    // The calls that change the classes registry (anything but reads).
    std::vector<std::string> RegistryWrites() const {
        std::vector<std::string> found;
        for (const auto& call : classes.calls)
            if (call.rfind("read ", 0) != 0) found.push_back(call);
        return found;
    }
    void OpenAndConfirm() {
        ASSERT_TRUE(dialog.Load());
        journal.entries.clear();
        dialog.Ok();
    }

    Journal journal;
    FakeSettingsStore store{&journal};
    FakePrompts prompts{&journal};
    FakeFileSystem files;
    FakeGameShell shell;
    FakeClassesRegistry classes{&journal};
    FakeElevatedRunner elevation{&journal};
    AppServices services{store, prompts, files, shell, classes, elevation, ProgramLocation{"C:\\Games\\Tools", "Reelwright"}};
    FakePropertiesView view{journal};
    PropertiesDialog dialog{services, view};
};

TEST_F(PropertiesDialogTest, FreshStoreOpensWithTheOptionsTickedAndTheDialogsDefaultKeys) {
    RegisterUs();
    ASSERT_TRUE(dialog.Load());

    EXPECT_EQ(journal.entries,
              (std::vector<std::string>{"get Settings/Associate", "get Settings/Min on Playback",
                                        "get Settings/Load Splash", "read HKCR\\.dm_2004",
                                        "read HKCR\\SOF2_Demo_File\\shell\\open\\command", "get Binds/Bind0",
                                        "box 0=F8", "get Binds/Bind1",
                                        "box 1=F2", "get Binds/Bind2", "box 2=F3", "get Binds/Bind3", "box 3=F4",
                                        "get Binds/Bind4", "box 4=F5", "get Binds/Bind5", "box 5=F6",
                                        "get Binds/Bind6", "box 6=F7", "get Binds/Bind7", "box 7=F1"}));
    EXPECT_TRUE(view.ticked[PropertiesOption::Associate]);
    EXPECT_TRUE(view.ticked[PropertiesOption::MinOnPlayback]);
    EXPECT_TRUE(view.ticked[PropertiesOption::LoadSplash]);
    EXPECT_TRUE(view.ticked[PropertiesOption::LoadExtraConfig]);
    for (int i = 0; i < kBindCount; ++i) EXPECT_TRUE(view.locked[i]) << i;
    EXPECT_TRUE(dialog.captureMode());
}

TEST_F(PropertiesDialogTest, OnlyTheNumberOneTicksAnOption) {
    store.Put(kSectionSettings, kKeyAssociate, "0");
    store.Put(kSectionSettings, kKeyMinOnPlayback, "1.9");  // whole part 1
    store.Put(kSectionSettings, kKeyLoadSplash, "yes");
    store.Put(kSectionBinds, "Bind3", " Q");
    ASSERT_TRUE(dialog.Load());

    EXPECT_FALSE(view.ticked[PropertiesOption::Associate]);
    EXPECT_TRUE(view.ticked[PropertiesOption::MinOnPlayback]);
    EXPECT_FALSE(view.ticked[PropertiesOption::LoadSplash]);
    EXPECT_TRUE(view.ticked[PropertiesOption::LoadExtraConfig]);
    EXPECT_EQ(view.binds[3], " Q");  // binds are shown as stored, untrimmed

    store.Put(kSectionSettings, kKeyLoadSplash, "2");
    ASSERT_TRUE(dialog.Load());
    EXPECT_FALSE(view.ticked[PropertiesOption::LoadSplash]);
}

TEST_F(PropertiesDialogTest, OkStoresEveryValueInOrderThenEnablesTheMainWindowAndCloses) {
    RegisterUs();
    OpenAndConfirm();

    std::vector<std::string> stores_and_view;
    for (const auto& entry : journal.entries)
        if (entry.rfind("save ", 0) == 0 || entry == "enable main" || entry == "close") stores_and_view.push_back(entry);
    EXPECT_EQ(stores_and_view,
              (std::vector<std::string>{"save Settings/Associate=1", "save Settings/Load Splash=1",
                                        "save Settings/Min on Playback=1", "save Settings/Load Extra Config=1",
                                        "save Binds/Bind0=F8", "save Binds/Bind1=F2", "save Binds/Bind2=F3",
                                        "save Binds/Bind3=F4", "save Binds/Bind4=F5", "save Binds/Bind5=F6",
                                        "save Binds/Bind6=F7", "save Binds/Bind7=F1", "enable main", "close"}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PropertiesDialogTest, ClearedOptionsAreStoredAsZero) {
    ASSERT_TRUE(dialog.Load());
    view.ticked[PropertiesOption::LoadSplash] = false;
    view.ticked[PropertiesOption::MinOnPlayback] = false;
    dialog.Ok();
    EXPECT_EQ(store.Stored(kSectionSettings, kKeyLoadSplash), "0");
    EXPECT_EQ(store.Stored(kSectionSettings, kKeyMinOnPlayback), "0");
    EXPECT_EQ(store.Stored(kSectionSettings, kKeyLoadExtraConfig), "1");
}

// The box shows the stored choice only while the association is still ours.
TEST_F(PropertiesDialogTest, TheAssociationBoxIsTickedOnlyWhenStoredAndOursNow) {
    const struct {
        const char* name;
        const char* stored;  // "Associate"; nothing: not stored
        const char* extensionType;
        const char* command;
        ClassesRoot root;
        bool ticked;
    } cases[] = {
        {"stored and ours", "1", "SOF2_Demo_File", kOurCommand, ClassesRoot::Machine, true},
        {"stored and ours in the user's classes", "1", "SOF2_Demo_File", kOurCommand, ClassesRoot::User, true},
        {"never stored, ours", nullptr, "SOF2_Demo_File", kOurCommand, ClassesRoot::Machine, true},
        {"never stored, nothing registered", nullptr, nullptr, nullptr, ClassesRoot::Machine, false},
        {"stored, taken by another program", "1", "OtherPlayer.Demo", kOurCommand, ClassesRoot::Machine, false},
        {"stored, the program has moved", "1", "SOF2_Demo_File", "\"D:\\Old\\Reelwright.exe\" \"%1\"",
         ClassesRoot::Machine, false},
        {"cleared, although ours", "0", "SOF2_Demo_File", kOurCommand, ClassesRoot::Machine, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSettingsStore caseStore;
        FakeClassesRegistry caseClasses;
        if (c.stored) caseStore.Put(kSectionSettings, kKeyAssociate, c.stored);
        if (c.extensionType) caseClasses.Put(".dm_2004", c.extensionType, c.root);
        if (c.command) caseClasses.Put("SOF2_Demo_File\\shell\\open\\command", c.command, c.root);
        AppServices caseServices{caseStore, prompts, files, shell, caseClasses, elevation, services.location};
        PropertiesDialog caseDialog{caseServices, view};
        ASSERT_TRUE(caseDialog.Load());
        EXPECT_EQ(view.ticked[PropertiesOption::Associate], c.ticked);
    }
}

TEST_F(PropertiesDialogTest, OkWithoutAChangeWritesNothingToTheClassesRegistry) {
    // Ticked and ours.
    RegisterUs();
    OpenAndConfirm();
    EXPECT_TRUE(RegistryWrites().empty());
    EXPECT_EQ(store.Stored(kSectionSettings, kKeyAssociate), "1");

    // Clear and not ours: another program holds ".dm_2004".
    classes.Put(".dm_2004", "OtherPlayer.Demo");
    classes.calls.clear();
    ASSERT_TRUE(dialog.Load());
    EXPECT_FALSE(view.ticked[PropertiesOption::Associate]);
    dialog.Ok();
    EXPECT_TRUE(RegistryWrites().empty());
    EXPECT_EQ(store.Stored(kSectionSettings, kKeyAssociate), "0");
    EXPECT_EQ(classes.DefaultValue(".dm_2004"), "OtherPlayer.Demo");
}

TEST_F(PropertiesDialogTest, TickingCreatesTheAssociationThenStoresThatItIsOurs) {
    store.Put(kSectionSettings, kKeyAssociate, "0");
    ASSERT_TRUE(dialog.Load());
    view.ticked[PropertiesOption::Associate] = true;
    journal.entries.clear();
    dialog.Ok();
    EXPECT_EQ(Entries("set "),
              (std::vector<std::string>{"set HKCR\\.dm_2004=SOF2_Demo_File", "set HKCR\\SOF2_Demo_File=SOF2 Demo File",
                                        "set HKCR\\SOF2_Demo_File\\DefaultIcon=C:\\Games\\Tools\\Graphics\\sof2.ico",
                                        std::string("set HKCR\\SOF2_Demo_File\\shell\\open\\command=") + kOurCommand}));
    // The association is applied and checked before "Associate" is stored.
    const auto& e = journal.entries;
    const auto saved = std::find(e.begin(), e.end(), "save Settings/Associate=1");
    ASSERT_NE(saved, e.end());
    EXPECT_EQ(*(saved - 1), "read HKCR\\SOF2_Demo_File\\shell\\open\\command");
    EXPECT_LT(std::find(e.begin(), e.end(), "notify"), saved);
}

TEST_F(PropertiesDialogTest, AnAssociationThatCannotBeWrittenAnywhereIsStoredAsZero) {
    classes.deniedRoots = {ClassesRoot::Machine, ClassesRoot::User};
    OpenAndConfirm();  // fresh store: "Associate" reads 1, but nothing is registered, so the box is clear
    EXPECT_TRUE(RegistryWrites().empty());

    ASSERT_TRUE(dialog.Load());
    view.ticked[PropertiesOption::Associate] = true;
    dialog.Ok();
    std::vector<std::string> texts;
    for (const auto& m : prompts.messages) texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Error: Creating Key!", "Error Setting String Value!"}));
    EXPECT_EQ(store.Stored(kSectionSettings, kKeyAssociate), "0");
}

TEST_F(PropertiesDialogTest, ClearingRemovesOnlyWhatIsOurs) {
    RegisterUs(ClassesRoot::User);
    ASSERT_TRUE(dialog.Load());
    EXPECT_TRUE(view.ticked[PropertiesOption::Associate]);
    view.ticked[PropertiesOption::Associate] = false;
    journal.entries.clear();
    dialog.Ok();
    EXPECT_FALSE(classes.Exists(".dm_2004", ClassesRoot::User));
    EXPECT_FALSE(classes.Exists("SOF2_Demo_File", ClassesRoot::User));
    EXPECT_EQ(Entries("notify").size(), 1u);
    EXPECT_TRUE(Entries("create ").empty());
    EXPECT_EQ(store.Stored(kSectionSettings, kKeyAssociate), "0");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PropertiesDialogTest, ARemovalThatIsRefusedLeavesAssociateAtOne) {
    // Registered for every user by an administrator; a standard user cannot delete it.
    RegisterUs();
    classes.deniedRoots = {ClassesRoot::Machine};
    ASSERT_TRUE(dialog.Load());
    view.ticked[PropertiesOption::Associate] = false;
    dialog.Ok();
    EXPECT_EQ(classes.DefaultValue(".dm_2004"), "SOF2_Demo_File");
    EXPECT_EQ(store.Stored(kSectionSettings, kKeyAssociate), "1");
}

TEST_F(PropertiesDialogTest, EmptyAndBlankBindsAreSetBackWithOneWarning) {
    store.Put(kSectionBinds, "Bind0", "X");
    store.Put(kSectionBinds, "Bind5", "Y");
    ASSERT_TRUE(dialog.Load());
    view.binds[0] = "";
    view.binds[4] = "   ";
    view.binds[5] = "";
    journal.entries.clear();
    dialog.Ok();

    EXPECT_EQ(store.Stored(kSectionBinds, "Bind0"), "F8");
    EXPECT_EQ(store.Stored(kSectionBinds, "Bind4"), "F5");
    EXPECT_EQ(store.Stored(kSectionBinds, "Bind5"), "F6");
    EXPECT_EQ(view.binds[0], "F8");
    EXPECT_EQ(view.binds[4], "F5");
    EXPECT_EQ(view.binds[5], "F6");

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright Properties");
    EXPECT_EQ(prompts.messages[0].text, "You have left a bind empty.  It has now been set to default.");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::Ok);

    // Each box is set back before its bind is stored; the warning follows the
    // last bind and comes before the main window is enabled.
    const auto& e = journal.entries;
    auto at = [&](const std::string& entry) { return std::find(e.begin(), e.end(), entry) - e.begin(); };
    EXPECT_LT(at("box 0=F8"), at("save Binds/Bind0=F8"));
    EXPECT_LT(at("save Binds/Bind7=F1"), at("message Reelwright Properties"));
    EXPECT_LT(at("message Reelwright Properties"), at("enable main"));
    EXPECT_LT(at("enable main"), at("close"));
}

TEST_F(PropertiesDialogTest, HandTypedNamesAreStoredAsTyped) {
    ASSERT_TRUE(dialog.Load());
    view.binds[2] = "mouse1";
    view.binds[6] = "KP_DEL";
    view.binds[7] = "a/b";
    dialog.Ok();
    EXPECT_EQ(store.Stored(kSectionBinds, "Bind2"), "mouse1");
    EXPECT_EQ(store.Stored(kSectionBinds, "Bind6"), "KP_DEL");
    EXPECT_EQ(store.Stored(kSectionBinds, "Bind7"), "a/b");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PropertiesDialogTest, NamesTheConsoleCannotTakeAreSetBackWithOneWarningAfterTheEmptyOne) {
    ASSERT_TRUE(dialog.Load());
    view.binds[0] = "F1;quit";
    view.binds[1] = "my key";
    view.binds[3] = " mouse1";
    view.binds[5] = "\xc3\xa9";
    view.binds[7] = "";
    journal.entries.clear();
    dialog.Ok();

    const std::pair<int, const char*> setBack[] = {{0, "F8"}, {1, "F2"}, {3, "F4"}, {5, "F6"}, {7, "F1"}};
    for (const auto& [index, key] : setBack) {
        EXPECT_EQ(view.binds[index], key) << index;
        EXPECT_EQ(store.Stored(kSectionBinds, BindKey(index)), key) << index;
    }
    EXPECT_EQ(store.Stored(kSectionBinds, "Bind2"), "F3");

    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, kEmptyBindWarning);
    EXPECT_EQ(prompts.messages[1].title, "Reelwright Properties");
    EXPECT_EQ(prompts.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompts.messages[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(prompts.messages[1].text,
              "The key name \"F1;quit\" cannot be used in the game's console.  It has now been set to default.\r\n"
              "The key name \"my key\" cannot be used in the game's console.  It has now been set to default.\r\n"
              "The key name \" mouse1\" cannot be used in the game's console.  It has now been set to default.\r\n"
              "The key name \"\xc3\xa9\" cannot be used in the game's console.  It has now been set to default.");
    EXPECT_EQ(journal.entries[journal.entries.size() - 2], "enable main");
}

TEST_F(PropertiesDialogTest, KeysAreCapturedUntilADoubleClickAndAgainAfterTheFocusLeaves) {
    ASSERT_TRUE(dialog.Load());

    EXPECT_TRUE(dialog.BindKeyDown(3, 104));
    EXPECT_EQ(view.binds[3], "KP_UPARROW");
    EXPECT_TRUE(dialog.BindKeyDown(3, 189));  // a key without a name empties the box
    EXPECT_EQ(view.binds[3], "");
    EXPECT_TRUE(view.locked[3]);

    dialog.BindDoubleClick(1);
    EXPECT_EQ(view.binds[1], "");
    EXPECT_FALSE(view.locked[1]);
    EXPECT_FALSE(dialog.captureMode());
    for (int i : {0, 2, 3, 4, 5, 6, 7}) EXPECT_TRUE(view.locked[i]) << i;
    EXPECT_FALSE(dialog.BindKeyDown(1, 'Q'));  // typed, not captured
    EXPECT_EQ(view.binds[1], "");

    dialog.BindLostFocus(1);
    EXPECT_TRUE(view.locked[1]);
    EXPECT_TRUE(dialog.captureMode());
    EXPECT_TRUE(dialog.BindKeyDown(1, 'Q'));
    EXPECT_EQ(view.binds[1], "Q");
}

TEST_F(PropertiesDialogTest, AStoreThatCannotBeWrittenIsReportedAndStillFreesTheMainWindow) {
    ASSERT_TRUE(dialog.Load());
    store.failingKeys.insert("Settings/Min on Playback");
    journal.entries.clear();
    dialog.Ok();

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright Properties");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(Entries("save Binds/").empty());  // nothing after the failing write
    EXPECT_EQ(journal.entries.back(), "close");
    EXPECT_EQ(journal.entries[journal.entries.size() - 2], "enable main");
}

TEST_F(PropertiesDialogTest, AStoreThatCannotBeReadKeepsTheDialogShut) {
    store.failingKeys.insert("Binds/Bind2");
    EXPECT_FALSE(dialog.Load());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
}

}  // namespace
}  // namespace reelwright

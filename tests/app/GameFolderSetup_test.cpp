#include "app/GameFolderSetup.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/AppInfo.h"
#include "support/FakeServices.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using Strings = std::vector<std::string>;

class GameFolderSetupTest : public ::testing::Test, protected FakeServices {
protected:
    GameFolderSetupTest() {
        files.files["C:\\Games\\SOF2\\SOF2MP.exe"] = "";
        files.files["D:\\Other\\readme.txt"] = "";
    }
};

TEST_F(GameFolderSetupTest, ValidFolderAtOnceIsStoredWithoutMessage) {
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    SetupSOF2Folder(services);
    EXPECT_EQ(journal.entries, (Strings{"browse Locate your SOF2 Directory", "exists C:\\Games\\SOF2\\SOF2MP.exe",
                                        "save Settings/SOF2 Path=C:\\Games\\SOF2"}));
}

TEST_F(GameFolderSetupTest, InvalidThenCancelWarnsOnceAndStoresNothing) {
    store.Put("Settings", "SOF2 Path", "E:\\Earlier");
    prompts.folderAnswers = {"D:\\Other", ""};
    SetupSOF2Folder(services);
    ASSERT_EQ(prompts.messages.size(), 1u);
    const MessageCall& warning = prompts.messages[0];
    EXPECT_EQ(warning.title, "Reelwright - Invalid SOF2MP.exe location");
    EXPECT_EQ(warning.text, "The directory you have specified does not contain the SOF2MP.exe file.");
    EXPECT_EQ(warning.icon, MessageIcon::Exclamation);
    EXPECT_EQ(warning.buttons, MessageButtons::Ok);
    EXPECT_EQ(prompts.browseTitles.size(), 2u);
    EXPECT_EQ(store.Stored("Settings", "SOF2 Path"), "E:\\Earlier");
}

TEST_F(GameFolderSetupTest, TwoInvalidThenValidStoresExactlyWhatWasPicked) {
    files.files["C:\\Games\\SOF2 \\SOF2MP.exe"] = "";
    prompts.folderAnswers = {"D:\\Other", "D:\\Nowhere", "C:\\Games\\SOF2 "};
    SetupSOF2Folder(services);
    EXPECT_EQ(journal.entries,
              (Strings{"browse Locate your SOF2 Directory", "exists D:\\Other\\SOF2MP.exe",
                       "message Reelwright - Invalid SOF2MP.exe location", "browse Locate your SOF2 Directory",
                       "exists D:\\Nowhere\\SOF2MP.exe", "message Reelwright - Invalid SOF2MP.exe location",
                       "browse Locate your SOF2 Directory", "exists C:\\Games\\SOF2 \\SOF2MP.exe",
                       "save Settings/SOF2 Path=C:\\Games\\SOF2 "}));
}

TEST_F(GameFolderSetupTest, FolderNamedLikeTheExecutableIsRejected) {
    files.folders.insert("D:\\Fake\\SOF2MP.exe");
    prompts.folderAnswers = {"D:\\Fake"};
    SetupSOF2Folder(services);
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_FALSE(store.Stored("Settings", "SOF2 Path"));
}

TEST_F(GameFolderSetupTest, AFolderThatBreaksTheGamesCommandLineIsNamedAndThePickerShownAgain) {
    files.files["D:\\Games\\SOF2+exec x\\SOF2MP.exe"] = "";
    files.files["D:\\Ga\"mes\\SOF2MP.exe"] = "";
    prompts.folderAnswers = {"D:\\Games\\SOF2+exec x", "D:\\Ga\"mes", "C:\\Games\\SOF2"};
    SetupSOF2Folder(services);
    EXPECT_EQ(journal.entries,
              (Strings{"browse Locate your SOF2 Directory", "exists D:\\Games\\SOF2+exec x\\SOF2MP.exe",
                       "message Reelwright - SOF2 Folder Setup", "browse Locate your SOF2 Directory",
                       "exists D:\\Ga\"mes\\SOF2MP.exe", "message Reelwright - SOF2 Folder Setup",
                       "browse Locate your SOF2 Directory", "exists C:\\Games\\SOF2\\SOF2MP.exe",
                       "save Settings/SOF2 Path=C:\\Games\\SOF2"}));
    EXPECT_EQ(prompts.messages[0].text,
              "The folder you have chosen holds a \"+\", at which the game splits its command line:\r\n\r\n"
              "D:\\Games\\SOF2+exec x\r\n\r\nMove or rename the game's folder so that its path holds no \"+\" or "
              "double quote, then choose it again.");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(prompts.messages[1].text.find("holds a double quote, which breaks the quotes"), std::string::npos);
}

TEST_F(GameFolderSetupTest, DriveRootIsTestedWithOneSeparatorAndStoredAsPicked) {
    // A picked drive root already ends in a separator: the test joins one.
    files.files["C:\\SOF2MP.exe"] = "";
    prompts.folderAnswers = {"C:\\"};
    SetupSOF2Folder(services);
    EXPECT_EQ(store.Stored("Settings", "SOF2 Path"), "C:\\");
}

class ThrowingPrompts : public FakePrompts {
public:
    std::string BrowseForFolder(const std::string&) override { throw std::runtime_error("no picker"); }
};

class ThrowingFiles : public FakeFileSystem {
public:
    bool FileExists(const std::string&) override { throw std::runtime_error("no file test"); }
};

TEST(GameFolderSetupUnavailableTest, MissingPickerOrFileTestGivesAClearMessageAndStoresNothing) {
    FakeSettingsStore store;
    FakeGameShell shell;
    FakeClassesRegistry classes;
    FakeElevatedRunner elevation;
    {
        ThrowingPrompts prompts;
        FakeFileSystem files;
        AppServices services{store, prompts, files, shell, classes, elevation, {}};
        SetupSOF2Folder(services);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, kPickerUnavailableText);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    }
    {
        FakePrompts prompts;
        prompts.folderAnswers = {"C:\\Games\\SOF2"};
        ThrowingFiles files;
        AppServices services{store, prompts, files, shell, classes, elevation, {}};
        SetupSOF2Folder(services);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, kFileTestUnavailableText);
        EXPECT_EQ(prompts.browseTitles.size(), 1u);
    }
    EXPECT_FALSE(store.Stored("Settings", "SOF2 Path"));
}

TEST_F(GameFolderSetupTest, FailingStoreWriteIsLeftToTheCaller) {
    store.failingKeys.insert("Settings/SOF2 Path");
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    EXPECT_THROW(SetupSOF2Folder(services), std::runtime_error);
}

}  // namespace
}  // namespace reelwright

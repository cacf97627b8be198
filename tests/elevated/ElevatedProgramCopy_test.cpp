// The helper is elevated from a copy of the program in a folder made for it
// under the user's temporary folder, never from the program's own file.
#include "elevated/ElevatedProgramCopy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/Fakes.h"

namespace {

using namespace reelwright;
using namespace reelwright::test;

struct RecordingStarter : ElevatedStarter {
    std::optional<std::uint32_t> StartElevated(const std::string& program, const std::string& parameters) override {
        calls.push_back({program, parameters});
        if (onStart) onStart(program);
        return 7;
    }
    struct Call {
        std::string program, parameters;
    };
    std::vector<Call> calls;
    std::function<void(const std::string&)> onStart;
};

class ElevatedProgramCopyTest : public ::testing::Test {
protected:
    ElevatedProgramCopyTest() { files.folders = {"C:\\Temp"}; }

    Journal journal;
    FakeFileSystem files{&journal};
    RecordingStarter starter;
    std::string program = std::string("MZ\x90\0\x03", 5) + std::string(4096, '\xcc');
};

TEST_F(ElevatedProgramCopyTest, StartsAByteIdenticalCopyInAFreshFolderAndDeletesItAfterwards) {
    // A copy an earlier run left behind, something else of the user's, and a
    // link named like a copy's folder (never followed).
    files.folders.insert("C:\\Temp\\Reelwright-elevated-0123");
    files.files["C:\\Temp\\Reelwright-elevated-0123\\Reelwright.exe"] = "old";
    files.files["C:\\Temp\\other\\keep.txt"] = "mine";
    files.folders.insert("C:\\Temp\\Reelwright-elevated-link");
    files.reparsePoints.insert("C:\\Temp\\Reelwright-elevated-link");
    files.files["C:\\Temp\\Reelwright-elevated-link\\System.dll"] = "elsewhere";

    std::string folderAtStart;
    starter.onStart = [&](const std::string& copy) {
        EXPECT_EQ(journal.entries.back(), "read held " + copy);
        EXPECT_EQ(files.files[copy], program);
        folderAtStart = copy.substr(0, copy.rfind('\\'));
        // Made by this run, just before the copy was written into it.
        EXPECT_NE(std::find(journal.entries.begin(), journal.entries.end(), "mkdir " + folderAtStart),
                  journal.entries.end());
        EXPECT_EQ(files.ListFolder(folderAtStart)->files, std::vector<std::string>{"Reelwright.exe"});
        // Held, the copy to read only and its folder, and read through that
        // hold before the start.
        EXPECT_EQ(files.holdModes[copy], HoldMode::Read);
        EXPECT_TRUE(files.holdModes.count(folderAtStart));
        for (const std::string& held : {copy, folderAtStart})
            EXPECT_EQ(std::count(journal.entries.begin(), journal.entries.end(), "release " + held), 0) << held;
    };
    ElevatedProgramCopy elevation(files, starter, [&] { return std::optional<std::string>(program); },
                                  "Reelwright.exe");
    EXPECT_EQ(elevation.RunElevated("/copy-script \"a\" \"b\" \"c\""), std::optional<std::uint32_t>{7});

    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].parameters, "/copy-script \"a\" \"b\" \"c\"");
    // Let go once the helper has ended, before the copy is deleted.
    const auto at = [&](const std::string& entry) {
        return std::find(journal.entries.begin(), journal.entries.end(), entry) - journal.entries.begin();
    };
    EXPECT_LT(at("release " + starter.calls[0].program), at("remove " + starter.calls[0].program));
    EXPECT_TRUE(folderAtStart.starts_with("C:\\Temp\\Reelwright-elevated-")) << folderAtStart;
    EXPECT_EQ(files.files.count(starter.calls[0].program), 0u);
    EXPECT_FALSE(files.IsFolder(folderAtStart));
    EXPECT_FALSE(files.IsFolder("C:\\Temp\\Reelwright-elevated-0123"));
    EXPECT_EQ(files.files["C:\\Temp\\other\\keep.txt"], "mine");
    EXPECT_EQ(files.files["C:\\Temp\\Reelwright-elevated-link\\System.dll"], "elsewhere");

    // Every run makes a folder of its own.
    EXPECT_EQ(elevation.RunElevated("/copy-script"), std::optional<std::uint32_t>{7});
    ASSERT_EQ(starter.calls.size(), 2u);
    EXPECT_NE(starter.calls[1].program, starter.calls[0].program);
}

TEST_F(ElevatedProgramCopyTest, NothingIsStartedWithoutTheProgramsBytes) {
    ElevatedProgramCopy unread(files, starter, [] { return std::optional<std::string>(); }, "Reelwright.exe");
    EXPECT_EQ(unread.RunElevated("/copy-script"), std::nullopt);
    EXPECT_TRUE(starter.calls.empty());
    for (const auto& entry : journal.entries) EXPECT_FALSE(entry.starts_with("mkdir ")) << entry;
}

}  // namespace

namespace {

// Another process of the user changes the copy between its write and its hold.
struct TamperedFileSystem : FakeFileSystem {
    using FakeFileSystem::FakeFileSystem;
    FileResult WriteNewFile(const std::string& path, std::string_view bytes) override {
        const FileResult written = FakeFileSystem::WriteNewFile(path, bytes);
        if (tamper) tamper(path);
        return written;
    }
    std::function<void(const std::string&)> tamper;
};

TEST(ElevatedProgramCopyTampered, ACopyThatIsNoLongerTheProgramIsNeverStarted) {
    const std::string program = std::string("MZ\x90\0\x03", 5) + std::string(4096, '\xcc');
    const std::vector<std::pair<const char*, std::function<void(TamperedFileSystem&, const std::string&)>>> cases{
        {"other bytes", [](TamperedFileSystem& files, const std::string& copy) { files.files[copy][100] = 'X'; }},
        {"bytes added", [](TamperedFileSystem& files, const std::string& copy) { files.files[copy] += "MZ"; }},
        {"a link", [](TamperedFileSystem& files, const std::string& copy) { files.reparsePoints.insert(copy); }},
        {"a second name", [](TamperedFileSystem& files, const std::string& copy) { files.linkCounts[copy] = 2; }},
        {"elsewhere", [](TamperedFileSystem& files, const std::string& copy) {
             files.finalPaths[copy] = "C:\\Users\\Public\\Reelwright.exe";
         }},
        {"held open by another", [](TamperedFileSystem& files, const std::string& copy) {
             files.Fail(copy, kErrorSharingViolation);
         }},
    };
    for (const auto& [what, tamper] : cases) {
        SCOPED_TRACE(what);
        TamperedFileSystem files;
        files.folders = {"C:\\Temp"};
        files.tamper = [&, change = tamper](const std::string& copy) { change(files, copy); };
        RecordingStarter starter;
        ElevatedProgramCopy elevation(files, starter, [&] { return std::optional<std::string>(program); },
                                      "Reelwright.exe");
        EXPECT_EQ(elevation.RunElevated("/copy-script"), std::nullopt);
        EXPECT_TRUE(starter.calls.empty());
    }
}

}  // namespace

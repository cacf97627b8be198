// A zip pack of demos, planned before anything is written: which entries are
// demos that can be unpacked (and why the others cannot), the mod each was
// recorded with (from its unpacked beginning), the folder of the pack in
// each mod's "demos" folder, and the flat, unique name each demo gets there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/DemoPlace.h"
#include "core/FileSystem.h"
#include "pack/ZipDirectory.h"
#include "queue/DemoCopy.h"

namespace reelwright {

// The most one demo may unpack to, and all demos of one pack together.
inline constexpr std::uint64_t kMostPackDemoBytes = 64ull * 1024 * 1024;
inline constexpr std::uint64_t kMostPackBytes = 2ull * 1024 * 1024 * 1024;
// How much of a demo is unpacked to read the mod it was recorded with: its
// first messages (two of the largest size), which hold the game state.
inline constexpr std::size_t kPackDemoHeadBytes = 128 * 1024;

// Why a demo entry is left out, or why the pack cannot be unpacked.
inline constexpr const char* kPackEntryEncrypted = "it is encrypted";
inline constexpr const char* kPackEntryMethod = "it is compressed in a way Reelwright does not unpack";
inline constexpr const char* kPackEntryTooLarge = "it is larger than 64 MiB";
inline constexpr const char* kPackTooLarge = "its demos come to more than 2 GiB";
inline constexpr const char* kPackEntryDamaged = "its data is damaged or does not match its CRC-32 or its size";
inline constexpr const char* kPackUnreadable = "it could not be read";
inline constexpr const char* kPackNoMemory = "there is not enough memory to unpack it";

// Whether a file name ends in ".zip", in any letter case.
bool IsPackFileName(std::string_view name);

// `name` with every character the game's console or Windows would not take in
// a demo's name (blanks, ; + / \ " < > : | ? *, control characters and
// characters outside ASCII) turned into "_"; "pack" when nothing is left.
std::string SafePackName(std::string_view name);

struct PackFolder {
    std::string gameType;  // "base\\mp" or a mod's folder
    std::string path;      // <game folder>\\<game type>\\demos\\<pack>
    // A folder of that name exists but is empty: it is taken.
    bool takesEmptyFolder = false;
};

struct PackDemo {
    ZipEntry entry;
    std::string entryName;   // the decoded name in the pack
    std::size_t folder = 0;  // index into PackPlan::folders
    std::string fileName;    // the name it gets there
    std::string missingMod;  // the mod it names that the game folder lacks
};

struct SkippedEntry {
    std::string name;
    std::string reason;
};

struct PackPlan {
    std::string packPath;
    std::string packName;    // the pack's file name, for messages
    std::string folderName;  // SafePackName of its name without ".zip"
    std::unique_ptr<ReadableFile> file;  // held from the plan to the unpack
    ZipDirectory directory;
    std::vector<PackFolder> folders;
    std::vector<PackDemo> demos;  // in the natural order of their names in the pack
    std::vector<SkippedEntry> skipped;
    std::string problem;  // why the pack cannot be unpacked at all; empty when it can
    std::string problemDetail;  // the entry concerned, or the system's text
    std::uint32_t readError = 0;

    // The demo's place below the game folder, and its full path.
    DemoPlace Place(const PackDemo& demo) const;
    std::string Target(const PackDemo& demo) const;
};

// Reads the pack's directory and plans its demos (see above). Entries that
// are not demo files are passed over in silence; demo entries with a refused
// name, encrypted, of an unknown method or claiming more than 64 MiB are
// skipped with the reason. A pack that cannot be read, claims more than 2 GiB
// of demos, or whose demo data is damaged at its start gets `problem`.
PackPlan PlanPack(FileSystem& files, std::string_view gameFolder, const std::string& packPath);

// The question: "Copy the N demos of <pack> into your game and queue them?"
// (for one demo on the command line: "... and play it?"), the folders they go
// to, the mods the game folder lacks and the entries left out, with why.
std::string PackQuestion(const PackPlan& plan, CopyGoal goal);

// The pack could not be unpacked: the reason, and that nothing was copied.
std::string PackProblemMessage(const std::string& packName, const std::string& problem, const std::string& detail);

// The pack holds no demo that can be unpacked.
std::string PackWithoutDemosMessage(const PackPlan& plan);

}  // namespace reelwright

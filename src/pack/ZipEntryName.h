// The names of a zip file's entries: decoded as the zip format says (UTF-8
// when the entry's flag says so, else code page 437) and judged before
// anything is written under them. A pack's entries are unpacked flat, under
// their last part only, but a name that tries to leave the pack's folder or
// that Windows would refuse or read as something else is still never used.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace reelwright {

// The name's bytes as UTF-8: kept as they are when marked UTF-8 (nothing when
// they are not valid UTF-8), else each byte read as code page 437.
std::optional<std::string> DecodeZipEntryName(std::string_view raw, bool utf8);

// Why an entry name is not used, as the user is told ("<name>: <reason>").
inline constexpr const char* kEntryNameEmpty = "the entry has no name";
inline constexpr const char* kEntryNameNotUtf8 = "its name is marked as UTF-8 but is not";
inline constexpr const char* kEntryNameAbsolute = "its name is an absolute path";
inline constexpr const char* kEntryNameDrive = "its name names a drive";
inline constexpr const char* kEntryNameParent = "its name leads out of the pack's folder (..)";
inline constexpr const char* kEntryNameEmptyPart = "its name holds an empty folder name";
inline constexpr const char* kEntryNameDevice = "its name is a device name of Windows";
inline constexpr const char* kEntryNameCharacter = "its name holds a character Windows does not allow";
inline constexpr const char* kEntryNameTrailing = "a part of its name ends in a dot or a blank";
inline constexpr const char* kEntryNameTooLong = "its name is too long";

struct EntryName {
    std::string path;      // the decoded name, "/" between its parts
    std::string fileName;  // its last part
    bool isFolder = false;  // the name ends in "/": a folder entry, nothing to unpack
    std::string refusal;   // empty when the name may be used
};

// Decodes and judges an entry name. Both "/" and "\" separate parts. Refused:
// an empty name, a name that is not the UTF-8 it claims, an absolute name
// ("/a", "\\server\share"), a drive ("C:", or a ":" anywhere, which would
// name a stream), ".." steps, empty parts ("a//b"), device names (CON, PRN,
// AUX, NUL, COM1 to COM9, LPT1 to LPT9, with any extension), characters
// Windows refuses (< > : " | ? * and control characters), parts ending in a
// dot or a blank, and file names over 255 characters.
EntryName JudgeZipEntryName(std::string_view raw, bool utf8);

}  // namespace reelwright

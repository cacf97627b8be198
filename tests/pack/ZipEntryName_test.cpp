#include "pack/ZipEntryName.h"

#include <gtest/gtest.h>

namespace reelwright {
namespace {

TEST(ZipEntryName, HostileNamesAreRefusedWithTheirReason) {
    struct Case {
        std::string raw;
        const char* refusal;
    } cases[] = {
        {"match.dm_2004", ""},
        {"clan/round 1/match.dm_2004", ""},
        {"./match.dm_2004", ""},
        {"folder/", ""},
        {"", kEntryNameEmpty},
        {"a/.", kEntryNameEmpty},
        {".", kEntryNameEmpty},
        {"../../evil.dm_2004", kEntryNameParent},
        {"a/../../b.dm_2004", kEntryNameParent},
        {"a\\..\\b.dm_2004", kEntryNameParent},
        {"/etc/x.dm_2004", kEntryNameAbsolute},
        {"\\\\server\\share\\x.dm_2004", kEntryNameAbsolute},
        {"C:/Windows/x.dm_2004", kEntryNameDrive},
        {"C:x.dm_2004", kEntryNameDrive},
        {"x.dm_2004:stream", kEntryNameDrive},
        {"a//b.dm_2004", kEntryNameEmptyPart},
        {"CON.dm_2004", kEntryNameDevice},
        {"sub/nul", kEntryNameDevice},
        {"com1 .dm_2004", kEntryNameDevice},
        {"LPT9/a.dm_2004", kEntryNameDevice},
        {"com10.dm_2004", ""},
        {"console.dm_2004", ""},
        {"a<b.dm_2004", kEntryNameCharacter},
        {"a|b.dm_2004", kEntryNameCharacter},
        {"a?.dm_2004", kEntryNameCharacter},
        {"a*.dm_2004", kEntryNameCharacter},
        {"a\"b.dm_2004", kEntryNameCharacter},
        {std::string("a\x01.dm_2004"), kEntryNameCharacter},
        {"a.dm_2004.", kEntryNameTrailing},
        {"dir /a.dm_2004", kEntryNameTrailing},
        {std::string(252, 'n') + ".dm_2004", kEntryNameTooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(JudgeZipEntryName(c.raw, false).refusal, c.refusal);
    }
    EXPECT_EQ(JudgeZipEntryName("clan/round 1/match.dm_2004", false).fileName, "match.dm_2004");
    EXPECT_TRUE(JudgeZipEntryName("folder/", false).isFolder);
}

TEST(ZipEntryName, Utf8WhenFlaggedElseCodePage437) {
    struct Case {
        std::string raw;
        bool utf8;
        std::optional<std::string> text;
    } cases[] = {
        {"plain.dm_2004", false, "plain.dm_2004"},
        {"\x81\x62\x65r.dm_2004", false, "\xC3\xBC" "ber.dm_2004"},           // 0x81: ü
        {"\xE1\xB0\xDB", false, "\xC3\x9F\xE2\x96\x91\xE2\x96\x88"},          // ß ░ █
        {"\xC3\xBC" "ber.dm_2004", true, "\xC3\xBC" "ber.dm_2004"},           // as written
        {"\xE6\x97\xA5.dm_2004", true, "\xE6\x97\xA5.dm_2004"},
        {"\xC3\xBC" "ber.dm_2004", false, "\xE2\x94\x9C\xE2\x95\x9D" "ber.dm_2004"},  // UTF-8 read as 437
        {"\xFF.dm_2004", true, std::nullopt},
        {"\xC0\xAF.dm_2004", true, std::nullopt},   // an overlong "/"
        {"\xED\xA0\x80.dm_2004", true, std::nullopt},  // a surrogate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(DecodeZipEntryName(c.raw, c.utf8), c.text);
    }
    EXPECT_EQ(JudgeZipEntryName("\xFF.dm_2004", true).refusal, kEntryNameNotUtf8);
    // Code page 437 never yields a separator or a refused character from a high byte.
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        EXPECT_EQ(JudgeZipEntryName(std::string(1, static_cast<char>(byte)) + ".dm_2004", false).refusal, "") << byte;
}

}  // namespace
}  // namespace reelwright

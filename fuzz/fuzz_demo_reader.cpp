// The demo reader on any bytes, read as a 2004 demo and as a protocol 71 one,
// from memory and from a file through the system's file input.
// Properties: it reads nothing outside the input (the sanitizers watch), the
// head alone and the one pass agree, a cut copy gives the same head or a
// refusal, every text is valid UTF-8, a mod folder is only ever a safe name,
// and the file gives what the bytes in memory give, with the file's size.
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "demo/DemoFile.h"
#include "demo/DemoReader.h"
#include "demo/ModFolder.h"

using namespace reelwright;

namespace {

void CheckTexts(const DemoHead& head) {
    FUZZ_CHECK(fuzzing::IsValidUtf8(head.map));
    FUZZ_CHECK(fuzzing::IsValidUtf8(head.server));
    FUZZ_CHECK(fuzzing::IsValidUtf8(head.gameType));
    FUZZ_CHECK(fuzzing::IsValidUtf8(head.mode));
    FUZZ_CHECK(fuzzing::IsValidUtf8(head.mod));
    if (head.modFolder) FUZZ_CHECK(IsSafeModFolderName(*head.modFolder));
    if (head.players) {
        FUZZ_CHECK(head.players->size() <= 64);
        for (const DemoPlayer& player : *head.players) FUZZ_CHECK(fuzzing::IsValidUtf8(player.name));
    }
}

bool SameHead(const DemoHead& a, const DemoHead& b) {
    return a.refusal == b.refusal && a.protocol == b.protocol && a.map == b.map && a.server == b.server &&
           a.gameType == b.gameType && a.mode == b.mode && a.mod == b.mod && a.modFolder == b.modFolder &&
           a.players == b.players;
}

bool SameLength(const DemoLength& a, const DemoLength& b) {
    return a.refusal == b.refusal && a.milliseconds == b.milliseconds && a.cutShort == b.cutShort;
}

DemoHeadAndLength CheckAs(std::string_view bytes, std::string_view fileName) {
    const DemoHead head = ReadDemoHead(bytes, fileName);
    CheckTexts(head);
    if (!head.Readable()) FUZZ_CHECK(head.map.empty() && head.server.empty() && head.mod.empty() && !head.players);

    const DemoHeadAndLength read = ReadDemo(bytes, fileName);
    FUZZ_CHECK(SameHead(read.head, head));
    const DemoLength& length = read.length;
    FUZZ_CHECK(length.milliseconds >= 0);
    if (!head.Readable()) {
        FUZZ_CHECK(length.refusal == head.refusal);
    } else {
        FUZZ_CHECK(length.refusal != DemoReadRefusal::NotADemo && length.refusal != DemoReadRefusal::Truncated);
        if (!length.Readable()) FUZZ_CHECK(length.milliseconds == 0);
    }

    // A cut copy (where depends on the bytes): within the first record a
    // refusal, past it the same head.
    if (bytes.empty()) return read;
    const std::size_t cut = static_cast<unsigned char>(bytes.back()) * bytes.size() / 256;
    const DemoHeadAndLength shorter = ReadDemo(bytes.substr(0, cut), fileName);
    if (shorter.head.Readable()) FUZZ_CHECK(SameHead(shorter.head, head));
    FUZZ_CHECK(shorter.length.refusal == shorter.head.refusal || shorter.head.Readable());
    if (shorter.head.Readable() && length.Readable()) FUZZ_CHECK(shorter.length.Readable());
    return read;
}

// The bytes as a file, read through the file input (open, fstat and read of
// a real descriptor). The file lives in memory, so that the run is not held up
// by the disk: a memfd reached through its /proc path.
void CheckFile(std::string_view bytes, std::string_view fileName, const DemoHeadAndLength& fromMemory) {
    static const int memory = ::memfd_create("reelwright-fuzz-demo", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(memory);
    FUZZ_CHECK(memory >= 0);
    FUZZ_CHECK(::ftruncate(memory, 0) == 0);
    FUZZ_CHECK(::pwrite(memory, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));

    const auto head = OpenDemoFile(path);
    FUZZ_CHECK(head && head->Size() == bytes.size());
    FUZZ_CHECK(SameHead(ReadDemoHead(*head, fileName), fromMemory.head));
    const auto whole = OpenDemoFile(path);
    FUZZ_CHECK(whole);
    const DemoHeadAndLength fromFile = ReadDemo(*whole, fileName);
    FUZZ_CHECK(SameHead(fromFile.head, fromMemory.head));
    FUZZ_CHECK(SameLength(fromFile.length, fromMemory.length));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::AsText(data, size);
    CheckFile(bytes, "fuzz.dm_2004", CheckAs(bytes, "fuzz.dm_2004"));
    CheckFile(bytes, "fuzz.dm_71", CheckAs(bytes, "fuzz.dm_71"));
    return 0;
}

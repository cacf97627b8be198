// The demo reader on any bytes, read as a 2004 demo and as a protocol 71 one.
// Properties: it reads nothing outside the input (the sanitizers watch), the
// head and the length agree on whether the first record can be read, a cut
// copy gives the same head or a refusal, and every text is valid UTF-8.
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "demo/DemoReader.h"

using namespace reelwright;

namespace {

void CheckTexts(const DemoHead& head) {
    FUZZ_CHECK(fuzzing::IsValidUtf8(head.map));
    FUZZ_CHECK(fuzzing::IsValidUtf8(head.server));
    FUZZ_CHECK(fuzzing::IsValidUtf8(head.gameType));
    if (head.players) {
        FUZZ_CHECK(head.players->size() <= 64);
        for (const std::string& name : *head.players) FUZZ_CHECK(fuzzing::IsValidUtf8(name));
    }
}

bool SameHead(const DemoHead& a, const DemoHead& b) {
    return a.refusal == b.refusal && a.protocol == b.protocol && a.map == b.map && a.server == b.server &&
           a.gameType == b.gameType && a.players == b.players;
}

void CheckAs(std::string_view bytes, std::string_view fileName) {
    const DemoHead head = ReadDemoHead(bytes, fileName);
    CheckTexts(head);
    if (!head.Readable()) FUZZ_CHECK(head.map.empty() && head.server.empty() && !head.players);

    const DemoLength length = ReadDemoLength(bytes, fileName);
    FUZZ_CHECK(length.milliseconds >= 0);
    if (!head.Readable()) {
        FUZZ_CHECK(length.refusal == head.refusal);
    } else {
        FUZZ_CHECK(length.refusal != DemoReadRefusal::NotADemo && length.refusal != DemoReadRefusal::Truncated);
        if (!length.Readable()) FUZZ_CHECK(length.milliseconds == 0);
    }

    // A cut copy (where depends on the bytes): within the first record a
    // refusal, past it the same head.
    if (bytes.empty()) return;
    const std::size_t cut = static_cast<unsigned char>(bytes.back()) * bytes.size() / 256;
    const DemoHead shorter = ReadDemoHead(bytes.substr(0, cut), fileName);
    if (shorter.Readable()) FUZZ_CHECK(SameHead(shorter, head));
    const DemoLength shorterLength = ReadDemoLength(bytes.substr(0, cut), fileName);
    FUZZ_CHECK(shorterLength.refusal == shorter.refusal || shorter.Readable());
    if (shorter.Readable() && length.Readable()) FUZZ_CHECK(shorterLength.Readable());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::AsText(data, size);
    CheckAs(bytes, "fuzz.dm_2004");
    CheckAs(bytes, "fuzz.dm_71");
    return 0;
}

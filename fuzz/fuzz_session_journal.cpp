// The session journal's parser on any bytes: it never fails on them, and a
// journal it reads is written back into a text it reads to the same journal
// (the watcher and the program's next start read what Launch wrote).
#include <string>

#include "FuzzSupport.h"
#include "session/SessionJournal.h"

using namespace reelwright;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto journal = ParseJournal(fuzzing::AsText(data, size));
    if (!journal) return 0;
    const std::string written = FormatJournal(*journal);
    const auto again = ParseJournal(written);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(FormatJournal(*again) == written);
    FUZZ_CHECK(again->entries.size() == journal->entries.size());
    return 0;
}

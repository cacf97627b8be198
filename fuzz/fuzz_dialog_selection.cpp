// The open-file dialog's answer: the selection text, NUL-separated. The
// pieces put the text together again; one piece is a file, two are nothing,
// three or more are a folder with its files.
#include <string>

#include "FuzzSupport.h"
#include "queue/DialogSelection.h"

using namespace reelwright;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // "<file title>\n<selection>"
    const auto [title, selection] = fuzzing::SplitFirstLine(fuzzing::AsText(data, size));

    std::string_view terminated = selection;
    while (!terminated.empty() && terminated.back() == '\0') terminated.remove_suffix(1);

    const auto pieces = SplitAtNul(selection);
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        FUZZ_CHECK(pieces[i].find('\0') == std::string::npos);
        if (i > 0) joined += '\0';
        joined += pieces[i];
    }
    FUZZ_CHECK(joined == terminated);
    FUZZ_CHECK(pieces.empty() == terminated.empty());

    const DemoSelection chosen = ReadDialogSelection(OpenFileResult{std::string(selection), std::string(title)});
    if (pieces.size() == 1) {
        FUZZ_CHECK(chosen.location == pieces[0]);
        FUZZ_CHECK(chosen.names.size() == 1 && chosen.names[0] == title);
        FUZZ_CHECK(chosen.FilePath(0) == pieces[0]);
    } else if (pieces.size() >= 3) {
        FUZZ_CHECK(chosen.location == pieces[0]);
        FUZZ_CHECK(chosen.names.size() == pieces.size() - 1);
        for (std::size_t i = 0; i < chosen.names.size(); ++i) {
            FUZZ_CHECK(chosen.names[i] == pieces[i + 1]);
            const std::string file = chosen.FilePath(i);
            // The folder, one separator, the name.
            FUZZ_CHECK(file.size() >= chosen.names[i].size() + 1);
            FUZZ_CHECK(file.compare(file.size() - chosen.names[i].size(), std::string::npos, chosen.names[i]) == 0);
            FUZZ_CHECK(file[file.size() - chosen.names[i].size() - 1] == '\\');
            FUZZ_CHECK(file.compare(0, chosen.location.size(), chosen.location) == 0);
        }
    } else {
        FUZZ_CHECK(chosen.Empty());
    }
    return 0;
}

// Command lines by the system's parser's rules: what each tail splits into,
// and every quoted argument read back as it was.
#include "core/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reelwright {
namespace {

using Strings = std::vector<std::string>;

TEST(CommandLine, SplitsByTheSystemsRules) {
    const struct {
        const char* tail;
        Strings arguments;
    } cases[] = {
        // The examples the system's documentation of its parser gives.
        {"\"abc\" d e", {"abc", "d", "e"}},
        {"a\\\\b d\"e f\"g h", {"a\\\\b", "de fg", "h"}},
        {"a\\\\\\\"b c d", {"a\\\"b", "c", "d"}},
        {"a\\\\\\\\\"b c\" d e", {"a\\\\b c", "d", "e"}},
        // Blanks and tabs separate; runs of them count once, at either end too.
        {"  \t ", {}},
        {"", {}},
        {" a\t\tb  ", {"a", "b"}},
        // An empty quoted argument is one; "" inside quotes is a quote.
        {"\"\" x", {"", "x"}},
        {"\"a\"\"b\" c", {"a\"b", "c"}},
        // An unclosed quote runs to the end.
        {"\"a b", {"a b"}},
        // Backslashes not before a quote stand for themselves.
        {"C:\\Games\\SOF2\\ D:\\", {"C:\\Games\\SOF2\\", "D:\\"}},
        // The process modes' own lines.
        {"/watch-session 1234 56 133000000000000000", {"/watch-session", "1234", "56", "133000000000000000"}},
        {"/copy-script \"C:\\Temp\\rw1.tmp\" \"D:\\\\\" \"base\\mp\"",
         {"/copy-script", "C:\\Temp\\rw1.tmp", "D:\\", "base\\mp"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitArguments(c.tail), c.arguments) << c.tail;
}

TEST(CommandLine, EveryQuotedArgumentSplitsBackAsItWas) {
    const Strings arguments{"",
                            "plain",
                            "C:\\Program Files (x86)\\Jeux \xc3\xa0 moi\\SOF2",
                            "D:\\",
                            "end\\\\",
                            "a\"b",
                            "\\\"",
                            "tab\there",
                            "\xd0\x9c\xd0\xbe\xd0\xb4"};
    std::string tail;
    for (const std::string& argument : arguments) tail += QuoteArgument(argument) + " ";
    EXPECT_EQ(SplitArguments(tail), arguments) << tail;
    EXPECT_EQ(QuoteArgument("D:\\"), "\"D:\\\\\"");
    EXPECT_EQ(QuoteArgument("a\"b"), "\"a\\\"b\"");
}

}  // namespace
}  // namespace reelwright

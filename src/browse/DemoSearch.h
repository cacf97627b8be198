// Search as you type: every word typed must appear, in any letter case,
// somewhere in a demo's searchable text (its name, game type, mode, map,
// server and players' names). Accented letters count as written: "e" does
// not find "é", but "É" finds "é".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace reelwright {

// The text with every upper-case letter made lower-case: ASCII, Latin-1,
// Latin Extended-A, Greek and Cyrillic (the letters of the game's players and
// servers); other characters, and bytes that are not UTF-8, stay as they are.
std::string FoldCase(std::string_view utf8);

// The words of a search text (split at blanks), case-folded; none for a
// blank text, which matches every demo.
std::vector<std::string> SearchWords(std::string_view text);

// Joins the texts of a demo into one case-folded searchable text. The texts
// are kept apart by a line break, which no word can hold, so that a word never
// matches across two of them.
std::string SearchableText(const std::vector<std::string_view>& texts);

// True when every word appears in the searchable text.
bool MatchesAllWords(std::string_view searchable, const std::vector<std::string>& words);

}  // namespace reelwright

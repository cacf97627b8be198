// The demos the browser shows: every demo found so far with what is known of
// it, the words searched for, the column sorted by, and so the rows in view
// in their order. Folders come and go whole (a listing of one folder
// replaces what was known of it), so that a walk, a change in a watched
// folder and a walk again all arrive the same way.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "browse/DemoWalk.h"
#include "demo/DemoFile.h"
#include "demo/DemoReader.h"

namespace reelwright {

// The browser's columns, in their order.
enum class BrowseColumn { Name, GameType, Mode, Map, Length, Players, Server, Recorded, Size };
inline constexpr int kBrowseColumnCount = 9;

// One demo with its details when they are known.
struct BrowsedDemo {
    FoundDemo demo;
    std::optional<DemoHeadAndLength> details;
};

// A folder's listing as the browser receives it.
struct FolderRows {
    std::string folder;
    std::vector<BrowsedDemo> rows;
};

// The status line: "1 demo", "N demos", or "M of N demos" while a search
// narrows the list.
std::string BrowseStatusText(std::size_t shown, std::size_t total, bool searching);

// The text of one cell. `recorded` is the file's time written in local time
// (nothing when it could not be told); cells from the details stay empty
// until they are read, and a file that cannot be read shows "?" as its Map.
std::string BrowseCellText(const BrowsedDemo& row, BrowseColumn column, const std::optional<LocalTime>& recorded);

// Changes to the rows (ReplaceFolder, RemoveFolderTree, SetDetails) show in
// the rows in view after Refresh, so that a batch of them costs one sort.
class DemoCatalog {
public:
    // The rows of `listing.folder` (its files, not those of its sub-folders)
    // become those of the listing. A row whose file kept its stamp keeps its
    // details when the listing brings none.
    void ReplaceFolder(FolderRows listing);
    // Every row at or below `folder` goes.
    void RemoveFolderTree(std::string_view folder);
    // The details of the demo at `path`, read when its file had `stamp`;
    // dropped when the file has changed since. True when they were taken.
    bool SetDetails(const std::string& path, const FileStamp& stamp, DemoHeadAndLength details);
    // The demo at `oldPath` was renamed in its folder to `newPath`: its row
    // follows, with its stamp and details.
    void Rename(const std::string& oldPath, const std::string& newPath);
    // The demo at `path` went.
    void Remove(const std::string& path);
    void Clear();
    // Sorts and filters again after changes to the rows.
    void Refresh();

    // The rows in view from now on: those that hold every word of `text`.
    void SetSearch(std::string_view text);
    // Sorted by `column` (texts in natural order, numbers by value), or
    // descending. Rows whose details are not known, or cannot be read, come
    // last in the columns of the details, in their order by name.
    void SortBy(BrowseColumn column, bool descending);
    // Back to the order of the walk: by game type, then by name.
    void Unsort();

    std::size_t Total() const { return rows_.size(); }
    std::size_t Shown() const { return view_.size(); }
    bool Searching() const { return !words_.empty(); }
    // The row at `position` of the rows in view.
    const BrowsedDemo& ShownRow(std::size_t position) const { return rows_[view_[position]].row; }
    // Where the demo at `path` is among the rows in view.
    std::optional<std::size_t> PositionOf(const std::string& path) const;
    const BrowsedDemo* Find(const std::string& path) const;
    std::string StatusText() const { return BrowseStatusText(Shown(), Total(), Searching()); }

private:
    struct Stored {
        BrowsedDemo row;
        std::string searchable;  // case-folded, see DemoSearch
    };
    void Add(BrowsedDemo row);
    void RemoveAt(std::size_t index);
    // Sorts every row again and filters the view.
    void Resort();
    void Refilter();
    static std::string SearchableOf(const BrowsedDemo& row);

    std::vector<Stored> rows_;
    std::unordered_map<std::string, std::size_t> index_;  // path -> index in rows_
    std::vector<std::size_t> order_;                      // every row, sorted
    std::vector<std::size_t> view_;                       // the rows in view, sorted
    std::vector<std::size_t> positions_;                  // index in rows_ -> place in view_, or npos
    std::vector<std::string> words_;
    std::optional<BrowseColumn> column_;
    bool descending_ = false;
    bool changed_ = false;  // rows changed since the last sort
};

}  // namespace reelwright

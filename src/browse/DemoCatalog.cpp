#include "browse/DemoCatalog.h"

#include <algorithm>
#include <unordered_set>

#include "browse/DemoSearch.h"
#include "core/Text.h"
#include "queue/DemoDetailsText.h"
#include "queue/NaturalOrder.h"

namespace reelwright {

namespace {

const DemoHead* ReadableHead(const BrowsedDemo& row) {
    return row.details && row.details->head.Readable() ? &row.details->head : nullptr;
}

const DemoLength* ReadableLength(const BrowsedDemo& row) {
    return row.details && row.details->head.Readable() && row.details->length.Readable() ? &row.details->length
                                                                                          : nullptr;
}

// The folder a row's file lies in, compared without letter case.
std::string_view FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

bool IsAtOrBelow(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path[folder.size()] == '\\' &&
           EqualIgnoringAsciiCase(path.substr(0, folder.size()), folder);
}

}  // namespace

std::string BrowseStatusText(std::size_t shown, std::size_t total, bool searching) {
    const std::string all = std::to_string(total) + (total == 1 ? " demo" : " demos");
    if (!searching) return all;
    return std::to_string(shown) + " of " + all;
}

std::string BrowseCellText(const BrowsedDemo& row, BrowseColumn column, const std::optional<LocalTime>& recorded) {
    const DemoHead* head = ReadableHead(row);
    switch (column) {
        case BrowseColumn::Name: return row.demo.name;
        case BrowseColumn::GameType: return row.demo.gameType;
        case BrowseColumn::Mode: return head ? head->mode : std::string();
        case BrowseColumn::Map:
            if (!row.details) return {};
            return head ? head->map : std::string("?");
        case BrowseColumn::Length: {
            const DemoLength* length = ReadableLength(row);
            return length ? LengthText(length->milliseconds) : std::string();
        }
        case BrowseColumn::Players:
            return head && head->players ? std::to_string(head->players->size()) : std::string();
        case BrowseColumn::Server: return head ? head->server : std::string();
        case BrowseColumn::Recorded: return recorded ? TimeText(*recorded) : std::string();
        case BrowseColumn::Size: return SizeText(row.demo.stamp.size);
    }
    return {};
}

std::string DemoCatalog::SearchableOf(const BrowsedDemo& row) {
    std::vector<std::string_view> texts{row.demo.name, row.demo.gameType};
    if (const DemoHead* head = ReadableHead(row)) {
        texts.insert(texts.end(), {head->mode, head->map, head->server});
        if (head->players)
            for (const DemoPlayer& player : *head->players) texts.push_back(player.name);
    }
    return SearchableText(texts);
}

void DemoCatalog::Add(BrowsedDemo row) {
    std::string searchable = SearchableOf(row);
    index_.insert_or_assign(row.demo.path, rows_.size());
    rows_.push_back({std::move(row), std::move(searchable)});
}

void DemoCatalog::RemoveAt(std::size_t index) {
    index_.erase(rows_[index].row.demo.path);
    if (index + 1 != rows_.size()) {
        rows_[index] = std::move(rows_.back());
        index_[rows_[index].row.demo.path] = index;
    }
    rows_.pop_back();
}

void DemoCatalog::ReplaceFolder(FolderRows listing) {
    std::unordered_set<std::string> listed;
    for (const BrowsedDemo& row : listing.rows) listed.insert(row.demo.path);
    for (std::size_t index = rows_.size(); index-- > 0;) {
        const std::string& path = rows_[index].row.demo.path;
        if (EqualIgnoringAsciiCase(FolderOf(path), listing.folder) && !listed.count(path)) RemoveAt(index);
    }
    for (BrowsedDemo& row : listing.rows) {
        const auto known = index_.find(row.demo.path);
        if (known == index_.end()) {
            Add(std::move(row));
            continue;
        }
        Stored& stored = rows_[known->second];
        if (!row.details && stored.row.demo.stamp == row.demo.stamp) row.details = std::move(stored.row.details);
        stored.row = std::move(row);
        stored.searchable = SearchableOf(stored.row);
    }
    changed_ = true;
}

void DemoCatalog::RemoveFolderTree(std::string_view folder) {
    for (std::size_t index = rows_.size(); index-- > 0;)
        if (IsAtOrBelow(rows_[index].row.demo.path, folder)) RemoveAt(index);
    changed_ = true;
}

bool DemoCatalog::SetDetails(const std::string& path, const FileStamp& stamp, DemoHeadAndLength details) {
    const auto known = index_.find(path);
    if (known == index_.end()) return false;
    Stored& stored = rows_[known->second];
    if (stored.row.demo.stamp != stamp) return false;
    stored.row.details = std::move(details);
    stored.searchable = SearchableOf(stored.row);
    // Only a search or a sort by the details can move the row.
    const bool byDetails = column_ && *column_ != BrowseColumn::Name && *column_ != BrowseColumn::GameType &&
                           *column_ != BrowseColumn::Recorded && *column_ != BrowseColumn::Size;
    if (byDetails || !words_.empty()) changed_ = true;
    return true;
}

void DemoCatalog::Rename(const std::string& oldPath, const std::string& newPath) {
    const auto known = index_.find(oldPath);
    if (known == index_.end() || oldPath == newPath) return;
    BrowsedDemo row = rows_[known->second].row;
    RemoveAt(known->second);
    if (const auto taken = index_.find(newPath); taken != index_.end()) RemoveAt(taken->second);
    const std::string_view newName = std::string_view(newPath).substr(newPath.rfind('\\') + 1);
    const std::size_t slash = row.demo.name.rfind('\\');
    row.demo.name = (slash == std::string::npos ? std::string() : row.demo.name.substr(0, slash + 1)) + std::string(newName);
    row.demo.path = newPath;
    Add(std::move(row));
    changed_ = true;
}

void DemoCatalog::Remove(const std::string& path) {
    const auto known = index_.find(path);
    if (known == index_.end()) return;
    RemoveAt(known->second);
    changed_ = true;
}

void DemoCatalog::Clear() {
    rows_.clear();
    index_.clear();
    order_.clear();
    view_.clear();
    positions_.clear();
    changed_ = false;
}

void DemoCatalog::Refresh() {
    if (changed_) Resort();
}

void DemoCatalog::SetSearch(std::string_view text) {
    words_ = SearchWords(text);
    if (changed_) Resort();
    else Refilter();
}

void DemoCatalog::SortBy(BrowseColumn column, bool descending) {
    column_ = column;
    descending_ = descending;
    Resort();
}

void DemoCatalog::Unsort() {
    column_.reset();
    descending_ = false;
    Resort();
}

void DemoCatalog::Resort() {
    changed_ = false;
    order_.resize(rows_.size());
    for (std::size_t index = 0; index < order_.size(); ++index) order_[index] = index;
    const auto row = [&](std::size_t index) -> const BrowsedDemo& { return rows_[index].row; };
    // The walk's order: game type, then name; also what alike rows fall back on.
    const auto walkLess = [&](std::size_t a, std::size_t b) {
        const int type = NaturalCompare(row(a).demo.gameType, row(b).demo.gameType);
        return type != 0 ? type < 0 : NaturalLess(row(a).demo.name, row(b).demo.name);
    };
    std::sort(order_.begin(), order_.end(), walkLess);
    if (column_) {
        const bool down = descending_;
        auto sortBy = [&](auto first, auto last, auto less) {
            std::stable_sort(first, last, [&](std::size_t a, std::size_t b) { return down ? less(b, a) : less(a, b); });
        };
        auto known = [&](auto has) {
            return std::stable_partition(order_.begin(), order_.end(), [&](std::size_t index) { return has(row(index)); });
        };
        auto texts = [&](auto field) {
            return [field, &row](std::size_t a, std::size_t b) { return NaturalLess(field(row(a)), field(row(b))); };
        };
        switch (*column_) {
            case BrowseColumn::Name:
                sortBy(order_.begin(), order_.end(), texts([](const BrowsedDemo& r) -> const std::string& { return r.demo.name; }));
                break;
            case BrowseColumn::GameType:
                sortBy(order_.begin(), order_.end(),
                       texts([](const BrowsedDemo& r) -> const std::string& { return r.demo.gameType; }));
                break;
            case BrowseColumn::Mode:
                sortBy(order_.begin(), known(ReadableHead),
                       texts([](const BrowsedDemo& r) -> const std::string& { return r.details->head.mode; }));
                break;
            case BrowseColumn::Map:
                sortBy(order_.begin(), known(ReadableHead),
                       texts([](const BrowsedDemo& r) -> const std::string& { return r.details->head.map; }));
                break;
            case BrowseColumn::Server:
                sortBy(order_.begin(), known(ReadableHead),
                       texts([](const BrowsedDemo& r) -> const std::string& { return r.details->head.server; }));
                break;
            case BrowseColumn::Length:
                sortBy(order_.begin(), known(ReadableLength), [&](std::size_t a, std::size_t b) {
                    return row(a).details->length.milliseconds < row(b).details->length.milliseconds;
                });
                break;
            case BrowseColumn::Players:
                sortBy(order_.begin(),
                       known([](const BrowsedDemo& r) { return ReadableHead(r) && r.details->head.players; }),
                       [&](std::size_t a, std::size_t b) {
                           return row(a).details->head.players->size() < row(b).details->head.players->size();
                       });
                break;
            case BrowseColumn::Recorded:
                sortBy(order_.begin(), order_.end(),
                       [&](std::size_t a, std::size_t b) { return row(a).demo.stamp.written < row(b).demo.stamp.written; });
                break;
            case BrowseColumn::Size:
                sortBy(order_.begin(), order_.end(),
                       [&](std::size_t a, std::size_t b) { return row(a).demo.stamp.size < row(b).demo.stamp.size; });
                break;
        }
    }
    Refilter();
}

void DemoCatalog::Refilter() {
    view_.clear();
    if (words_.empty()) {
        view_ = order_;
    } else {
        for (const std::size_t index : order_)
            if (MatchesAllWords(rows_[index].searchable, words_)) view_.push_back(index);
    }
    positions_.assign(rows_.size(), std::string::npos);
    for (std::size_t place = 0; place < view_.size(); ++place) positions_[view_[place]] = place;
}

std::optional<std::size_t> DemoCatalog::PositionOf(const std::string& path) const {
    const auto known = index_.find(path);
    if (known == index_.end()) return std::nullopt;
    if (changed_ || known->second >= positions_.size() || positions_[known->second] == std::string::npos)
        return std::nullopt;
    return positions_[known->second];
}

const BrowsedDemo* DemoCatalog::Find(const std::string& path) const {
    const auto known = index_.find(path);
    return known == index_.end() ? nullptr : &rows_[known->second].row;
}

}  // namespace reelwright

// What the queue's list shows about each demo beyond its name: the details
// read on the reader's thread (Map, Length and the tip), and the sort by a
// column's header.
#include <algorithm>
#include <unordered_set>

#include "app/win/frmMain.h"
#include "core/SettingsStore.h"
#include "queue/QueueOrder.h"
#include "queue/win/DemoListView.h"

namespace reelwright {

void frmMain::ReadNewDetails() {
    if (!detailsReader_) return;
    // New entries are the ones appended since the last call: at the end.
    std::size_t first = queue_.Count();
    while (first > 0 && queue_.IdAt(first - 1) >= firstUnread_) --first;
    if (first == queue_.Count()) return;
    std::string gameFolder;
    try {
        gameFolder = ReadGameFolder(services_.store, appKey_);
    } catch (const std::exception&) {
        // Left for the next call: Add and drops have told of the store already.
        return;
    }
    std::vector<DemoDetailsReader::Job> jobs;
    jobs.reserve(queue_.Count() - first);
    for (std::size_t row = first; row < queue_.Count(); ++row)
        jobs.push_back({queue_.IdAt(row), DemoFileOfEntry(gameFolder, queue_.Entries()[row])});
    firstUnread_ = queue_.NextId();
    detailsReader_->Add(std::move(jobs));

    const auto [top, count] = win::VisibleRows(lvwDemoQue);
    std::vector<DemoQueue::EntryId> visible;
    for (std::size_t row = top; row < queue_.Count() && row < top + count; ++row) visible.push_back(queue_.IdAt(row));
    detailsReader_->Prefer(visible);
}

void frmMain::ShowReadDetails() {
    if (!detailsReader_) return;
    std::vector<DemoDetailsReader::Result> results = detailsReader_->TakeResults();
    if (results.empty()) return;
    // Repainted only when a row in view has changed: a full queue brings
    // tens of thousands of results, and most of them are out of sight.
    const auto [top, count] = win::VisibleRows(lvwDemoQue);
    std::vector<DemoQueue::EntryId> inView;
    for (std::size_t row = top; row < queue_.Count() && row < top + count; ++row) inView.push_back(queue_.IdAt(row));
    bool seen = false;
    for (auto& result : results) {
        seen = seen || std::find(inView.begin(), inView.end(), result.id) != inView.end();
        details_.insert_or_assign(result.id, std::move(result.details));
    }
    if (seen) ::InvalidateRect(lvwDemoQue, nullptr, FALSE);
}

void frmMain::ForgetRemovedDetails() {
    std::unordered_set<DemoQueue::EntryId> kept;
    kept.reserve(queue_.Count());
    for (std::size_t row = 0; row < queue_.Count(); ++row) kept.insert(queue_.IdAt(row));
    std::erase_if(details_, [&](const auto& read) { return !kept.count(read.first); });
    if (detailsReader_) detailsReader_->Retain(kept);
}

void frmMain::ClearSortArrow() {
    if (sortColumn_ < 0) return;
    sortColumn_ = -1;
    win::ShowSortArrow(lvwDemoQue, -1, false);
}

void frmMain::lvwDemoQue_ColumnClick(int column) {
    if (column < 0 || column > static_cast<int>(QueueColumn::Length)) return;
    const bool descending = column == sortColumn_ && !sortDescending_;
    const std::vector<bool> selected = win::SelectedRows(lvwDemoQue, queue_.Count());
    ApplyQueueOrder(ColumnOrder(queue_, details_, static_cast<QueueColumn>(column), descending), selected);
    sortColumn_ = column;
    sortDescending_ = descending;
    win::ShowSortArrow(lvwDemoQue, column, descending);
}

}  // namespace reelwright

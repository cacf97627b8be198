#include "queue/DemoCopyOffer.h"

#include <utility>

#include "queue/ConsoleNames.h"

namespace reelwright {

CopyOfferResult OfferDemoCopies(AppServices& services, std::string_view gameFolder,
                                const std::vector<std::string>& sources, CopyGoal goal, const DemoQueue& queue,
                                const std::string& errorTitle) {
    CopyOfferResult result;
    DemoCopyBatch batch = PlanDemoCopies(services.files, gameFolder, sources);
    std::vector<UnreadableDemo> unreadable;
    for (UnreadableDemo& file : batch.unreadable) {
        if (file.error == kErrorFileNotFound || file.error == kErrorPathNotFound)
            result.refused.push_back(std::move(file.path));
        else
            unreadable.push_back(std::move(file));
    }
    if (!unreadable.empty())
        services.prompts.ShowMessage(UnreadableDemosMessage(unreadable), errorTitle, MessageIcon::Stop,
                                     MessageButtons::Ok);

    // The copies' names as the game would get them after what is queued.
    DemoQueue probe = queue;
    const std::size_t before = probe.Count();
    std::vector<std::size_t> positions;  // each copy's position in the probe, 0 when beyond its limit
    for (const DemoCopyPlan& copy : batch.copies) {
        const DemoPlace place = copy.Place();
        positions.push_back(probe.Append({place.name, place.gameType, copy.target}) ? probe.Count() : 0);
    }
    const AnsiTest fitsAnsi = [&](std::string_view text) { return services.shell.FitsAnsiCodePage(std::string(text)); };
    std::vector<RefusedQueuedDemo> refused;
    for (const RefusedQueuedDemo& demo : FindConsoleNameProblems(probe, fitsAnsi))
        if (demo.position > before) refused.push_back(demo);
    if (!refused.empty()) {
        services.prompts.ShowMessage(ConsoleNamesMessage(probe, refused), errorTitle, MessageIcon::Stop,
                                     MessageButtons::Ok);
        std::vector<DemoCopyPlan> kept;
        for (std::size_t i = 0; i < batch.copies.size(); ++i) {
            bool isRefused = false;
            for (const RefusedQueuedDemo& demo : refused) isRefused = isRefused || demo.position == positions[i];
            if (!isRefused) kept.push_back(std::move(batch.copies[i]));
        }
        batch.copies = std::move(kept);
    }
    if (batch.copies.empty()) return result;

    if (services.prompts.ShowMessage(CopyQuestion(batch.copies, goal), kCopyDemoTitle, MessageIcon::Question,
                                     MessageButtons::YesNo) != MessageAnswer::Yes) {
        for (const DemoCopyPlan& copy : batch.copies) result.refused.push_back(copy.source);
        return result;
    }
    if (const auto failure = CopyPlannedDemos(services.files, gameFolder, batch.copies)) {
        services.prompts.ShowMessage(CopyFailedMessage(*failure), kCopyDemoTitle, MessageIcon::Stop,
                                     MessageButtons::Ok);
        return result;
    }
    result.copies = std::move(batch.copies);
    return result;
}

}  // namespace reelwright

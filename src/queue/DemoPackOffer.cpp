#include "queue/DemoPackOffer.h"

#include "queue/DemoPack.h"
#include "queue/PackUnpack.h"

namespace reelwright {

PackOfferResult OfferDemoPack(AppServices& services, std::string_view gameFolder, const std::string& packPath,
                              CopyGoal goal) {
    PackOfferResult result;
    PackPlan plan = PlanPack(services.files, gameFolder, packPath);
    if (!plan.problem.empty()) {
        services.prompts.ShowMessage(PackProblemMessage(plan.packName, plan.problem, plan.problemDetail),
                                     kCopyDemoTitle, MessageIcon::Stop, MessageButtons::Ok);
        return result;
    }
    if (plan.demos.empty()) {
        services.prompts.ShowMessage(PackWithoutDemosMessage(plan), kCopyDemoTitle, MessageIcon::Exclamation,
                                     MessageButtons::Ok);
        return result;
    }
    if (services.prompts.ShowMessage(PackQuestion(plan, goal), kCopyDemoTitle, MessageIcon::Question,
                                     MessageButtons::YesNo) != MessageAnswer::Yes) {
        result.declined = true;
        return result;
    }

    PackUnpackResult unpacked;
    services.prompts.RunWithProgress(kPackProgressTitle, "Copying the demos of " + plan.packName + "...",
                                     [&](ProgressReport& report) {
                                         unpacked = UnpackPack(services.files, gameFolder, plan,
                                                               [&](std::uint64_t done, std::uint64_t total) {
                                                                   report.Report(done, total);
                                                                   return !report.CancelRequested();
                                                               });
                                     });
    if (unpacked.outcome == UnpackOutcome::Failed) {
        services.prompts.ShowMessage(PackProblemMessage(plan.packName, unpacked.problem, unpacked.detail),
                                     kCopyDemoTitle, MessageIcon::Stop, MessageButtons::Ok);
        return result;
    }
    if (unpacked.outcome == UnpackOutcome::Cancelled) return result;
    for (const PackDemo& demo : plan.demos) result.demos.push_back({plan.Place(demo), plan.Target(demo)});
    return result;
}

}  // namespace reelwright

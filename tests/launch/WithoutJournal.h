// Launch without a session journal, for the tests of what Launch writes,
// copies and starts: without a place for the journal a launch of two or more
// demos asks first whether to play although nothing will put the game's
// config back ("Reelwright - Demo keys"). This stand-in for the user answers
// that question Yes and counts it; every other box goes to the fake prompts.
// The journal and the question have tests of their own in tests/session.
#pragma once

#include <string>
#include <vector>

#include "core/AppServices.h"
#include "launch/Launch.h"
#include "support/FakeServices.h"

namespace reelwright::test {

class PlayWithoutJournal : public UserPrompts {
public:
    explicit PlayWithoutJournal(UserPrompts& others) : others_(others) {}

    MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                              MessageButtons buttons) override {
        if (title != kDemoKeysTitle) return others_.ShowMessage(text, title, icon, buttons);
        asked.push_back(text);
        return MessageAnswer::Yes;
    }
    std::string BrowseForFolder(const std::string& title) override { return others_.BrowseForFolder(title); }
    std::optional<OpenFileResult> ShowOpenFile(const OpenFileRequest& request) override {
        return others_.ShowOpenFile(request);
    }
    void RunWithProgress(const std::string& title, const std::string& text, const ProgressWork& work) override {
        others_.RunWithProgress(title, text, work);
    }

    std::vector<std::string> asked;  // the demo-keys questions, answered Yes

private:
    UserPrompts& others_;
};

// Launch with no place for the journal, the demo-keys question answered Yes.
inline bool LaunchWithoutJournal(FakeServices& fake, PlayWithoutJournal& answers, const DemoQueue& queue,
                                 std::string_view optionalParameters) {
    fake.sessions.journalPath.clear();
    AppServices services{fake.store, answers, fake.files, fake.shell, fake.classes, fake.elevation,
                         fake.services.location};
    return Launch(services, fake.sessions, queue, optionalParameters);
}

}  // namespace reelwright::test

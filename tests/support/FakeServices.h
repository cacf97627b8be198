// Every platform seam as a recording fake, all journaling into one Journal, and
// the AppServices bundle over them: the usual base of a test fixture.
#pragma once

#include "core/AppServices.h"
#include "support/FakeClassesRegistry.h"
#include "support/FakeSessionPlatform.h"
#include "support/Fakes.h"

namespace reelwright::test {

struct FakeServices {
    Journal journal;
    FakeSettingsStore store{&journal};
    FakePrompts prompts{&journal};
    FakeFileSystem files{&journal};
    FakeGameShell shell{&journal};
    FakeClassesRegistry classes{&journal};
    FakeElevatedRunner elevation{&journal};
    FakeSessionPlatform sessions{files};
    AppServices services{store, prompts, files, shell, classes, elevation, ProgramLocation{"C:\\Tools", "Reelwright"}};
};

}  // namespace reelwright::test

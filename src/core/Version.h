// The program's one version record. The resource script includes this file for
// the executable's version resource, and the C++ code builds the settings key,
// the splash text and the About box from the same three numbers.
#pragma once

#define REELWRIGHT_VERSION_MAJOR 1
#define REELWRIGHT_VERSION_MINOR 0
#define REELWRIGHT_VERSION_REVISION 15

// File version 1.0.0.15: the third field is unused, the revision is the fourth.
#define REELWRIGHT_FILEVERSION_RC REELWRIGHT_VERSION_MAJOR, REELWRIGHT_VERSION_MINOR, 0, REELWRIGHT_VERSION_REVISION
#define REELWRIGHT_STRINGIFY_(x) #x
#define REELWRIGHT_STRINGIFY(x) REELWRIGHT_STRINGIFY_(x)
#define REELWRIGHT_FILEVERSION_TEXT                                                            \
    REELWRIGHT_STRINGIFY(REELWRIGHT_VERSION_MAJOR) "." REELWRIGHT_STRINGIFY(REELWRIGHT_VERSION_MINOR) \
        ".0." REELWRIGHT_STRINGIFY(REELWRIGHT_VERSION_REVISION)
#define REELWRIGHT_PRODUCTVERSION_TEXT                                                         \
    REELWRIGHT_STRINGIFY(REELWRIGHT_VERSION_MAJOR) "." REELWRIGHT_STRINGIFY(REELWRIGHT_VERSION_MINOR) \
        "." REELWRIGHT_STRINGIFY(REELWRIGHT_VERSION_REVISION)

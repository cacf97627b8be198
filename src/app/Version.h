// The program's one version record. The resource script includes this file for
// the executable's version resource, and the C++ code builds the settings key,
// the splash text and the About box from the same three numbers.
#pragma once

#define REELWRIGHT_VERSION_MAJOR 1
#define REELWRIGHT_VERSION_MINOR 0
#define REELWRIGHT_VERSION_REVISION 15

// File version 1.0.0.15: the third field is unused, the revision is the fourth.
#define REELWRIGHT_FILEVERSION_RC REELWRIGHT_VERSION_MAJOR, REELWRIGHT_VERSION_MINOR, 0, REELWRIGHT_VERSION_REVISION
#define REELWRIGHT_FILEVERSION_TEXT "1.0.0.15"
#define REELWRIGHT_PRODUCTVERSION_TEXT "1.0.15"

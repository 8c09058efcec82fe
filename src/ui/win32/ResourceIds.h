#pragma once

// Resource identifiers shared by quorrel.rc and the code; plain defines, for the resource compiler.
#define QUORREL_PROGRAM_ICON 1

#pragma once

// Resource ids shared by quorvik.rc and the code that loads the resources.

#define QUORVIK_IDI_ICON 1
#define QUORVIK_IDB_BACKGROUND 101

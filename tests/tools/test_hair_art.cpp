// Checks of the generated hair pictures.
#include <gtest/gtest.h>

#include "tools/ArtFiles.h"

// Checks of the generated face pictures.
#include <gtest/gtest.h>

#include "tools/ArtFiles.h"

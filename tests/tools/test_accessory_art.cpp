// Checks of the generated accessory pictures.
#include <gtest/gtest.h>

#include "tools/ArtFiles.h"

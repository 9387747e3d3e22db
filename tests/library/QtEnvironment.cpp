#include <QCoreApplication>

#include "support/AppEnvironment.h"

// The SQL driver plugins need an application object; one lives for the whole test run.
[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ms::test::addApplication<QCoreApplication>("test_library");

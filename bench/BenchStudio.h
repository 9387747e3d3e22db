#pragma once
#include <QString>

namespace ms::bench {

// The installed program folder the benchmarks run on (given as --studio=).
const QString& studioFolder();

}  // namespace ms::bench

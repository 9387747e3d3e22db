#include "support/TestSeed.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace ms::test {

unsigned testSeed() {
    static const unsigned seed = [] {
        const char* given = std::getenv("MS_TEST_SEED");
        const unsigned s =
            given && *given ? static_cast<unsigned>(std::stoul(given)) : std::random_device{}();
        std::printf("random tests use MS_TEST_SEED=%u (set it to replay them)\n", s);
        std::fflush(stdout);
        return s;
    }();
    return seed;
}

}  // namespace ms::test

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

// The SQL driver plugins need an application object; one lives for the whole test run.
namespace {
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[13] = "test_library";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};
[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
}  // namespace

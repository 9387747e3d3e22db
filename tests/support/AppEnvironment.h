#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>
#include <string>

namespace ms::test {

// One Qt application object for the whole test run of an executable (plugins, windows and the
// event loop need it), made before the first test and gone after the last.
template <typename App>
class AppEnvironment : public ::testing::Environment {
  public:
    explicit AppEnvironment(const char* name) : name_(name) {}
    void SetUp() override {
        argv_[0] = name_.data();
        app_ = std::make_unique<App>(argc_, argv_);
        // Closing the last test window must not end the run.
        if constexpr (requires { App::setQuitOnLastWindowClosed(false); })
            App::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::string name_;
    int argc_ = 1;
    char* argv_[2] = {nullptr, nullptr};
    std::unique_ptr<App> app_;
};

template <typename App>
::testing::Environment* addApplication(const char* name) {
    return ::testing::AddGlobalTestEnvironment(new AppEnvironment<App>(name));
}

}  // namespace ms::test

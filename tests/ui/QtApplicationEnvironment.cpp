#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

// Widgets need one application object for the whole run; the platform plugin comes from
// QT_QPA_PLATFORM (offscreen under CTest).
class QtApplicationEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { application_.reset(); }

  private:
    int argc_ = 1;
    char name_[15] = "tilewise-tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

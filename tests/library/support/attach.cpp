// Test programs that link the library's core statically have no load-time entry: this runs
// the process-attach work before any test, as loading the library would.
#include <gtest/gtest.h>

#include "engine/process_attach.h"

namespace {
struct Attach : ::testing::Environment {
    void SetUp() override { ProcessAttach(); }
    void TearDown() override { ProcessDetach(); }
};
const auto *registered = ::testing::AddGlobalTestEnvironment(new Attach);
}  // namespace

// The archive's messages are checked in English throughout these tests;
// the command-line cases run with the data directory's own language.

#include "base/Parameters.h"

#include <gtest/gtest.h>

namespace {

class EnglishMessages : public ::testing::Environment {
public:
    void SetUp() override { etibarix::base::Parameters.Language = 2; }
};

[[maybe_unused]] ::testing::Environment *const environment = ::testing::AddGlobalTestEnvironment(new EnglishMessages);

} // namespace

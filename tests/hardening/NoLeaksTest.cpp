#include <gtest/gtest.h>

#include "ExpectFailure.h"
#include "HostileTables.h"
#include "ProcessResources.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace quorrel::testing {
namespace {

constexpr int kRunsPerCase = 500;

std::optional<FailureKind> loadOnce(const LoadCase& loadCase, FileTable& files,
                                    std::size_t& items) {
    StandaloneHost host(loadCase.paths.data, loadCase.paths.index);
    const auto failure = failureOf([&] { loadSkills(host, files); });
    items = host.list().items().size();
    return failure ? std::optional(failure->kind()) : std::nullopt;
}

// Thousands of loads that fail in every way, mixed with loads that succeed, leave the process with
// the descriptors it had, and every run ends as it must.
TEST(NoLeaks, ThousandsOfRunsLeaveNoDescriptorOpen) {
    const HostileTables tables;
    FileTable files;
    const std::size_t descriptorsBefore = openDescriptorCount();

    for (int round = 0; round < kRunsPerCase; ++round) {
        for (const LoadCase& loadCase : tables.cases()) {
            std::size_t items = 0;
            const auto failure = loadOnce(loadCase, files, items);
            ASSERT_EQ(failure, loadCase.failure) << loadCase.name << ", run " << round;
            ASSERT_EQ(items, loadCase.items) << loadCase.name << ", run " << round;
            ASSERT_EQ(files.openCount(), 0u) << loadCase.name << ", run " << round;
        }
    }
    EXPECT_EQ(openDescriptorCount(), descriptorsBefore);
    if (!processFiguresKnown()) {
        GTEST_SKIP() << "the loads ran, but this system does not show the descriptor count";
    }
}

}  // namespace
}  // namespace quorrel::testing

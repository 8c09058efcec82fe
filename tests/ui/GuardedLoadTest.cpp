#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "GuardedLoad.h"
#include "NumberedCase.h"
#include "runtime/base/Failure.h"
#include "skills/LoadFields.h"
#include "skills/LoadHost.h"
#include "skills/SkillList.h"

namespace quorrel {
namespace {

// A list whose first operation, Clear, throws what the test asks for.
class ThrowingList final : public SkillList {
  public:
    explicit ThrowingList(std::function<void()> raise) : raise_(std::move(raise)) {}

    void Clear() override { raise_(); }
    int NewIndex() const override { return -1; }

  protected:
    void appendItem(std::string) override {}
    std::size_t itemCount() const override { return 0; }
    void checkItem(std::size_t, bool) override {}
    void makeCurrent(std::size_t) override {}

  private:
    std::function<void()> raise_;
};

class ThrowingHost final : public LoadHost {
  public:
    explicit ThrowingHost(std::function<void()> raise) : list_(std::move(raise)) {}

    SkillList& lstSkills() override { return list_; }
    std::string txtPathText() const override { return "c:\\game\\skills.mul"; }
    std::string txtPathIdxText() const override { return "c:\\game\\skills.idx"; }
    LoadFields& loadFields() override { return fields_; }

  private:
    ThrowingList list_;
    LoadFields fields_;
};

struct EscapeCase {
    std::function<void()> raise;
    std::string description;
};

class GuardedLoadTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(GuardedLoadTest, TurnsWhateverStopsTheLoadIntoADescription) {
    ThrowingHost host(GetParam().raise);
    FileTable files;
    EXPECT_EQ(loadGuarded(host, files), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Escapes, GuardedLoadTest,
    ::testing::Values(
        EscapeCase{[] { throw Failure(FailureKind::ListOperation, "the list said no"); },
                   "the list said no"},
        // The load action itself reports memory running out as a failure of its own.
        EscapeCase{[] { throw std::bad_alloc(); }, "out of memory"},
        EscapeCase{[] { throw std::logic_error("a broken promise"); },
                   "a broken promise (loading the skills of \"c:\\game\\skills.idx\")"},
        EscapeCase{[] { throw 42; },
                   "an unexpected error (loading the skills of \"c:\\game\\skills.idx\")"}),
    testing::NumberedCase());

}  // namespace
}  // namespace quorrel

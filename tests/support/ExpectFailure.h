#pragma once

// A failure expected of a statement, checked in one line, as fmt's EXPECT_THROW_MSG checks an
// exception and its message:
//
//   EXPECT_FAILURE(files.open(1, path), FailureKind::OpenRefused, HasSubstr(path));
//   EXPECT_FAILURE(buffer.redim(0, -1), FailureKind::BufferBounds, "a buffer cannot run ...");
//
// The description is matched by a gMock string matcher, or equals a text given as it is.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "runtime/base/Failure.h"

namespace quorrel::testing {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// What `action` threw: the Failure, or nothing when it threw none. Anything else it throws goes on.
template <typename Action>
std::optional<Failure> failureOf(Action&& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure;
    }
    return std::nullopt;
}

// Whether `failure` is one of `kind` whose description matches `description`, said as gTest says
// what went wrong.
inline ::testing::AssertionResult isFailure(
    const std::optional<Failure>& failure, FailureKind kind,
    const ::testing::Matcher<const std::string&>& description) {
    if (!failure) {
        return ::testing::AssertionFailure() << "it threw no failure";
    }
    ::testing::StringMatchResultListener why;
    if (failure->kind() != kind || !description.MatchAndExplain(failure->description(), &why)) {
        return ::testing::AssertionFailure()
               << "it threw a " << failureKindName(failure->kind()) << " failure \""
               << failure->description() << "\", where a " << failureKindName(kind)
               << " failure whose description "
               << ::testing::DescribeMatcher<const std::string&>(description) << " was expected";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace quorrel::testing

#define EXPECT_FAILURE(statement, kind, description)                                             \
    EXPECT_TRUE(::quorrel::testing::isFailure(::quorrel::testing::failureOf([&] { statement; }), \
                                              kind, description))                                \
        << #statement

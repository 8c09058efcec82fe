#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/base/Failure.h"
#include "skills/MemorySkillList.h"
#include "skills/SkillList.h"

namespace quorrel::testing {

// A list that writes every operation into a log, in order and with its arguments, and keeps its
// items like the real list does. It can be told to fail one operation, the way a list control
// reports a failure.
class RecordingSkillList final : public SkillList {
  public:
    // `fields` must outlive the list.
    explicit RecordingSkillList(const LoadFields& fields) : list_(fields) {}

    // The operation (as its log entry begins, "AddItem", "Selected", ...) that fails on its
    // `nth` call (1 for the first), with the given failure.
    void failOn(std::string operation, int nth, Failure failure) {
        failingOperation_ = std::move(operation);
        failingCall_ = nth;
        failure_.emplace(std::move(failure));
    }

    void Clear() override {
        record("Clear");
        list_.Clear();
    }

    int NewIndex() const override {
        log_.push_back("NewIndex");
        return list_.NewIndex();
    }

    // Puts an entry into the log that is not a list operation, so that the log shows where it
    // happened among them.
    void note(std::string entry) const { log_.push_back(std::move(entry)); }

    const std::vector<std::string>& log() const noexcept { return log_; }
    const std::vector<SkillRow>& items() const noexcept { return list_.items(); }
    std::optional<int> currentIndex() const noexcept { return list_.currentIndex(); }

    // The log entries that begin with `operation`.
    std::vector<std::string> calls(const std::string& operation) const {
        std::vector<std::string> found;
        for (const std::string& entry : log_) {
            if (entry.starts_with(operation)) {
                found.push_back(entry);
            }
        }
        return found;
    }

  protected:
    void appendItem(std::string text) override {
        record("AddItem " + text);
        list_.AddItem(std::move(text));
    }

    std::size_t itemCount() const override { return list_.items().size(); }

    void checkItem(std::size_t index, bool checked) override {
        record("Selected " + std::to_string(index) + " " + (checked ? "true" : "false"));
        list_.Selected(static_cast<int>(index), checked);
    }

    void makeCurrent(std::size_t index) override {
        record("ListIndex " + std::to_string(index));
        list_.ListIndex(static_cast<int>(index));
    }

  private:
    void record(std::string entry) {
        const bool failing =
            failure_ && entry.starts_with(failingOperation_) && ++callsOfFailing_ == failingCall_;
        log_.push_back(std::move(entry));
        if (failing) {
            throw *failure_;
        }
    }

    MemorySkillList list_;
    mutable std::vector<std::string> log_;
    std::string failingOperation_;
    int failingCall_ = 0;
    int callsOfFailing_ = 0;
    std::optional<Failure> failure_;
};

}  // namespace quorrel::testing

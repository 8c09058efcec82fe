// libFuzzer target for the load action. Each input becomes an index file, a data file and a fault
// (see FuzzInput and ScratchFiles), the load action runs on them through a StandaloneHost, and the
// result is held against what must always be true: only failures of the listed kinds, the items a
// model of the two files predicts (all of them on success, those before the failing record on
// failure), a current item exactly when the load succeeded with items, and every file number free
// afterwards. A read that fails or an allocation that fails must end the load with a failure of
// its kind, keeping items the model predicts; a file cut short during the load must still end it
// cleanly.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "AllocationFailure.h"
#include "ExpectedLoad.h"
#include "FuzzInput.h"
#include "ReadFaults.h"
#include "ScratchFiles.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace quorrel::fuzz {
namespace {

void require(bool holds, const std::string& what) {
    if (!holds) {
        std::fprintf(stderr, "load action broke a rule: %s\n", what.c_str());
        std::abort();
    }
}

bool isListedKind(FailureKind kind) {
    return failureKindName(kind) != "unknown";
}

// A load's result beside the model's when nothing went wrong.
void checkAgainstModel(const StandaloneHost& host, const std::optional<Failure>& failure,
                       const ExpectedLoad& expected, const std::string& indexPath) {
    require(host.list().items() == expected.items,
            "the items differ from the model's: " + std::to_string(host.list().items().size()) +
                " items where the model has " + std::to_string(expected.items.size()) +
                (failure ? ", ended by: " + std::string(failure->what()) : std::string()));
    if (!failure) {
        require(!expected.failure, "the load succeeded where it must fail with " +
                                       std::string(failureKindName(*expected.failure)));
        const auto current = host.list().currentIndex();
        require(current == (expected.items.empty() ? std::nullopt : std::optional<int>(0)),
                "the current item is not item 0 exactly when there are items");
        return;
    }
    require(expected.failure == failure->kind(),
            "failed with " + std::string(failureKindName(failure->kind())) +
                (expected.failure ? " where the model fails with " +
                                        std::string(failureKindName(*expected.failure))
                                  : " where the model succeeds") +
                ": " + failure->what());
    const std::string description = failure->what();
    const std::string place =
        expected.failingRecord
            ? "record " + std::to_string(*expected.failingRecord) + " of \"" + indexPath + "\")"
            : "\"" + indexPath + "\"";
    require(expected.failingRecord ? description.ends_with(place)
                                   : description.find(place) != std::string::npos,
            "the description \"" + description + "\" does not name " + place);
}

// A load's result when a read or an allocation failed in it: a failure of that kind, with items
// that the model predicts before it.
void checkInjectedFailure(const StandaloneHost& host, const std::optional<Failure>& failure,
                          const ExpectedLoad& expected, FailureKind injected) {
    require(failure.has_value(),
            "an injected " + std::string(failureKindName(injected)) + " went unnoticed");
    require(failure->kind() == injected || failure->kind() == expected.failure,
            "an injected " + std::string(failureKindName(injected)) + " ended as " +
                std::string(failureKindName(failure->kind())) + ": " + failure->what());
    const auto& items = host.list().items();
    require(items.size() <= expected.items.size() &&
                std::equal(items.begin(), items.end(), expected.items.begin()),
            "the items before an injected failure differ from the model's");
}

// One run of the load action under `input`'s fault, held against the model.
void loadAndCheck(StandaloneHost& host, FileTable& files, fault::ReadFaults& reads,
                  const FuzzInput& input, const ExpectedLoad& expected,
                  const std::string& indexPath) {
    const std::size_t at = std::size_t{input.faultAt} + 1;
    reads = {};
    reads.failingRead = input.fault == FuzzFault::FailingRead ? at : 0;
    reads.cuttingRead = input.fault == FuzzFault::CuttingRead ? at % 16 : 0;
    reads.cutToBytes = at / 16 * 7;
    const std::size_t allocation = input.fault == FuzzFault::FailingAllocation ? at : 0;

    // The exception is only looked at once allocations cannot fail any more, as taking a copy
    // of it could be the allocation that fails.
    std::exception_ptr raised;
    bool allocationFailed = false;
    {
        const fault::AllocationFailure failing(allocation);
        try {
            loadSkills(host, files);
        } catch (...) {
            raised = std::current_exception();
        }
        allocationFailed = failing.happened();
    }
    std::optional<Failure> failure;
    if (raised) {
        try {
            std::rethrow_exception(raised);
        } catch (const Failure& caught) {
            failure = caught;
        } catch (const std::exception& other) {
            require(false, std::string("an exception that is not a Failure: ") + other.what());
        }
    }
    require(files.openCount() == 0, "a file is still open after the run");
    if (failure) {
        require(isListedKind(failure->kind()), "a failure of an unlisted kind");
        require(!host.list().currentIndex(), "a failed run left a current item");
    }
    if (allocationFailed) {
        checkInjectedFailure(host, failure, expected, FailureKind::OutOfMemory);
    } else if (reads.failingRead != 0 && reads.readsMade >= reads.failingRead) {
        checkInjectedFailure(host, failure, expected, FailureKind::ReadError);
    } else if (reads.cuttingRead == 0 || reads.readsMade < reads.cuttingRead) {
        checkAgainstModel(host, failure, expected, indexPath);
    }
}

void run(const FuzzInput& input) {
    static const ScratchFiles scratch;
    // One table for the whole process, so a number left open shows.
    static const auto reads = std::make_shared<fault::ReadFaults>();
    static fault::FaultyReads faultyReads(reads);
    static FileTable files(faultyReads);

    const std::string indexPath =
        input.indexMissing ? scratch.missingFile() : scratch.indexFile(input.index);
    const bool dataExists = input.dataIsIndex ? !input.indexMissing : !input.dataMissing;
    const auto dataBytes = input.dataIsIndex ? input.index : input.data;
    const std::string dataPath = input.dataIsIndex ? indexPath
                                 : dataExists      ? scratch.dataFile(dataBytes)
                                                   : scratch.missingFile();
    const ExpectedLoad expected = input.indexMissing
                                      ? ExpectedLoad::indexRefused()
                                      : ExpectedLoad::of(input.index, dataBytes, dataExists);

    StandaloneHost host(dataPath, indexPath);
    loadAndCheck(host, files, *reads, input, expected, indexPath);
    if (input.runTwice) {
        loadAndCheck(host, files, *reads, input, expected, indexPath);
    }
}

}  // namespace
}  // namespace quorrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (const auto input = quorrel::fuzz::FuzzInput::split({bytes, size})) {
        quorrel::fuzz::run(*input);
    }
    return 0;
}

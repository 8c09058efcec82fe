// libFuzzer target for the load action. Each input becomes an index file and a data file (see
// FuzzInput and ScratchFiles), the load action runs on them through a StandaloneHost, and the
// result is held against what must always be true: only failures of the listed kinds, the items a
// model of the two files predicts (all of them on success, those before the failing record on
// failure), a current item exactly when the load succeeded with items, and every file number free
// afterwards.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "ExpectedLoad.h"
#include "FuzzInput.h"
#include "ScratchFiles.h"
#include "runtime/FileTable.h"
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

// One run of the load action, held against the model.
void loadAndCheck(StandaloneHost& host, FileTable& files, const ExpectedLoad& expected,
                  const std::string& indexPath) {
    std::optional<Failure> failure;
    try {
        loadSkills(host, files);
    } catch (const Failure& raised) {
        failure = raised;
    } catch (const std::exception& other) {
        require(false, std::string("an exception that is not a Failure: ") + other.what());
    }
    require(files.openCount() == 0, "a file is still open after the run");
    require(host.list().items() == expected.items, "the items differ from the model's");

    if (!failure) {
        require(!expected.failure, "the load succeeded where it must fail with " +
                                       std::string(failureKindName(*expected.failure)));
        const auto current = host.list().currentIndex();
        require(current == (expected.items.empty() ? std::nullopt : std::optional<int>(0)),
                "the current item is not item 0 exactly when there are items");
        return;
    }
    require(isListedKind(failure->kind()), "a failure of an unlisted kind");
    require(expected.failure == failure->kind(),
            "failed with " + std::string(failureKindName(failure->kind())) +
                (expected.failure ? " where the model fails with " +
                                        std::string(failureKindName(*expected.failure))
                                  : " where the model succeeds") +
                ": " + failure->what());
    require(!host.list().currentIndex(), "a failed run left a current item");
    const std::string description = failure->what();
    const std::string place =
        expected.failingRecord
            ? "record " + std::to_string(*expected.failingRecord) + " of " + indexPath
            : indexPath;
    require(description.find(place) != std::string::npos,
            "the description \"" + description + "\" does not name " + place);
}

void run(const FuzzInput& input) {
    static const ScratchFiles scratch;
    static FileTable files;  // one table for the whole process, so a number left open shows

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
    loadAndCheck(host, files, expected, indexPath);
    if (input.runTwice) {
        loadAndCheck(host, files, expected, indexPath);
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

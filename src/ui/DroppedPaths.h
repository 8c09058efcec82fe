#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Form1Layout.h"
#include "runtime/files/FileSystem.h"

namespace quorrel::form1 {

// What a drop onto one of the path fields puts into the two fields. A drop is taken whole or not
// at all: either one field or both get new paths, or neither does and `refusal` says why.
struct DropOutcome {
    std::optional<std::string> txtPath;
    std::optional<std::string> txtPathIdx;
    std::string refusal;

    bool taken() const noexcept { return refusal.empty(); }
};

// Works out the outcome of dropping `dropped` (local paths in UTF-8, as the system gives them) on
// the field `droppedOn` (txtPath or txtPathIdx):
// - one file goes into the field it is dropped on;
// - two files fill both fields, whatever field they are dropped on: the one named like a data file
//   (*.mul) into txtPath, the one named like an index (*.idx) into txtPathIdx;
// - a folder that holds skills.mul and skills.idx (in any case) fills both with those two;
// - anything else is refused.
// Only folders are looked into, through `fileSystem`; nothing is opened or read.
DropOutcome pathsFromDrop(const std::vector<std::string>& dropped, ControlId droppedOn,
                          FileSystem& fileSystem = FileSystem::native());

}  // namespace quorrel::form1

#include "Failure.h"

namespace quorrel {

std::string_view failureKindName(FailureKind kind) {
    switch (kind) {
        case FailureKind::OpenRefused:
            return "open-refused";
        case FailureKind::ReadError:
            return "read-error";
        case FailureKind::Overflow:
            return "overflow";
        case FailureKind::BadReadPosition:
            return "bad-read-position";
        case FailureKind::BufferBounds:
            return "buffer-bounds";
        case FailureKind::OutOfMemory:
            return "out-of-memory";
        case FailureKind::InvalidListIndex:
            return "invalid-list-index";
        case FailureKind::ListOperation:
            return "list-operation";
        case FailureKind::WriteError:
            return "write-error";
        case FailureKind::BadInput:
            return "bad-input";
    }
    return "unknown";
}

Failure::Failure(FailureKind kind, const std::string& description)
    : std::runtime_error(description), kind_(kind) {}

Failure Failure::within(std::string_view context) const {
    std::string described(context);
    described += ": ";
    described += what();
    return Failure(kind_, described);
}

Failure Failure::at(std::string_view place) const {
    std::string described = what();
    if (placed_) {
        described.pop_back();
        described += ", ";
    } else {
        described += " (";
    }
    described += place;
    described += ')';
    Failure placed(kind_, described);
    placed.placed_ = true;
    return placed;
}

}  // namespace quorrel

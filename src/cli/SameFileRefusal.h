#pragma once

#include <string_view>

#include "runtime/replace/LookedAt.h"

namespace quorrel::cli {

// A path a program was given, with the option that gave it ("--data"), as it was looked at.
struct GivenPath {
    std::string_view option;
    const LookedAt& looked;
};

// Refuses two given paths that name one file (nameOneFile), whether or not it exists yet, with a
// write-error failure that names both as the user gave them: "--data "a" and --index "b" are the
// same file". Both programs refuse so, before they read or write anything: quorrel-pack's two
// targets and the list it reads, quorrel-dump's output and the two files it reads.
void refuseOneFileTwice(const GivenPath& first, const GivenPath& second);

}  // namespace quorrel::cli

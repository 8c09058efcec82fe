#include "CommandLine.h"

#include <algorithm>
#include <charconv>

#include "cli/ExitStatus.h"

namespace quorrel::cli {
namespace {

// How many arguments an option with an empty value spans there; 0 when it has none.
int emptyValueSpan(std::string_view argument, std::string_view next, std::string_view option) {
    if (argument.size() == option.size() + 1 && argument.starts_with(option) &&
        argument.back() == '=') {
        return 1;
    }
    return argument == option && next.empty() ? 2 : 0;
}

// Help and version text that could not be written is a failure, not a success.
int helpOrVersionStatus(std::ostream& out, std::ostream& err, const std::string& program) {
    out.flush();
    if (!out) {
        err << program << ": cannot write to standard output\n";
        return kExitFailed;
    }
    return kExitSuccess;
}

// The last line of a program's --help: where the whole of its text stands. A man page where
// there is man; on Windows, where there is none, the README at the project's home page.
std::string whereTheFullTextIs(std::string_view program) {
    const std::string name(program);
#ifdef _WIN32
    return "All of it in full: the \"" + name +
           "\" section of the README.md in the sources, also at\n" + QUORREL_HOMEPAGE + ".";
#else
    return "All of it in full: man " + name + ", or the \"" + name +
           "\" section of the README.md in\nthe sources.";
#endif
}

// The code page a --codepage value names, in decimal only ("0932" too), so that "0x3a4" and
// "01644" are never taken for 932 read in another base.
std::optional<CodePage> codePageNamed(std::string_view value) {
    unsigned number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number, 10);
    if (value.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return CodePage::known(number);
}

// The option given more than once where it takes one value, if that is what CLI11 refused: its
// own words ("At Most 1 required but received 2") say it in its terms, not the user's.
std::optional<std::string> repeatedOption(const CLI::App& app) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_items_expected_max() == 1 && option->count() > 1) {
            const std::size_t times = option->count();
            return option->get_name() + " is given " +
                   (times == 2 ? std::string("twice") : std::to_string(times) + " times") +
                   "; give it once";
        }
    }
    return std::nullopt;
}

}  // namespace

SplitArguments withoutEmptyValues(int argc, const char* const* argv,
                                  std::initializer_list<std::string_view> options) {
    SplitArguments split;
    for (int i = 1; i < argc;) {
        const std::string_view argument = argv[i];
        // A missing next argument counts as one that is not empty.
        const std::string_view next = i + 1 < argc ? std::string_view(argv[i + 1]) : "-";
        int span = 0;
        for (const std::string_view option : options) {
            span = emptyValueSpan(argument, next, option);
            if (span > 0) {
                split.emptied.emplace(option);
                break;
            }
        }
        if (span == 0) {
            split.kept.emplace_back(argument);
            span = 1;
        }
        i += span;
    }
    return split;
}

void useCommonMessages(CLI::App& app, const std::string& program, const std::string& version,
                       const std::string& footer) {
    app.footer(footer + whereTheFullTextIs(program));
    app.set_version_flag("--version", program + " " + version);
    app.failure_message([program](const CLI::App*, const CLI::Error& error) {
        return program + ": " + error.what() + "\nRun with --help for more information.\n";
    });
}

CLI::Option* addFormatOption(CLI::App& app, std::string& formatName,
                             const std::string& description) {
    return app.add_option("--format", formatName, description)
        ->check(CLI::IsMember({"text", "json", "csv"}))
        ->capture_default_str();
}

CLI::Option* addCodePageOption(CLI::App& app, CodePage& codePage, const std::string& description) {
    const auto knownOnly = [](const std::string& value) -> std::string {
        if (codePageNamed(value)) {
            return {};
        }
        return value + " is not a code page this program knows (" + CodePage::knownNumbersText() +
               ")";
    };
    return app
        .add_option_function<std::string>(
            "--codepage",
            [&codePage](const std::string& value) { codePage = *codePageNamed(value); },
            description + ", one of " + CodePage::knownNumbersText() + " (default " +
                std::to_string(codePage.number()) + ", the system's)")
        ->type_name("N")
        ->check(CLI::Validator(knownOnly, ""));
}

std::optional<int> parseOrExit(CLI::App& app, std::vector<std::string> arguments, std::ostream& out,
                               std::ostream& err, const std::string& program) {
#ifdef _WIN32
    // Windows programs answer /? with their help.
    std::replace(arguments.begin(), arguments.end(), std::string("/?"), std::string("--help"));
#endif
    // CLI11 takes the arguments last first.
    std::reverse(arguments.begin(), arguments.end());
    try {
        app.parse(arguments);
    } catch (const CLI::ArgumentMismatch& error) {
        if (const auto repeated = repeatedOption(app)) {
            err << program << ": " << *repeated << "\nRun with --help for more information.\n";
            return kExitUsageError;
        }
        app.exit(error, out, err);
        return kExitUsageError;
    } catch (const CLI::ParseError& error) {
        // CLI11 reports help and version as "errors" with status 0 and writes them to `out`.
        const int status = app.exit(error, out, err);
        return status == 0 ? helpOrVersionStatus(out, err, program) : kExitUsageError;
    }
    return std::nullopt;
}

}  // namespace quorrel::cli

#pragma once

#include <iostream>
#include <memory>

namespace quorrel {

// The standard streams as a command-line program reads and writes them, set up for as long as the
// object lives. The C++ streams go unsynchronised with C's, so that standard input is read in
// blocks rather than a character at a time. On Windows standard input and output pass their bytes
// as they are (in text mode a line feed would gain a carriage return, and a CSV row's CR LF become
// CR CR LF), and a console is written in UTF-16 through ConsoleStream, so that names show right
// whatever its code page.
class StandardStreams {
  public:
    StandardStreams();
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;
    ~StandardStreams();

    std::istream& in() noexcept { return std::cin; }
    std::ostream& out() noexcept { return *out_; }
    std::ostream& err() noexcept { return *err_; }

  private:
    struct Consoles;  // the console streams on Windows; nothing elsewhere
    std::unique_ptr<Consoles> consoles_;
    std::ostream* out_ = &std::cout;
    std::ostream* err_ = &std::cerr;
};

}  // namespace quorrel

#pragma once

#include <istream>
#include <ostream>

namespace cli {

// Where a command reads standard input and writes its report and its error
// lines: the process's own streams in the program, string streams in tests.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

}  // namespace cli

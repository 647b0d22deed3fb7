// The commands of quillomar-cli: the options they take, parsed into one
// struct, and the code that runs them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace quillomar::cli {

struct TOptions {
    enum class TCommand { Run, Primes, Siblings, Help };
    TCommand Command = TCommand::Help;
    uint64_t Count = 0;       // primes COUNT
    int32_t Number = 0;       // siblings NUMBER
    std::string HelpText;     // the text for --help
};

// A command line that does not parse; exit status 2.
class TUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the command line; TUsageError when it is wrong.
TOptions ParseOptions(int argc, const char* const* argv);

// The short usage text printed with a usage error.
std::string UsageText();

// Runs the command; returns the exit status. The system's errors escape.
int RunCommand(const TOptions& aOptions);

// "quillomar-cli primes COUNT": the first COUNT primes, ten to a line.
void WritePrimes(uint64_t aCount, std::FILE* aOut);

}  // namespace quillomar::cli

#include "Commands.h"

#include <unistd.h>

#include <charconv>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>
#include <primesieve.hpp>

#include "Analysis.h"
#include "ConsoleWindow.h"
#include "IntConvert.h"

namespace quillomar::cli {

namespace {

constexpr int kInterruptedStatus = 130;

int RunAnalysis() {
    TInterruptGuard lGuard;
    const bool lTerminal = ::isatty(STDERR_FILENO) == 1;
    TConsoleWindow lWindow(stdout, lTerminal ? stderr : nullptr);
    lWindow.OnInterrupt([&lWindow] { lWindow.SetPauseDown(true); });
    TAnalysis lAnalysis(lWindow);
    lAnalysis.FormCreate();
    lAnalysis.btnStartClick();
    lWindow.EndProgress();
    std::fflush(stdout);
    return lWindow.Interrupted() ? kInterruptedStatus : 0;
}

int RunSiblings(int32_t aNumber) {
    TInterruptGuard lGuard;
    TConsoleWindow lWindow(nullptr, nullptr);
    TAnalysis lAnalysis(lWindow);
    // Ctrl-C releases the Search toggle: the click that stops a search.
    lWindow.OnInterrupt([&] {
        lWindow.SetSearchDown(false);
        lAnalysis.btnSearchClick();
    });
    lAnalysis.LoadPrimes("primes.txt");
    lWindow.SetText(TControl::edtFirst, std::to_string(aNumber));
    lWindow.SetSearchDown(true);
    lAnalysis.btnSearchClick();
    for (TControl lControl : {TControl::lblSibiles, TControl::lblSibilesAll, TControl::edtSibiles}) {
        std::printf("%s\n", lWindow.GetText(lControl).c_str());
    }
    std::fflush(stdout);
    return lWindow.Interrupted() ? kInterruptedStatus : 0;
}

}  // namespace

std::string UsageText() {
    return "usage: quillomar-cli run\n"
           "       quillomar-cli primes COUNT\n"
           "       quillomar-cli siblings NUMBER\n";
}

TOptions ParseOptions(int argc, const char* const* argv) {
    TOptions lOptions;
    CLI::App lApp{"Prime balance analysis without the window", "quillomar-cli"};
    lApp.require_subcommand(0, 1);

    auto* lRun = lApp.add_subcommand("run", "Create the report files here and analyse every prime of primes.txt");
    auto* lPrimes = lApp.add_subcommand("primes", "Write the first COUNT primes, ten to a line");
    std::string lCount;
    lPrimes->add_option("COUNT", lCount, "How many primes")->required();
    auto* lSiblings = lApp.add_subcommand("siblings", "Search the siblings of NUMBER in FlowPurePrimes.txt");
    std::string lNumber;
    lSiblings->add_option("NUMBER", lNumber, "The number, as the number field reads it")->required();

    struct TCommandEntry {
        CLI::App* Sub;
        TOptions::TCommand Command;
    };
    const TCommandEntry lTable[] = {{lRun, TOptions::TCommand::Run},
                                    {lPrimes, TOptions::TCommand::Primes},
                                    {lSiblings, TOptions::TCommand::Siblings}};
    // "siblings -7" or "siblings -$7": a number the field takes may begin
    // with "-"; it is NUMBER, not an option.
    std::vector<const char*> lArgs(argv, argv + argc);
    if (argc == 3 && std::string_view(argv[1]) == "siblings" && argv[2][0] == '-' &&
        std::string_view(argv[2]) != "--" && TryStrToInt(argv[2])) {
        lArgs.insert(lArgs.begin() + 2, "--");
    }
    try {
        lApp.parse(static_cast<int>(lArgs.size()), lArgs.data());
    } catch (const CLI::CallForHelp&) {
        lOptions.Command = TOptions::TCommand::Help;
        lOptions.HelpText = lApp.help();
        return lOptions;
    } catch (const CLI::ParseError& e) {
        throw TUsageError(e.what());
    }
    bool lChosen = false;
    for (const TCommandEntry& lEntry : lTable) {
        if (lEntry.Sub->parsed()) {
            lOptions.Command = lEntry.Command;
            lChosen = true;
        }
    }
    if (!lChosen) throw TUsageError("a command is required");
    if (lOptions.Command == TOptions::TCommand::Primes) {
        const char* lEnd = lCount.data() + lCount.size();
        auto [lPtr, lError] = std::from_chars(lCount.data(), lEnd, lOptions.Count);
        if (lCount.empty() || lError != std::errc() || lPtr != lEnd) {
            throw TUsageError("COUNT is not a whole number: " + lCount);
        }
    }
    if (lOptions.Command == TOptions::TCommand::Siblings) {
        auto lValue = TryStrToInt(lNumber);
        if (!lValue) throw TUsageError("NUMBER is not an integer: " + lNumber);
        lOptions.Number = *lValue;
    }
    return lOptions;
}

void WritePrimes(uint64_t aCount, std::FILE* aOut) {
    primesieve::iterator lIt;
    for (uint64_t i = 0; i < aCount; ++i) {
        uint64_t p = lIt.next_prime();
        std::fprintf(aOut, (i % 10 == 0) ? "%llu" : " %llu", static_cast<unsigned long long>(p));
        if (i % 10 == 9 || i + 1 == aCount) std::fputc('\n', aOut);
    }
}

int RunCommand(const TOptions& aOptions) {
    switch (aOptions.Command) {
        case TOptions::TCommand::Run: return RunAnalysis();
        case TOptions::TCommand::Primes:
            WritePrimes(aOptions.Count, stdout);
            std::fflush(stdout);
            return 0;
        case TOptions::TCommand::Siblings: return RunSiblings(aOptions.Number);
        case TOptions::TCommand::Help: std::fputs(aOptions.HelpText.c_str(), stdout); return 0;
    }
    return 0;
}

}  // namespace quillomar::cli

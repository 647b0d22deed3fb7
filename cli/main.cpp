#include <cstdio>
#include <exception>

#include "Commands.h"
#include "Errors.h"

int main(int argc, char** argv) {
    using namespace quillomar;
    try {
        return cli::RunCommand(cli::ParseOptions(argc, argv));
    } catch (const cli::TUsageError& e) {
        std::fprintf(stderr, "quillomar-cli: %s\n%s", e.what(), cli::UsageText().c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", ErrorBoxText(e.what()).c_str());
        return 1;
    }
}

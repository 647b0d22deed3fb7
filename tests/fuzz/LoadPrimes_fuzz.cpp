// Fuzzes the loading of primes.txt: arbitrary bytes go into the file, the
// analysis loads it, and the list must hold exactly the numbers a reference
// reader finds before the first bad piece, with the conversion error naming
// that piece.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Analysis.h"
#include "Codepage.h"
#include "Errors.h"
#include "FuzzSupport.h"
#include "IntConvert.h"

namespace {

using quillomar::fuzz::Check;

// A window that ignores everything: loading touches none of it.
class TQuietWindow : public quillomar::TWindowOps {
public:
    void SetText(quillomar::TControl, const std::string&) override {}
    std::string GetText(quillomar::TControl) override { return {}; }
    void AddLogLine(const std::string&) override {}
    void SetLogVisible(bool) override {}
    void SetEnabled(quillomar::TControl, bool) override {}
    bool IsPauseDown() override { return false; }
    bool IsSearchDown() override { return false; }
    void ProcessMessages() override {}
};

struct TExpected {
    std::vector<int32_t> Values;
    std::optional<std::string> BadPiece;  // raw bytes of the piece that stops the load
};

TExpected Expected(std::string_view aBytes) {
    TExpected lResult;
    for (const std::string& lLine : quillomar::fuzz::ReferenceLines(aBytes)) {
        size_t lStart = 0;
        for (;;) {
            size_t lBlank = lLine.find(' ', lStart);
            std::string lPiece = lLine.substr(lStart, lBlank == std::string::npos ? std::string::npos : lBlank - lStart);
            if (!lPiece.empty()) {
                std::optional<int32_t> lValue = quillomar::TryStrToInt(lPiece);
                if (!lValue) {
                    lResult.BadPiece = lPiece;
                    return lResult;
                }
                lResult.Values.push_back(*lValue);
            }
            if (lBlank == std::string::npos) break;
            lStart = lBlank + 1;
        }
    }
    return lResult;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
    using namespace quillomar;
    const std::string_view lBytes(reinterpret_cast<const char*>(aData), aSize);
    const fuzz::TScratchDir& lDir = fuzz::Scratch();
    fuzz::WriteBytes(lDir.File("primes.txt"), lBytes);

    TQuietWindow lWindow;
    TAnalysis lAnalysis(lWindow, lDir.Path());
    std::optional<std::string> lMessage;
    try {
        lAnalysis.LoadPrimes("primes.txt");
    } catch (const EConvertError& e) {
        lMessage = e.what();
    }
    const TExpected lExpected = Expected(lBytes);
    const std::vector<int32_t> lLoaded(lAnalysis.Primes().begin(), lAnalysis.Primes().end());
    Check(lLoaded == lExpected.Values, "the loaded list differs from the reference");
    Check(lMessage.has_value() == lExpected.BadPiece.has_value(), "a load error where none was due, or none");
    if (lMessage) {
        // The message is read as a C string: a NUL in the piece ends it.
        const std::string lNamed = ConvertErrorMessage(FromAnsi(*lExpected.BadPiece));
        Check(*lMessage == lNamed.c_str(), "the error names the bad piece");
    }
    return 0;
}

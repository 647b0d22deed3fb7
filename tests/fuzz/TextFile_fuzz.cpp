// Fuzzes the line reader: the lines read from a file of arbitrary bytes must
// be those of a reference reader, decoded from the code page, and reading on
// past the end must yield empty lines. When the two high bits of the first
// byte are set, a long first line is put in front so that the rest of the
// input starts just before the edge of the reader's 64 KiB buffer.
#include <cstdint>
#include <string>
#include <vector>

#include "Codepage.h"
#include "FuzzSupport.h"
#include "TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
    using namespace quillomar;
    std::string lBytes;
    std::string_view lInput(reinterpret_cast<const char*>(aData), aSize);
    if (!lInput.empty() && (aData[0] & 0xC0) == 0xC0) {
        lBytes.assign(65536 - (aData[0] & 0x3F), 'a');
        lInput.remove_prefix(1);
    }
    lBytes += lInput;
    const fuzz::TScratchDir& lDir = fuzz::Scratch();
    fuzz::WriteBytes(lDir.File("lines.txt"), lBytes);

    const std::vector<std::string> lExpected = fuzz::ReferenceLines(lBytes);
    TTextFile lFile;
    lFile.AssignFile(lDir.File("lines.txt"));
    lFile.Reset();
    size_t lRead = 0;
    while (!lFile.Eof()) {
        fuzz::Check(lRead < lExpected.size(), "more lines than the reference");
        fuzz::Check(lFile.ReadLn() == FromAnsi(lExpected[lRead]), "a line differs from the reference");
        ++lRead;
    }
    fuzz::Check(lRead == lExpected.size(), "fewer lines than the reference");
    for (int i = 0; i < 3; ++i) {
        fuzz::Check(lFile.ReadLn().empty(), "reading past the end yields empty lines");
        fuzz::Check(lFile.Eof(), "the end stays the end");
    }
    lFile.CloseFile();
    return 0;
}

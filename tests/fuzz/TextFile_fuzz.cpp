// Fuzzes the two line readers, the text file variable and the byte reader
// of the sibling search: the lines read from a file of arbitrary bytes must
// be those of a reference reader (decoded from the code page for the text
// file), and reading on past the end must yield empty lines. When the first
// byte is 11xxxxxx or 10xxxxxx, a long first line is put in front so that
// the rest of the input starts just before the edge of the text file's
// 64 KiB or the byte reader's 256 KiB buffer.
#include <cstdint>
#include <string>
#include <vector>

#include "Codepage.h"
#include "FuzzSupport.h"
#include "LineReader.h"
#include "TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
    using namespace quillomar;
    std::string lBytes;
    std::string_view lInput(reinterpret_cast<const char*>(aData), aSize);
    if (!lInput.empty() && (aData[0] & 0x80) != 0) {
        const size_t lEdge = (aData[0] & 0x40) != 0 ? 64 * 1024 : 256 * 1024;
        lBytes.assign(lEdge - (aData[0] & 0x3F), 'a');
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

    TLineReader lReader(lDir.File("lines.txt"));
    lRead = 0;
    while (!lReader.Eof()) {
        fuzz::Check(lRead < lExpected.size(), "byte reader: more lines than the reference");
        fuzz::Check(lReader.ReadLn() == lExpected[lRead], "byte reader: a line differs from the reference");
        ++lRead;
    }
    fuzz::Check(lRead == lExpected.size(), "byte reader: fewer lines than the reference");
    for (int i = 0; i < 3; ++i) {
        fuzz::Check(lReader.ReadLn().empty(), "byte reader: reading past the end yields empty lines");
        fuzz::Check(lReader.Eof(), "byte reader: the end stays the end");
    }
    return 0;
}

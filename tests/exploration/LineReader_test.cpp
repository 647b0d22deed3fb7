// TLineReader reads the same lines as TTextFile (before the code-page
// conversion), also where lines, CR LF pairs and Ctrl-Z bytes straddle
// the edges of its buffer, and picks up data appended after the end.
#include "LineReader.h"

#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "Codepage.h"
#include "Errors.h"
#include "TempDir.h"
#include "TextFile.h"

namespace quillomar {
namespace {

using test::TTempDir;

constexpr size_t kBuffer = 256 * 1024;  // the reader's buffer

// Reads aPath with both and compares line by line, then three reads past
// the end.
void ExpectSameLines(const std::string& aPath) {
    TLineReader lReader(aPath);
    TTextFile lText;
    lText.AssignFile(aPath);
    lText.Reset();
    int lLine = 0;
    for (;;) {
        const bool lEof = lText.Eof();
        ASSERT_EQ(lReader.Eof(), lEof) << "line " << lLine;
        if (lEof) break;
        const std::string lExpected = lText.ReadLn();
        ASSERT_EQ(FromAnsi(lReader.ReadLn()), lExpected) << "line " << lLine;
        ++lLine;
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lReader.ReadLn(), "");
        EXPECT_TRUE(lReader.Eof());
    }
}

TEST(LineReader, ReadsTheLinesOfTextFile) {
    TTempDir lDir;
    const std::string lPath = lDir.File("f.txt");
    struct TCase {
        const char* Name;
        std::string Bytes;
    };
    const TCase kCases[] = {
        {"empty", ""},
        {"crlf and lf", "v^\r\nvv^\nx"},
        {"lone cr dropped", "a\rb\r\n\r\rc\r"},
        {"ctrl-z inside a line", "ab\x1A" "cd\r\n"},
        {"ctrl-z starts a line", "ab\r\n\x1A" "cd\r\n"},
        {"outside ascii", "\xE9\xB9\x81\x98\r\n\xA0"},
        {"empty lines", "\r\n\n\r\n"},
    };
    for (const TCase& c : kCases) {
        SCOPED_TRACE(c.Name);
        lDir.Write("f.txt", c.Bytes);
        ExpectSameLines(lPath);
    }
}

TEST(LineReader, LinesAcrossTheBufferEdges) {
    TTempDir lDir;
    const std::string lPath = lDir.File("f.txt");
    // A line end, a lone CR or a Ctrl-Z put just before, at and after each
    // of the first two buffer edges.
    for (const char* lMark : {"\r\n", "\n", "\r", "\x1A", "\r\x1A"}) {
        for (size_t lEdge : {kBuffer, 2 * kBuffer}) {
            for (int lShift = -2; lShift <= 2; ++lShift) {
                SCOPED_TRACE(testing::Message() << "mark " << testing::PrintToString(std::string(lMark)) << " at "
                                                << lEdge << std::showpos << lShift);
                std::string lBytes(static_cast<size_t>(static_cast<long>(lEdge) + lShift), '^');
                for (size_t i = 700; i < lBytes.size(); i += 997) lBytes[i] = '\n';  // lines of about 1000
                lBytes += lMark;
                lBytes += std::string(5000, 'v') + "\r\n" + std::string(kBuffer, 'v');
                lDir.Write("f.txt", lBytes);
                ExpectSameLines(lPath);
            }
        }
    }
}

TEST(LineReader, RandomFiles) {
    TTempDir lDir;
    const std::string lPath = lDir.File("f.txt");
    static const char kBytes[] = {'^', 'v', '^', 'v', '^', 'v', '\r', '\n', '\x1A', '\xE9', ' '};
    for (uint32_t lSeed = 1; lSeed <= 12; ++lSeed) {
        SCOPED_TRACE(lSeed);
        std::mt19937 lRng(lSeed);
        std::string lBytes;
        const size_t lSize = 100000 + lRng() % (3 * kBuffer);
        while (lBytes.size() < lSize) {
            const size_t lRun = lRng() % 3 == 0 ? lRng() % 20000 : lRng() % 50;
            for (size_t i = 0; i < lRun; ++i) {
                lBytes += lRng() % 200 == 0 ? kBytes[lRng() % sizeof kBytes] : (lRng() % 2 ? '^' : 'v');
            }
            lBytes += lRng() % 4 ? "\r\n" : "\n";
        }
        // Most seeds without a Ctrl-Z that starts a line, which would end the file early.
        if (lSeed % 3) {
            for (size_t i = 1; i < lBytes.size(); ++i) {
                if (lBytes[i] == '\x1A' && lBytes[i - 1] == '\n') lBytes[i] = 'v';
            }
        }
        lDir.Write("f.txt", lBytes);
        ExpectSameLines(lPath);
    }
}

TEST(LineReader, ReadsWhatIsAppendedAfterTheEnd) {
    TTempDir lDir;
    const std::string lPath = lDir.File("f.txt");
    lDir.Write("f.txt", "v^\r\n");
    TLineReader lReader(lPath);
    EXPECT_EQ(lReader.ReadLn(), "v^");
    EXPECT_TRUE(lReader.Eof());
    EXPECT_EQ(lReader.FileSize(), 4);
    {
        std::ofstream lOut(lPath, std::ios::binary | std::ios::app);
        lOut << "vv^\r\n";
    }
    EXPECT_FALSE(lReader.Eof());
    EXPECT_EQ(lReader.ReadLn(), "vv^");
    EXPECT_TRUE(lReader.Eof());
    EXPECT_EQ(lReader.FileSize(), 9);
}

TEST(LineReader, MissingFileIsNotFound) {
    TTempDir lDir;
    try {
        TLineReader lReader(lDir.File("none.txt"));
        FAIL() << "opened a missing file";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
    }
}

}  // namespace
}  // namespace quillomar

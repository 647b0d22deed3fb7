#include "TextFile.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "Errors.h"
#include "ReportFiles.h"
#include "TempDir.h"

namespace quillomar {
namespace {

using test::TTempDir;

int ErrorCodeOf(const std::function<void()>& aAction) {
    try {
        aAction();
    } catch (const EInOutError& e) {
        return e.ErrorCode();
    }
    return 0;
}

std::vector<std::string> ReadAll(const std::string& aPath, int aExtraReads = 0) {
    TTextFile lFile;
    lFile.AssignFile(aPath);
    lFile.Reset();
    std::vector<std::string> lLines;
    while (!lFile.Eof()) lLines.push_back(lFile.ReadLn());
    for (int i = 0; i < aExtraReads; ++i) lLines.push_back("past:" + lFile.ReadLn());
    lFile.CloseFile();
    return lLines;
}

struct TReadCase {
    const char* Name;
    std::string Bytes;
    std::vector<std::string> Lines;
};

TEST(TextFileReading, FollowsTheLineRules) {
    using V = std::vector<std::string>;
    const TReadCase lCases[] = {
        {"empty file", "", V{}},
        {"CR LF", "2 3\r\n5\r\n", V{"2 3", "5"}},
        {"LF only", "2 3\n5\n", V{"2 3", "5"}},
        {"no final break", "2 3\n5", V{"2 3", "5"}},
        {"empty lines", "\n\n7\n", V{"", "", "7"}},
        {"lone CR is dropped", "2\r3\n", V{"23"}},
        {"CR CR LF", "a\r\r\nb", V{"a", "b"}},
        {"Ctrl-Z at line start ends the file", "a\n\x1a" "b\n", V{"a"}},
        {"Ctrl-Z inside a line ends that line", "a\x1a" "b\n", V{"a", "b"}},
        {"Ctrl-Z first", "\x1a" "abc", V{}},
        {"Windows-1250 decoded", "R\xf3wnowag Ci\xb9gi\n", V{"Równowag Ciągi"}},
        {"byte-order mark is three characters", "\xef\xbb\xbf" "2\n", V{"ď»ż2"}},
        {"unassigned byte", "\x81\n", V{"\u0081"}},
    };
    TTempDir lDir;
    for (const auto& c : lCases) {
        SCOPED_TRACE(c.Name);
        lDir.Write("f.txt", c.Bytes);
        EXPECT_EQ(ReadAll(lDir.File("f.txt")), c.Lines);
    }
}

TEST(TextFileReading, LongLinesCrossTheBuffer) {
    TTempDir lDir;
    std::string lLong(200'000, 'v');
    lDir.Write("f.txt", lLong + "\r\n^\r\n");
    EXPECT_EQ(ReadAll(lDir.File("f.txt")), (std::vector<std::string>{lLong, "^"}));
}

TEST(TextFileReading, PastTheEndYieldsEmptyLines) {
    TTempDir lDir;
    lDir.Write("f.txt", "x\n");
    EXPECT_EQ(ReadAll(lDir.File("f.txt"), 2), (std::vector<std::string>{"x", "past:", "past:"}));
}

TEST(TextFileErrors, CodesByCause) {
    TTempDir lDir;
    lDir.Write("there.txt", "1\n");
    TTextFile lFile;
    lFile.AssignFile(lDir.File("missing.txt"));
    EXPECT_EQ(ErrorCodeOf([&] { lFile.Reset(); }), 2);
    EXPECT_EQ(ErrorCodeOf([&] { lFile.Append(); }), 2);  // appending never creates
    lFile.AssignFile(lDir.File("no/such/dir.txt"));
    EXPECT_EQ(ErrorCodeOf([&] { lFile.Rewrite(); }), 2);
    lFile.AssignFile(lDir.File("there.txt/x"));
    EXPECT_EQ(ErrorCodeOf([&] { lFile.Reset(); }), 2);  // ENOTDIR
    lFile.AssignFile(lDir.Path());
    EXPECT_EQ(ErrorCodeOf([&] { lFile.Append(); }), 5);  // a directory

    lFile.AssignFile(lDir.File("there.txt"));
    EXPECT_EQ(ErrorCodeOf([&] { lFile.CloseFile(); }), 103);
    EXPECT_EQ(ErrorCodeOf([&] { lFile.ReadLn(); }), 103);
    lFile.Append();
    EXPECT_EQ(ErrorCodeOf([&] { lFile.ReadLn(); }), 104);
    EXPECT_EQ(ErrorCodeOf([&] { lFile.Eof(); }), 104);
    lFile.CloseFile();
    lFile.Reset();
    EXPECT_EQ(ErrorCodeOf([&] { lFile.WriteLn("x"); }), 105);
    lFile.CloseFile();
}

TEST(TextFileErrors, MessagesOfTheTable) {
    EXPECT_STREQ(EInOutError(2).what(), "The specified file was not found");
    EXPECT_STREQ(EInOutError(4).what(), "Too many open files");
    EXPECT_STREQ(EInOutError(5).what(), "File access denied");
    EXPECT_STREQ(EInOutError(32).what(), "I/O error 32");
    EXPECT_EQ(ErrorBoxText(EInOutError(2).what()), "The specified file was not found.");
}

TEST(TextFileWriting, CrLfAndTheCodePage) {
    TTempDir lDir;
    TTextFile lFile;
    lFile.AssignFile(lDir.File("h.txt"));
    lFile.Rewrite();
    lFile.WriteLn(kLongHeader);
    lFile.CloseFile();
    WriteToFile(lFile, "a", "b");
    WriteToFile(lFile, "ł€✓");  // ✓ is not in the code page
    EXPECT_EQ(lDir.Read("h.txt"), "Liczba pierwsza|Suma|R\xf3wnowag|Ci\xb9gi\r\nab\r\n\xb3\x80?\r\n");
}

TEST(TextFileWriting, RewriteTruncatesAndAppendAddsAtTheEnd) {
    TTempDir lDir;
    lDir.Write("f.txt", "old content\r\n");
    TTextFile lFile;
    lFile.AssignFile(lDir.File("f.txt"));
    lFile.Rewrite();
    lFile.CloseFile();
    EXPECT_EQ(lDir.Read("f.txt"), "");
    WriteToFile(lFile, "1");
    WriteToFile(lFile, "2");
    EXPECT_EQ(lDir.Read("f.txt"), "1\r\n2\r\n");
}

TEST(TextFileWriting, FullDiskIsError112) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TTempDir lDir;
    std::filesystem::create_symlink("/dev/full", lDir.File("f.txt"));
    TTextFile lFile;
    lFile.AssignFile(lDir.File("f.txt"));
    EXPECT_EQ(ErrorCodeOf([&] { WriteToFile(lFile, "x"); }), 112);
    EXPECT_EQ(ErrorBoxText(EInOutError(112).what()), "I/O error 112.");
    // Created as /dev/full at start: the header cannot be written.
    TTextFile lCreated;
    lCreated.AssignFile(lDir.File("f.txt"));
    EXPECT_EQ(ErrorCodeOf([&] {
                  lCreated.Rewrite();
                  lCreated.WriteLn("header");
              }),
              112);
}

// Runs aAction in a child process as an unprivileged user when we are root
// (root may write a read-only file); returns the I/O error code it got.
int CodeAsUnprivileged(const std::function<void()>& aAction) {
    if (::geteuid() != 0) return ErrorCodeOf(aAction);
    pid_t lPid = ::fork();
    if (lPid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(200);
        ::_exit(ErrorCodeOf(aAction));
    }
    int lStatus = 0;
    ::waitpid(lPid, &lStatus, 0);
    return WIFEXITED(lStatus) ? WEXITSTATUS(lStatus) : -1;
}

TEST(TextFileWriting, ReadOnlyFileIsAccessDenied) {
    TTempDir lDir;
    ::chmod(lDir.Path().c_str(), 0777);
    lDir.Write("ro.txt", "kept\r\n");
    ::chmod(lDir.File("ro.txt").c_str(), 0444);
    TTextFile lFile;
    lFile.AssignFile(lDir.File("ro.txt"));
    EXPECT_EQ(CodeAsUnprivileged([&] { WriteToFile(lFile, "x"); }), 5);
    EXPECT_EQ(lDir.Read("ro.txt"), "kept\r\n");
}

TEST(TextFileLocks, AHeldFileCanBeReadButNotRecreatedOrAppended) {
    TTempDir lDir;
    TTextFile lOwner;
    lOwner.AssignFile(lDir.File("f.txt"));
    lOwner.Rewrite();
    lOwner.WriteLn("first");
    lOwner.CloseFile();
    ASSERT_TRUE(lOwner.HoldsLock());

    // Another variable stands for another instance: its lock conflicts.
    TTextFile lOther;
    lOther.AssignFile(lDir.File("f.txt"));
    EXPECT_EQ(ErrorCodeOf([&] { lOther.Rewrite(); }), 32);
    EXPECT_EQ(ErrorCodeOf([&] { WriteToFile(lOther, "intruder"); }), 32);
    EXPECT_EQ(ReadAll(lDir.File("f.txt")), (std::vector<std::string>{"first"}));

    // The owner keeps appending; once it is gone, others may write.
    WriteToFile(lOwner, "second");
    lOwner.AssignFile(lDir.File("elsewhere.txt"));  // drops the lock
    WriteToFile(lOther, "third");
    EXPECT_EQ(lDir.Read("f.txt"), "first\r\nsecond\r\nthird\r\n");
}

TEST(TextFileLocks, ReplacedFileIsCheckedAgain) {
    TTempDir lDir;
    TTextFile lOwner;
    lOwner.AssignFile(lDir.File("f.txt"));
    lOwner.Rewrite();
    lOwner.CloseFile();
    std::filesystem::remove(lDir.File("f.txt"));
    EXPECT_EQ(ErrorCodeOf([&] { WriteToFile(lOwner, "x"); }), 2);
    lDir.Write("f.txt", "");  // a new file: unlocked, so appends go on
    WriteToFile(lOwner, "x");
    EXPECT_EQ(lDir.Read("f.txt"), "x\r\n");
}

}  // namespace
}  // namespace quillomar

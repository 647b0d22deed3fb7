#include "SiblingSearch.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>

#include "Errors.h"
#include "FileHandle.h"
#include "TextFile.h"

namespace quillomar {

namespace {

// Length of the common start of a and b, both at least aLength long. Most
// calls end within the first few words.
size_t CommonLength(const char* a, const char* b, size_t aLength) {
    size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= aLength; i += 8) {
            uint64_t x, y;
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            if (x != y) return i + static_cast<size_t>(std::countr_zero(x ^ y)) / 8;
        }
    }
    while (i < aLength && a[i] == b[i]) ++i;
    return i;
}

}  // namespace

TSiblingSearch::TSiblingSearch(const TPrimeList& aPrimes, TWindowOps& aWindow, const std::string& aPath,
                               TClock::duration aPumpInterval)
    : fPrimes(aPrimes),
      fWindow(aWindow),
      fPath(aPath),
      fFile(aPath),
      fPumpInterval(aPumpInterval),
      fLastPump(TClock::now()) {
    NewNode(TNode{}, 0);
}

TPrimeList TSiblingSearch::Siblings(int32_t aIndex, bool aWithCounts) {
    fCounting = aWithCounts;
    if (fCounting) IndexList();
    TPrimeList Result;
    const int64_t lPatternLine = int64_t{aIndex} - 1;
    const int64_t lPrimeCount = fPrimes.Count();
    std::string lPattern;  // line aIndex - 1; empty for index 0

    // The lines up to the pattern line. A number without a line of its own
    // has no siblings.
    while (fLineCount <= lPatternLine) {
        if (fFile.Eof()) {
            if (!fCounting) fFile.Close();
            return Result;
        }
        const std::string_view s = fFile.ReadLn();
        if (fLineCount == lPatternLine) lPattern = s;
        if (fCounting) Walk(s, fLineCount, fLineCount == lPatternLine || RecursLater(fLineCount + 1));
        ++fLineCount;
        PumpWhenDue();
    }

    while (!fFile.Eof()) {
        const std::string_view s = fFile.ReadLn();
        const bool lSibling = s.starts_with(lPattern);
        if (lSibling) {
            if (fLineCount + 1 >= lPrimeCount) throw EArgumentOutOfRangeException();
            Result.Add(fPrimes.Items(static_cast<int32_t>(fLineCount + 1)));
        }
        if (fCounting) {
            const bool lKeep = (lSibling && FirstIndexAt(static_cast<int32_t>(fLineCount + 1)) == fLineCount + 1) ||
                               RecursLater(fLineCount + 1);
            Walk(s, fLineCount, lKeep);
        }
        ++fLineCount;
        PumpWhenDue();
    }
    if (fCounting) {
        fState = StateOfFile(true);
    } else {
        fFile.Close();
    }
    return Result;
}

int32_t TSiblingSearch::Count(int32_t aNumber) {
    if (!fCounting) {
        const int32_t lIndex = fPrimes.IndexOf(aNumber);
        return lIndex < 0 ? 0 : CountByReading(lIndex);
    }
    const int32_t lIndex = IndexOfValue(aNumber);
    if (lIndex < 0) return 0;
    // The file grows when a run started from a pump appends to it; the
    // common case, no change, costs one fstat.
    if (!fReadAgain && fFile.FileSize() != fState.Size) {
        const TFileState lNow = StateOfFile(false);
        fReadAgain = !lNow.Exists || lNow.Device != fState.Device || lNow.Inode != fState.Inode ||
                     lNow.Size < fState.Size || (lNow.Size > fState.Size && fState.OpenLastLine);
        if (!fReadAgain && lNow.Size > fState.Size) {
            ReadToEnd();
            fState = StateOfFile(true);
        }
    }
    if (fReadAgain) return CountByReading(lIndex);
    TQuery lQuery{0, 0, 0};  // index 0: every line, from the first
    if (lIndex > 0) {
        const int64_t lLine = lIndex - 1;
        if (lLine >= fLineCount) return 0;  // no line of its own
        auto lIt = std::lower_bound(fQueries.begin(), fQueries.end(), lLine,
                                    [](const auto& aEntry, int64_t aKey) { return aEntry.first < aKey; });
        if (lIt == fQueries.end() || lIt->first != lLine) return CountByReading(lIndex);  // a line not kept
        lQuery = lIt->second;
    }
    const auto lNode = static_cast<size_t>(lQuery.Node);
    // A matching line without a prime of its own is where a reading search
    // fails with the list's range error.
    if (fOrphans[lNode] > lQuery.Orphans) throw EArgumentOutOfRangeException();
    return static_cast<int32_t>(fNodes[lNode].Hits - lQuery.Hits);
}

TSiblingSearch::TFileState TSiblingSearch::StateOfFile(bool aWithLastByte) const {
    TFileState lState;
    struct stat lStat {};
    if (::stat(fPath.c_str(), &lStat) != 0) return lState;
    lState.Exists = true;
    lState.Device = lStat.st_dev;
    lState.Inode = lStat.st_ino;
    lState.Size = lStat.st_size;
    if (aWithLastByte && lState.Size > 0) {
        // Unknown counts as open: the file is then read again when it grows.
        lState.OpenLastLine = true;
        TFileHandle lFd(::open(fPath.c_str(), O_RDONLY | O_CLOEXEC));
        char lLast = 0;
        if (lFd.Valid() && ::pread(lFd.Get(), &lLast, 1, lState.Size - 1) == 1) {
            lState.OpenLastLine = lLast != '\n' && lLast != '\x1A';
        }
    }
    return lState;
}

int32_t TSiblingSearch::CountByReading(int32_t aIndex) {
    TTextFile lFile;
    lFile.AssignFile(fPath);
    lFile.Reset();
    std::string lPattern;
    for (int32_t i = 0; i < aIndex; ++i) lPattern = lFile.ReadLn();
    const int64_t lPrimeCount = fPrimes.Count();
    int64_t lLine = aIndex;
    int32_t lCount = 0;
    while (!lFile.Eof()) {
        if (lFile.ReadLn().starts_with(lPattern)) {
            if (lLine + 1 >= lPrimeCount) throw EArgumentOutOfRangeException();
            ++lCount;
        }
        ++lLine;
        PumpWhenDue();
    }
    lFile.CloseFile();
    return lCount;
}

void TSiblingSearch::ReadToEnd() {
    while (!fFile.Eof()) {
        Walk(fFile.ReadLn(), fLineCount, false);
        ++fLineCount;
        PumpWhenDue();
    }
}

void TSiblingSearch::Walk(std::string_view aLine, int64_t aLineIndex, bool aKeep) {
    if (fReadAgain) return;  // the counts come from reading the file
    const bool lOrphan = aLineIndex + 1 >= fPrimes.Count();
    const char* lText = aLine.data();
    const size_t n = aLine.size();
    if (n > UINT32_MAX || (aKeep && fKept.size() + n > UINT32_MAX)) {
        // Beyond what the nodes hold: every count is then read from the file.
        fReadAgain = true;
        return;
    }
    int32_t lNode = 0;
    size_t lDepth = 0;
    int32_t lTerminal = -1;
    // The line agrees up to lCommon with the kept line behind the last node
    // compared. Every node on that line's own path has a text that begins
    // it, so up to there the walk follows the nodes without comparing.
    size_t lCommon = 0;
    fNodes[0].Hits += 1;
    if (lOrphan) fOrphans[0] += 1;
    for (;;) {
        if (lDepth == n) {
            lTerminal = lNode;
            break;
        }
        const int32_t lChild = FindChild(lNode, lText[lDepth]);
        if (lChild < 0) {
            if (aKeep) lTerminal = AddChild(lNode, aLine, lDepth, lOrphan);
            break;
        }
        TNode& c = fNodes[static_cast<size_t>(lChild)];
        if (lDepth >= lCommon) {
            // Here c.Begin == lDepth: compare with the rest of c's line.
            lCommon = lDepth + CommonLength(lText + lDepth, fKept.data() + c.Offset,
                                            std::min<size_t>(n, c.LineLength) - lDepth);
        }
        if (c.End <= lCommon) {
            c.Hits += 1;
            if (lOrphan) fOrphans[static_cast<size_t>(lChild)] += 1;
            lNode = lChild;
            lDepth = c.End;
            continue;
        }
        if (aKeep) {
            // Split the edge where the line leaves it: the new middle node
            // takes the child's place among its parent's children.
            const auto lLeave = static_cast<uint32_t>(lCommon);
            const TNode lOld = c;
            const uint32_t lMovedOffset = lOld.Offset + (lLeave - lOld.Begin);
            TNode lMiddle = lOld;
            lMiddle.End = lLeave;
            lMiddle.Hits = lOld.Hits + 1;
            lMiddle.Kid[0] = lChild;
            lMiddle.KidFirst[0] = fKept[lMovedOffset];
            lMiddle.Kid[1] = -1;
            lMiddle.MoreKids = false;
            const int32_t lMiddleIndex =
                NewNode(lMiddle, fOrphans[static_cast<size_t>(lChild)] + (lOrphan ? 1 : 0));
            TNode& lMoved = fNodes[static_cast<size_t>(lChild)];
            lMoved.Begin = lLeave;
            lMoved.Offset = lMovedOffset;
            lMoved.First = fKept[lMovedOffset];
            ReplaceChild(lNode, lChild, lMiddleIndex);
            lTerminal = lLeave == n ? lMiddleIndex : AddChild(lMiddleIndex, aLine, lLeave, lOrphan);
        }
        break;
    }
    if (!aKeep) return;
    const auto t = static_cast<size_t>(lTerminal);
    fQueries.emplace_back(aLineIndex, TQuery{lTerminal, fNodes[t].Hits, fOrphans[t]});
}

int32_t TSiblingSearch::NewNode(const TNode& aNode, int64_t aOrphans) {
    const auto lIndex = static_cast<int32_t>(fNodes.size());
    fNodes.push_back(aNode);
    fOrphans.push_back(aOrphans);
    fNextKid.push_back(-1);
    return lIndex;
}

int32_t TSiblingSearch::AddChild(int32_t aParent, std::string_view aLine, size_t aBegin, int64_t aOrphans) {
    TNode lNew;
    lNew.Begin = static_cast<uint32_t>(aBegin);
    lNew.End = static_cast<uint32_t>(aLine.size());
    lNew.Offset = static_cast<uint32_t>(fKept.size());
    lNew.LineLength = static_cast<uint32_t>(aLine.size());
    lNew.First = aLine[aBegin];
    lNew.Hits = 1;
    fKept.append(aLine.substr(aBegin));
    const int32_t lIndex = NewNode(lNew, aOrphans);

    TNode& p = fNodes[static_cast<size_t>(aParent)];
    for (int k = 0; k < 2; ++k) {
        if (p.Kid[k] < 0) {
            p.Kid[k] = lIndex;
            p.KidFirst[k] = lNew.First;
            return lIndex;
        }
    }
    p.MoreKids = true;
    auto lIt = fMoreKids.try_emplace(aParent, -1).first;
    fNextKid[static_cast<size_t>(lIndex)] = lIt->second;
    lIt->second = lIndex;
    return lIndex;
}

int32_t TSiblingSearch::FindChild(int32_t aNode, char aFirst) const {
    const TNode& p = fNodes[static_cast<size_t>(aNode)];
    if (p.Kid[0] >= 0 && p.KidFirst[0] == aFirst) return p.Kid[0];
    if (p.Kid[1] >= 0 && p.KidFirst[1] == aFirst) return p.Kid[1];
    if (!p.MoreKids) return -1;
    for (int32_t c = fMoreKids.at(aNode); c >= 0; c = fNextKid[static_cast<size_t>(c)]) {
        if (fNodes[static_cast<size_t>(c)].First == aFirst) return c;
    }
    return -1;
}

void TSiblingSearch::ReplaceChild(int32_t aParent, int32_t aOld, int32_t aNew) {
    TNode& p = fNodes[static_cast<size_t>(aParent)];
    for (int k = 0; k < 2; ++k) {
        if (p.Kid[k] == aOld) {
            p.Kid[k] = aNew;
            return;
        }
    }
    int32_t* lLink = &fMoreKids.at(aParent);
    while (*lLink != aOld) lLink = &fNextKid[static_cast<size_t>(*lLink)];
    *lLink = aNew;
    fNextKid[static_cast<size_t>(aNew)] = fNextKid[static_cast<size_t>(aOld)];
    fNextKid[static_cast<size_t>(aOld)] = -1;
}

void TSiblingSearch::IndexList() {
    const int32_t* d = fPrimes.Data();
    const int32_t m = fPrimes.Count();
    fAscending = true;
    for (int32_t i = 1; i < m && fAscending; ++i) fAscending = d[i - 1] < d[i];
    if (fAscending) return;
    fFirstOf.reserve(static_cast<size_t>(m));
    fRecurs.assign(static_cast<size_t>(m), false);
    for (int32_t i = 0; i < m; ++i) {
        auto [lIt, lNew] = fFirstOf.try_emplace(d[i], i);
        if (!lNew) fRecurs[static_cast<size_t>(lIt->second)] = true;
        if ((i & 0xFFFF) == 0xFFFF) PumpWhenDue();  // a long list in any order
    }
}

int32_t TSiblingSearch::FirstIndexAt(int32_t aIndex) const {
    return fAscending ? aIndex : fFirstOf.at(fPrimes.Data()[aIndex]);
}

int32_t TSiblingSearch::IndexOfValue(int32_t aValue) const {
    if (!fAscending) {
        auto lIt = fFirstOf.find(aValue);
        return lIt == fFirstOf.end() ? -1 : lIt->second;
    }
    const int32_t* lBegin = fPrimes.Data();
    const int32_t* lEnd = lBegin + fPrimes.Count();
    const int32_t* p = std::lower_bound(lBegin, lEnd, aValue);
    return p != lEnd && *p == aValue ? static_cast<int32_t>(p - lBegin) : -1;
}

bool TSiblingSearch::RecursLater(int64_t aIndex) const {
    return !fAscending && aIndex < fPrimes.Count() && fRecurs[static_cast<size_t>(aIndex)];
}

void TSiblingSearch::PumpWhenDue() {
    if (TClock::now() - fLastPump < fPumpInterval) return;
    fWindow.ProcessMessages();
    fLastPump = TClock::now();
}

}  // namespace quillomar

// The sibling search over FlowPurePrimes.txt in one read of the file.
//
// Line k of the file is the pure flow of the prime at index k + 1. The
// siblings of the number at index q are the primes of the lines j >= q that
// begin with line q - 1 (with every line when q is 0). The count of a
// sibling's own siblings is asked of the same kind of question, for the
// first index of that sibling in the list.
//
// One pass answers both levels: every line is walked down a compressed
// trie of the lines that may be asked about (the searched number's line,
// each sibling's line, the first line of a number that occurs again later
// in the list). Each trie node counts the lines that passed through it, so
// the count for a line asked about is the growth of its node's counter
// after that line was read. The pure flows of a run share long starts, so
// the trie keeps little more than the characters where the lines part.
// The lines are read by TLineReader, by the reading rules of TTextFile.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "LineReader.h"
#include "PrimeList.h"
#include "WindowOps.h"

namespace quillomar {

class TSiblingSearch {
public:
    using TClock = std::chrono::steady_clock;

    // The longest stretch of reading between two event pumps.
    static constexpr TClock::duration kPumpInterval = std::chrono::milliseconds(5);

    // Opens aPath for reading (EInOutError when it cannot be opened). The
    // list must outlive the search and not change while it runs.
    TSiblingSearch(const TPrimeList& aPrimes, TWindowOps& aWindow, const std::string& aPath,
                   TClock::duration aPumpInterval = kPumpInterval);
    TSiblingSearch(const TSiblingSearch&) = delete;
    TSiblingSearch& operator=(const TSiblingSearch&) = delete;

    // The siblings of the number at aIndex (>= 0), in list order, read to
    // the end of the file. With aWithCounts the pass also prepares Count
    // for every sibling; without, it closes the file when done. Called
    // once. A matching line without a prime of its own raises the list's
    // range error.
    TPrimeList Siblings(int32_t aIndex, bool aWithCounts);

    // The number of siblings of aNumber, counted over the file as it stands
    // now. For the siblings returned by Siblings(.., true) it comes from the
    // pass, after reading the lines appended since; any other number is
    // counted by reading the file. When the file's size changed otherwise
    // (cut shorter, appended to while its last line had no line end, or the
    // path naming another file by then), this count and all later ones read
    // the file at the path again from its start.
    int32_t Count(int32_t aNumber);

    // Lines read so far.
    int64_t LinesRead() const noexcept { return fLineCount; }
    // Characters of the file kept in memory for the trie.
    size_t CharactersKept() const noexcept { return fKept.size(); }

private:
    struct TNode {
        // The node's text is the start of a kept line whose own node lies
        // in this node's subtree; the edge from the parent holds the
        // characters from Begin to End, which stand in fKept from Offset
        // on, followed there by the rest of that line, up to its length.
        uint32_t Begin = 0;
        uint32_t End = 0;
        uint32_t Offset = 0;
        uint32_t LineLength = 0;
        // Lines whose text begins with the node's text, modulo 2^32: only
        // differences are read, and they stay below the list's length.
        uint32_t Hits = 0;
        // Two children by their first characters; further ones in a list
        // from fMoreKids, linked through fNextKid.
        int32_t Kid[2] = {-1, -1};
        char KidFirst[2] = {0, 0};
        char First = 0;  // the first character of the edge
        bool MoreKids = false;
    };
    // A line that may be asked about: its node and the node's counters
    // right after the line itself was walked.
    struct TQuery {
        int32_t Node = -1;
        uint32_t Hits = 0;
        int64_t Orphans = 0;
    };

    // Walks aLine (line number aLineIndex) down the trie, counting it in
    // every node whose text it begins with; with aKeep the line becomes a
    // query, keeping the characters the trie does not hold yet.
    void Walk(std::string_view aLine, int64_t aLineIndex, bool aKeep);
    // A new child of aParent for aLine's characters from aBegin on.
    int32_t AddChild(int32_t aParent, std::string_view aLine, size_t aBegin, int64_t aOrphans);
    // A new node without links to others.
    int32_t NewNode(const TNode& aNode, int64_t aOrphans);
    int32_t FindChild(int32_t aNode, char aFirst) const;
    // Puts aNew where aOld was among aParent's children.
    void ReplaceChild(int32_t aParent, int32_t aOld, int32_t aNew);

    // What the file at the path looked like when the reading reached its end.
    struct TFileState {
        bool Exists = false;
        uint64_t Device = 0, Inode = 0;
        int64_t Size = 0;
        bool OpenLastLine = false;  // its last byte ends no line: an append would extend that line
    };
    TFileState StateOfFile(bool aWithLastByte) const;

    // Reads and walks every line up to the end of the file.
    void ReadToEnd();
    // The count of siblings of the number at aIndex, read from the start of the file.
    int32_t CountByReading(int32_t aIndex);
    // The list's index for the lines and the questions: first indexes of
    // values, and which first occurrences recur later.
    void IndexList();
    int32_t FirstIndexAt(int32_t aIndex) const;
    int32_t IndexOfValue(int32_t aValue) const;
    bool RecursLater(int64_t aIndex) const;
    void PumpWhenDue();

    const TPrimeList& fPrimes;
    TWindowOps& fWindow;
    std::string fPath;
    TLineReader fFile;
    TFileState fState;
    bool fReadAgain = false;
    TClock::duration fPumpInterval;
    TClock::time_point fLastPump;

    int64_t fLineCount = 0;
    bool fCounting = false;
    std::vector<TNode> fNodes;      // [0] is the root, the empty text
    std::vector<int64_t> fOrphans;  // per node: lines counted in Hits that have no prime
    std::string fKept;              // the characters of the edges and the kept lines
    std::unordered_map<int32_t, int32_t> fMoreKids;  // a node's children past two, by their first
    std::vector<int32_t> fNextKid;                   // per node: the next in its parent's list
    std::vector<std::pair<int64_t, TQuery>> fQueries;  // by line number, ascending

    // A strictly ascending list needs no index: a value's first index is its
    // own. Otherwise the first index of each value, and the first
    // occurrences that recur.
    bool fAscending = true;
    std::unordered_map<int32_t, int32_t> fFirstOf;
    std::vector<bool> fRecurs;
};

}  // namespace quillomar

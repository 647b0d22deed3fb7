// Helpers shared by the fuzz targets: a scratch directory that lives as long
// as the fuzzing process, a file writer, a reference reader of the line rules
// and a check that stops the process with a message.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"

namespace quillomar::fuzz {

// Aborts with a message when aCondition fails; libFuzzer keeps the input.
inline void Check(bool aCondition, const char* aWhat) {
    if (!aCondition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", aWhat);
        std::abort();
    }
}

// A scratch directory, removed with its content when the process ends.
class TScratchDir {
public:
    TScratchDir() {
        std::string lTemplate = (std::filesystem::temp_directory_path() / "quillomar-fuzz-XXXXXX").string();
        Check(::mkdtemp(lTemplate.data()) != nullptr, "mkdtemp");
        fPath = lTemplate;
    }
    ~TScratchDir() {
        std::error_code lIgnored;
        std::filesystem::remove_all(fPath, lIgnored);
    }
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;

    const std::string& Path() const { return fPath; }
    std::string File(std::string_view aName) const { return fPath + "/" + std::string(aName); }

private:
    std::string fPath;
};

// The scratch directory of this process, made on first use.
inline const TScratchDir& Scratch() {
    static const TScratchDir lDir;
    return lDir;
}

// Replaces the file with exactly aBytes, through the plain C library. The
// old file is removed first rather than truncated: ext4 flushes a truncated
// and rewritten file to disk at close, which would slow every run down.
inline void WriteBytes(const std::string& aPath, std::string_view aBytes) {
    ::unlink(aPath.c_str());
    std::FILE* f = std::fopen(aPath.c_str(), "wb");
    Check(f != nullptr, "fopen");
    Check(std::fwrite(aBytes.data(), 1, aBytes.size(), f) == aBytes.size(), "fwrite");
    Check(std::fclose(f) == 0, "fclose");
}

// The lines of aBytes by the reading rules, as raw bytes: a line ends at LF
// (a CR before it included), a CR not followed by LF is dropped, Ctrl-Z at
// the start of a line ends the file and inside a line ends that line, a last
// line without a break still counts.
inline std::vector<std::string> ReferenceLines(std::string_view aBytes) {
    std::vector<std::string> lLines;
    size_t lPos = 0;
    while (lPos < aBytes.size() && aBytes[lPos] != '\x1A') {
        std::string lLine;
        while (lPos < aBytes.size()) {
            // memchr keeps the scan out of the instrumented code: the long
            // lines in front would otherwise dominate the time of a run.
            size_t lStop = aBytes.size();
            for (char lBreak : {'\r', '\n', '\x1A'}) {
                const void* lHit = std::memchr(aBytes.data() + lPos, lBreak, lStop - lPos);
                if (lHit) lStop = static_cast<size_t>(static_cast<const char*>(lHit) - aBytes.data());
            }
            lLine.append(aBytes.substr(lPos, lStop - lPos));
            lPos = lStop;
            if (lPos == aBytes.size()) break;
            char c = aBytes[lPos++];
            if (c == '\n' || c == '\x1A') break;
        }
        lLines.push_back(std::move(lLine));
    }
    return lLines;
}

}  // namespace quillomar::fuzz

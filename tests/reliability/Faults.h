// The faults a report file can meet while a run goes on, each put in place
// atomically (a writer sees the file before or after, never a missing file
// in between) and removable again.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "Process.h"

namespace quillomar::test {

enum class TFault { Deleted, FullDisk, ReadOnly };

struct TFaultCase {
    TFault Fault;
    const char* Name;
    const char* Message;  // as the error box shows it
};

inline const TFaultCase kFaultCases[] = {
    {TFault::Deleted, "Deleted", "The specified file was not found."},
    {TFault::FullDisk, "FullDisk", "I/O error 112."},
    {TFault::ReadOnly, "ReadOnly", "File access denied."},
};

// Test names and messages show a case by its name.
inline void PrintTo(const TFaultCase& aCase, std::ostream* aOut) { *aOut << aCase.Name; }

// One fault on one file of a directory.
class TFaultOn {
public:
    TFaultOn(TFault aFault, std::string aPath) : fFault(aFault), fPath(std::move(aPath)), fAside(fPath + ".aside") {}

    void Apply() const {
        switch (fFault) {
            case TFault::Deleted: std::filesystem::remove(fPath); break;
            case TFault::FullDisk:
                // The file stays reachable under a second name; a link to
                // /dev/full then replaces it in one rename.
                std::filesystem::create_hard_link(fPath, fAside);
                std::filesystem::create_symlink("/dev/full", fPath + ".link");
                std::filesystem::rename(fPath + ".link", fPath);
                break;
            case TFault::ReadOnly: ::chmod(fPath.c_str(), 0444); break;
        }
    }

    // Ends the fault: a deleted file comes back empty, the link is replaced
    // by the file it stood for, a read-only file becomes writable again.
    void Remove() const {
        switch (fFault) {
            case TFault::Deleted: WriteBytes(""); break;
            case TFault::FullDisk: std::filesystem::rename(fAside, fPath); break;
            case TFault::ReadOnly: ::chmod(fPath.c_str(), 0644); break;
        }
    }

    // The file's content while the fault is in place (a deleted file: none).
    std::string Content() const {
        switch (fFault) {
            case TFault::Deleted: return {};
            case TFault::FullDisk: return ReadFile(fAside);
            case TFault::ReadOnly: return ReadFile(fPath);
        }
        return {};
    }

private:
    void WriteBytes(const std::string& aBytes) const {
        std::ofstream lOut(fPath, std::ios::binary | std::ios::trunc);
        lOut << aBytes;
    }

    TFault fFault;
    std::string fPath;
    std::string fAside;
};

// Root may write a read-only file: that fault needs an unprivileged user.
inline bool FaultPossible(TFault aFault) { return aFault != TFault::ReadOnly || ::geteuid() != 0; }

}  // namespace quillomar::test

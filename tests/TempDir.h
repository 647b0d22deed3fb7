// A fresh temporary directory for one test, removed with its content.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quillomar::test {

class TTempDir {
public:
    TTempDir() {
        std::string lTemplate = (std::filesystem::temp_directory_path() / "quillomar-XXXXXX").string();
        if (!::mkdtemp(lTemplate.data())) throw std::runtime_error("mkdtemp failed");
        fPath = lTemplate;
    }
    ~TTempDir() {
        std::error_code lIgnored;
        std::filesystem::permissions(fPath, std::filesystem::perms::owner_all, lIgnored);
        std::filesystem::remove_all(fPath, lIgnored);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return fPath; }
    std::string File(const std::string& aName) const { return fPath + "/" + aName; }

    void Write(const std::string& aName, const std::string& aBytes) const {
        std::ofstream lOut(File(aName), std::ios::binary | std::ios::trunc);
        lOut << aBytes;
    }
    std::string Read(const std::string& aName) const {
        std::ifstream lIn(File(aName), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(lIn), std::istreambuf_iterator<char>());
    }

private:
    std::string fPath;
};

}  // namespace quillomar::test

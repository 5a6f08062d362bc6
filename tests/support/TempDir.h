#pragma once

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh directory under the system's temporary folder, removed with everything in it.
class TTempDir final {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir &) = delete;
    TTempDir &operator=(const TTempDir &) = delete;

    const std::filesystem::path &Path() const { return FPath; }
    // The directory as the program names directories: with a trailing '/'.
    std::string Dir() const { return FPath.string() + "/"; }
    std::string File(const std::string &name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

inline TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vellmark-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::filesystem::filesystem_error("mkdtemp", std::error_code(errno, std::generic_category()));
    FPath = pattern;
}

inline TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(FPath, ignored);
}

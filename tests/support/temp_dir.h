// A scratch folder for the tests that read and write real files.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace zk_test {

// A fresh folder under the system's temporary directory, removed with everything in it (also
// what a test made unwritable).
class TempDir {
  public:
    TempDir() {
        static std::atomic<int> counter{0};
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("zk_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
                  std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Names of everything in the folder, for checking that nothing was left behind.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            names.push_back(e.path().filename().string());
        return names;
    }

  private:
    std::filesystem::path m_path;
};

}  // namespace zk_test

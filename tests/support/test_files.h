#pragma once
// Small files the tests write for themselves, in a fresh folder removed at the end of the test.

#include <cstdint>
#include <string>
#include <vector>

namespace wavora::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Full path of a file in the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Writes bytes as they are and returns the full path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

  private:
    std::string path_;
};

std::string ReadAll(const std::string& path);
bool Exists(const std::string& path);
// The lines of a text the program wrote, each ended by CR LF; a line without one fails the test.
std::vector<std::string> CrLfLines(const std::string& bytes);

}  // namespace wavora::test

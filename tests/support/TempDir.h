// A temporary folder with helpers to lay out files and set their times.
#pragma once
#include <ctime>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& rel) const { return m_path + "/" + rel; }

    // Creates a file (and its folders) with the given last-write and last-access times.
    void File(const std::string& rel, std::time_t written, std::time_t accessed = 0, const std::string& content = "x");
    void Folder(const std::string& rel, std::time_t written = 0);
    void SetTimes(const std::string& rel, std::time_t written, std::time_t accessed = 0);
    bool Exists(const std::string& rel) const;

private:
    std::string m_path;
};

// Runs a program; returns its exit code (128 + the signal when one ended it) and collects
// its output.
struct ProcessResult {
    int exitCode;
    std::string out;
    std::string err;
};
struct ProcessLimits {
    int fdLimit = 0;        // the open-file limit, soft and hard; 0 leaves it
    bool asNobody = false;  // run as user and group 65534, without other groups
};
ProcessResult RunProcess(const std::vector<std::string>& args, const std::vector<std::string>& env,
                         const std::string& input = "", const std::string& cwd = "", ProcessLimits limits = {});

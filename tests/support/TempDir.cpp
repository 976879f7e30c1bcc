#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "varnok-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp");
    m_path = tmpl;
}

TempDir::~TempDir() {
    // Make everything writable again so that the removal cannot fail on a test's leftovers.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(m_path, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (!it->is_symlink()) ::chmod(it->path().c_str(), 0700);
    fs::remove_all(m_path, ec);
}

void TempDir::SetTimes(const std::string& rel, std::time_t written, std::time_t accessed) {
    struct timespec ts[2] = {{accessed ? accessed : written, 0}, {written, 0}};
    ::utimensat(AT_FDCWD, (*this / rel).c_str(), ts, AT_SYMLINK_NOFOLLOW);
}

void TempDir::File(const std::string& rel, std::time_t written, std::time_t accessed, const std::string& content) {
    fs::create_directories(fs::path(*this / rel).parent_path());
    std::ofstream(*this / rel) << content;
    SetTimes(rel, written, accessed);
}

void TempDir::Folder(const std::string& rel, std::time_t written) {
    fs::create_directories(*this / rel);
    if (written) SetTimes(rel, written);
}

bool TempDir::Exists(const std::string& rel) const {
    struct stat st;
    return ::lstat((*this / rel).c_str(), &st) == 0;
}

namespace {
std::string ReadAll(int fd) {
    std::string s;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) s.append(buf, static_cast<size_t>(n));
    return s;
}
}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& args, const std::vector<std::string>& env,
                         const std::string& input, const std::string& cwd, ProcessLimits limits) {
    TempDir scratch;
    const std::string outPath = scratch / "out", errPath = scratch / "err", inPath = scratch / "in";
    std::ofstream(inPath) << input;
    pid_t pid = ::fork();
    if (pid == 0) {
        int in = ::open(inPath.c_str(), O_RDONLY);
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (limits.fdLimit > 0) {
            const struct rlimit rl = {static_cast<rlim_t>(limits.fdLimit), static_cast<rlim_t>(limits.fdLimit)};
            if (::setrlimit(RLIMIT_NOFILE, &rl) != 0) _exit(125);
        }
        if (limits.asNobody && (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                                ::setresuid(65534, 65534, 65534) != 0))
            _exit(125);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) _exit(126);
        std::vector<char*> argv, envp;
        for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        for (auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        ::execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ProcessResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    int fd = ::open(outPath.c_str(), O_RDONLY);
    r.out = ReadAll(fd);
    ::close(fd);
    fd = ::open(errPath.c_str(), O_RDONLY);
    r.err = ReadAll(fd);
    ::close(fd);
    return r;
}

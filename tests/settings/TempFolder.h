// A scratch folder for one test, removed with everything in it afterwards,
// and a way to run a piece of a test as an unprivileged user: root may write
// into any folder, so "the folder is read-only" is only testable without it.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::test {

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern
                = (std::filesystem::temp_directory_path() / "corvane-settings-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    std::string file(const std::string &name) const { return (m_path / name).string(); }
    const std::filesystem::path &path() const { return m_path; }

    std::size_t entryCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_path),
                                                      std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path m_path;
};

inline void writeBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs Body in a child process, as user "nobody" when the tests run as root,
// and returns its exit status (0 means every check inside passed).
inline int runInChild(bool dropPrivileges, const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (dropPrivileges && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(90);
        ::_exit(body());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

} // namespace corvane::test

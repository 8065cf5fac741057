#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

namespace QuorvelTest {

namespace {

// The traditional overflow user and group, which own nothing.
constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;
// Exit codes of a child that never ran the action.
constexpr int CannotDropRoot = 250;
constexpr int ActionThrew = 251;

constexpr auto Everyone = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
constexpr auto Traversable = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
constexpr auto Writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const QString& path) : path_(path)
{
    for (const QString& name : QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString file = QDir(path).filePath(name);
        before_[file] = QFile::permissions(file);
        QFile::setPermissions(file, Everyone | Writable);
    }
    before_[path] = QFile::permissions(path);
    QFile::setPermissions(path, Everyone | Traversable);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    for (const auto& [path, permissions] : before_)
        QFile::setPermissions(path, permissions);
}

int RunUnprivileged(const std::function<int()>& action)
{
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("RunUnprivileged: fork failed");
    if (child == 0) {
        // _exit: the child must not run the test program's exit handlers.
        if (::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(NoGroup) != 0 || ::setuid(Nobody) != 0))
            ::_exit(CannotDropRoot);
        try {
            ::_exit(action() & 0xFF);
        } catch (...) {
            ::_exit(ActionThrew);
        }
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("RunUnprivileged: the child was lost");
    }
    if (!WIFEXITED(status))
        throw std::runtime_error("RunUnprivileged: the child did not end normally");
    switch (WEXITSTATUS(status)) {
    case CannotDropRoot:
        throw std::runtime_error("RunUnprivileged: the child could not give up root");
    case ActionThrew:
        throw std::runtime_error("RunUnprivileged: the action raised an exception");
    default:
        return WEXITSTATUS(status);
    }
}

} // namespace QuorvelTest

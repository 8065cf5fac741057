#pragma once
// Failure paths that need a folder nobody may write into, run the same way
// whoever runs the tests: root ignores folder permissions, so the code under
// test runs in a forked child that gives up root first.
//
//   const QuorvelTest::ReadOnlyFolder readOnly(folder.path());
//   EXPECT_EQ(QuorvelTest::RunUnprivileged([&] { return site.Save(path) ? 1 : 0; }), 0);
#include <QFileDevice>
#include <QString>

#include <functional>
#include <map>

namespace QuorvelTest {

// While it lives, the folder is read-only for everyone and its files are
// writable by everyone: only making a new file in it fails. The permissions
// it found come back at its end.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QString path_;
    std::map<QString, QFileDevice::Permissions> before_; // the folder and its files
};

// Runs `action` in a forked child whom file permissions bind (a child of
// root becomes the unprivileged "nobody" first) and returns what `action`
// returned (0..255). Raises std::runtime_error when the child cannot be
// started, cannot give up root, or does not end normally.
int RunUnprivileged(const std::function<int()>& action);

} // namespace QuorvelTest

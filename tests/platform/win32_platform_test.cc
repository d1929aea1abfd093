// What the Win32 platform layer does where Windows differs from POSIX by design: drive letters,
// the read-only attribute, and the services of the Windows networking client.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <string>

#include "foldwise/env.h"
#include "foldwise/network_services.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::TempDir;
using testing::WriteText;

TEST(Win32EnvTest, TheReadOnlyAttributeIsTheFilesWritePermission) {
  TempDir dir;
  Env* env = Env::Default();
  const std::string path = dir.File("FolderAttr.xml");
  WriteText(path, "<root/>");
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

  // Step 1: seen as read-only, refused for writing, still readable.
  FileStatus status;
  ASSERT_EQ(0, env->GetFileStatus(path, &status));
  EXPECT_TRUE(status.read_only);
  EXPECT_EQ(EACCES, env->Access(path, kAccessReadWrite));
  EXPECT_EQ(0, env->Access(path, kAccessRead));

  // Step 2: opened to every user, it may be written again, and a save replaces it.
  ASSERT_EQ(0, env->MakeWorldAccessible(path));
  ASSERT_EQ(0, env->GetFileStatus(path, &status));
  EXPECT_FALSE(status.read_only);
  EXPECT_EQ(0, env->Access(path, kAccessReadWrite));
  EXPECT_EQ(0, WriteFileAtomically(env, path, "<new/>"));
  EXPECT_EQ("<new/>", testing::ReadText(path));
}

TEST(Win32EnvTest, DrivePathsWithEitherSeparator) {
  TempDir dir;
  Env* env = Env::Default();
  ASSERT_EQ(':', dir.path()[1]) << dir.path();  // the scratch directory is a drive path
  std::string forward = dir.path();
  for (char& c : forward) c = c == '\\' ? '/' : c;
  ASSERT_EQ(0, WriteFileAtomically(env, forward + "/OutBoxFolder.xml", "<root/>"));
  // The same file under both spellings: its lock is the file's, not the text's.
  std::unique_ptr<FileLock> held;
  ASSERT_EQ(0, env->LockFile(dir.File("OutBoxFolder.xml"), true, 0, &held));
  std::unique_ptr<FileLock> other;
  EXPECT_EQ(EWOULDBLOCK, env->LockFile(forward + "/OutBoxFolder.xml", true, 0, &other));

  FileStatus status;
  EXPECT_EQ(kErrorFileNotFound, env->GetFileStatus(dir.File("VoiceFolder.xml"), &status));
  EXPECT_EQ(kErrorPathNotFound, env->GetFileStatus(dir.path() + "\\gone\\x.xml", &status));
}

TEST(Win32NetworkServicesTest, TheLocalDrivesAndThisComputer) {
  NetworkServices* net = NetworkServices::Default();
  char windows_dir[MAX_PATH];
  ASSERT_GT(::GetWindowsDirectoryA(windows_dir, MAX_PATH), 2u);
  const std::string system_drive(windows_dir, 2);  // "C:"
  EXPECT_EQ(DriveType::kFixed, net->GetDriveType(system_drive + "\\"));
  EXPECT_EQ(DriveType::kFixed, net->GetDriveType(system_drive + "\\Windows\\file.xml"));
  NetworkConnection connection;
  EXPECT_FALSE(net->GetConnection(system_drive + "\\data", &connection));
  EXPECT_FALSE(net->GetConnection("\\\\server\\share\\data", &connection));

  std::string computer;
  ASSERT_TRUE(net->GetComputerName(&computer));
  EXPECT_FALSE(computer.empty());
  char host[256];
  ASSERT_EQ(0, net->GetHostName(host, sizeof host));
  EXPECT_NE('\0', host[0]);
  EXPECT_EQ(-1, net->GetHostName(host, 1));  // too small for any name and its NUL
}

}  // namespace
}  // namespace Foldwise

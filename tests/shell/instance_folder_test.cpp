#include "ide/shell/core/InstanceFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

class InstanceFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_instance_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        base_ = root_ / "zov-base";
    }
    void TearDown() override { fs::remove_all(root_); }

    static void Write(const fs::path& path, const std::string& text = "x") { std::ofstream(path) << text; }

    fs::path root_;
    fs::path base_;
};

TEST_F(InstanceFolders, ClaimsNumbersInOrderAndRemovesAtExit)
{
    auto first = std::make_unique<InstanceFolder>(base_);
    auto second = std::make_unique<InstanceFolder>(base_);
    ASSERT_TRUE(first->HasFolder()) << first->StartupMessage(IdentityTranslate());
    EXPECT_EQ(first->Number(), 1);
    EXPECT_EQ(first->Folder(), base_ / "ZOV_TMP1");
    EXPECT_EQ(second->Number(), 2);
    EXPECT_TRUE(first->Purged());
    EXPECT_FALSE(second->Purged());  // another instance holds the lock
    EXPECT_EQ(first->StartupMessage(IdentityTranslate()), "");

    struct stat info {};
    ASSERT_EQ(::lstat(base_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    Write(first->Folder() / "Temp.qzi");
    ::symlink("/etc/hostname", (first->Folder() / "link").c_str());
    first.reset();
    EXPECT_FALSE(fs::exists(base_ / "ZOV_TMP1"));
    // A freed number is taken again.
    InstanceFolder third(base_);
    EXPECT_EQ(third.Number(), 1);
}

TEST_F(InstanceFolders, TheEleventhHasNone)
{
    std::vector<std::unique_ptr<InstanceFolder>> instances;
    for (int i = 0; i < InstanceFolder::kMaxInstances; ++i) {
        instances.push_back(std::make_unique<InstanceFolder>(base_));
        EXPECT_EQ(instances.back()->Number(), i + 1);
    }
    InstanceFolder eleventh(base_);
    EXPECT_FALSE(eleventh.HasFolder());
    EXPECT_EQ(eleventh.Folder(), fs::path());
    EXPECT_EQ(eleventh.StartupMessage(IdentityTranslate()),
              "ZOV n'a pas de dossier temporaire : les scripts ne pourront pas être exécutés.\n"
              "Les dossiers temporaires ZOV_TMP1 à ZOV_TMP10 de " +
                  base_.string() + " sont tous pris.");
    const Translate upper = [](std::string_view text) { return "<" + std::string(text) + ">"; };
    EXPECT_EQ(eleventh.Problem().Describe(upper).substr(0, 12), "<Les dossier");
}

// Stale folders go when no instance runs: first-level files and links (never what a link
// points to), then the folder; a folder that holds a folder stays, and nothing else is touched.
TEST_F(InstanceFolders, StaleFoldersArePurgedWhenAlone)
{
    ASSERT_TRUE(PrepareTempBase(base_).Empty());
    const fs::path outside = root_ / "outside";
    fs::create_directories(outside);
    Write(outside / "keep.txt");
    fs::create_directories(base_ / "ZOV_TMP1");
    fs::create_directories(base_ / "ZOV_TMP3");
    Write(base_ / "ZOV_TMP3" / "Temp.qzi");
    ::symlink((outside / "keep.txt").c_str(), (base_ / "ZOV_TMP3" / "file-link").c_str());
    ::symlink(outside.c_str(), (base_ / "ZOV_TMP3" / "folder-link").c_str());
    fs::create_directories(base_ / "ZOV_TMP4" / "sub");
    Write(base_ / "ZOV_TMP4" / "a.qzm");
    ::symlink(outside.c_str(), (base_ / "ZOV_TMP7").c_str());
    fs::create_directories(base_ / "other");
    Write(base_ / "other" / "f");

    InstanceFolder instance(base_);
    EXPECT_TRUE(instance.Purged());
    EXPECT_EQ(instance.Number(), 1);  // ZOV_TMP1 was stale
    EXPECT_FALSE(fs::exists(base_ / "ZOV_TMP3"));
    EXPECT_TRUE(fs::exists(base_ / "ZOV_TMP4" / "sub"));
    EXPECT_FALSE(fs::exists(base_ / "ZOV_TMP4" / "a.qzm"));
    EXPECT_TRUE(fs::is_symlink(base_ / "ZOV_TMP7"));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));
    EXPECT_TRUE(fs::exists(base_ / "other" / "f"));
}

TEST_F(InstanceFolders, NoPurgeWhileAnotherInstanceRuns)
{
    InstanceFolder running(base_);
    ASSERT_EQ(running.Number(), 1);
    fs::create_directories(base_ / "ZOV_TMP5");
    Write(base_ / "ZOV_TMP5" / "Temp.qzi");
    InstanceFolder second(base_);
    EXPECT_FALSE(second.Purged());
    EXPECT_EQ(second.Number(), 2);
    EXPECT_TRUE(fs::exists(base_ / "ZOV_TMP5" / "Temp.qzi"));
}

TEST_F(InstanceFolders, UnsafeBasesAreRefused)
{
    // A link, even to a folder of ours.
    fs::create_directories(root_ / "real");
    ::chmod((root_ / "real").c_str(), 0700);
    fs::create_symlink(root_ / "real", base_);
    InstanceFolder linked(base_);
    EXPECT_FALSE(linked.HasFolder());
    EXPECT_EQ(linked.Problem().Describe(IdentityTranslate()),
              "Le dossier temporaire " + base_.string() + " est un lien symbolique.");
    EXPECT_TRUE(fs::is_empty(root_ / "real"));
    fs::remove(base_);

    // Open to others.
    fs::create_directories(base_);
    ::chmod(base_.c_str(), 0755);
    InstanceFolder shared(base_);
    EXPECT_FALSE(shared.HasFolder());
    EXPECT_EQ(shared.Problem().format, "Le dossier temporaire %s est accessible aux autres utilisateurs.");
    EXPECT_FALSE(fs::exists(base_ / "ZOV_TMP1"));
    fs::remove_all(base_);

    // A file in its place.
    Write(base_);
    EXPECT_EQ(PrepareTempBase(base_).format, "Le dossier temporaire %s n'est pas un dossier.");
    fs::remove(base_);

    // Another user's.
    if (::geteuid() == 0) {
        fs::create_directories(base_);
        ::chmod(base_.c_str(), 0700);
        ASSERT_EQ(::chown(base_.c_str(), 65534, 65534), 0);
        EXPECT_EQ(PrepareTempBase(base_).format, "Le dossier temporaire %s appartient à un autre utilisateur.");
    }
}

TEST_F(InstanceFolders, DefaultBaseFollowsTmpdir)
{
    const char* saved = std::getenv("TMPDIR");
    const std::string restore = saved ? saved : "";
    const std::string uid = std::to_string(::geteuid());
    ::setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(DefaultTempBase(), fs::path("/var/tmp/zov-" + uid));
    ::setenv("TMPDIR", "", 1);
    EXPECT_EQ(DefaultTempBase(), fs::path("/tmp/zov-" + uid));
    ::unsetenv("TMPDIR");
    EXPECT_EQ(DefaultTempBase(), fs::path("/tmp/zov-" + uid));
    if (saved)
        ::setenv("TMPDIR", restore.c_str(), 1);
}

}  // namespace
}  // namespace zov::shell

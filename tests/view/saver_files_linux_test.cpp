// The snapshot read back by the tests' own BMP reader, and the snapshot when
// the disk refuses the write: a file-size limit makes every write past it
// fail, as a full disk would, even for root.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/bmp_file.h"
#include "tests/support/shell_text.h"
#include "tests/support/target_builder.h"
#include "tests/support/temp_folder.h"
#include "tests/view/frame_support.h"
#include "view/frame_size.h"
#include "view/saver_files.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

// Writes of this process fail beyond `bytes` while the object lives.
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_bSet = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~CFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;
    bool IsSet() const { return m_bSet; }

private:
    rlimit m_old{};
    sighandler_t m_oldHandler = nullptr;
    bool m_bSet = false;
};

TEST(SnapshotReadBack, IsTheFrameAsA24BitBmpFile) {
    const test::CTempFolder root;
    TargetList targets;
    AddTarget(targets, TargetSketch{.x = 100, .y = 100, .rtt = 20});
    CTestFrame frame(targets, SaverSettings{}, targets.front().get());
    const std::string path = (root.Path() / kSnapshotFileName).string();
    ASSERT_EQ(WriteSnapshot(frame.dib, {path}), path);

    const test::BmpFile bmp(test::ReadWholeFile(path));
    EXPECT_EQ(bmp.FileSize(), 479934U);
    EXPECT_EQ(bmp.Width(), kFrameWidth);
    EXPECT_EQ(bmp.Height(), kFrameHeight);
    EXPECT_EQ(bmp.BitCount(), 24);
    for (const auto& [x, y] : {Pixel{0, 0}, Pixel{100, 100}, Pixel{515, 309}, Pixel{8, 296}}) {
        const test::Rgb rgb = bmp.At(x, y);
        EXPECT_EQ((std::array<std::uint8_t, 3>{rgb.b, rgb.g, rgb.r}), PixelBytes(frame, x, y)) << x << "," << y;
    }
}

TEST(SnapshotOnAFullDisk, AFailedWriteKeepsTheEarlierSnapshotAndLeavesNoTemporaryFile) {
    const test::CTempFolder root;
    const std::string path = root.Write(kSnapshotFileName, "earlier snapshot");
    CTestFrame frame;
    {
        const CFileSizeLimit full(4096);
        ASSERT_TRUE(full.IsSet());
        EXPECT_EQ(WriteSnapshot(frame.dib, {path}), std::nullopt);
    }
    EXPECT_EQ(test::ReadAll(path), "earlier snapshot");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root.Path())) ++entries;
    EXPECT_EQ(entries, 1U) << "a temporary file was left behind";
    // With room again the same call succeeds: the limit was the only obstacle.
    EXPECT_EQ(WriteSnapshot(frame.dib, {path}), path);
    EXPECT_EQ(test::ReadAll(path).size(), 479934U);
}

}  // namespace
}  // namespace lumetra

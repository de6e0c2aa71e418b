// Whole frames against the golden BMP files of tests/data/frames, byte for
// byte: the same scenes as `lumetra-map render` draws them, rendered here
// through the renderer and written with the BMP writer. Under Wine this shows
// that the Windows build draws exactly the same pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "framework/file.h"
#include "settings/settings_store.h"
#include "targets/results_file.h"
#include "targets/target_file.h"
#include "tests/support/shell_text.h"
#include "tests/support/temp_folder.h"
#include "tests/view/frame_support.h"
#include "tests/view/golden_scenes.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

fs::path Frames() {
    return fs::path(LUMETRA_TEST_DATA) / "frames";
}

TEST(GoldenFrames, EverySceneRendersItsGoldenFile) {
    const std::vector<GoldenScene> scenes = ReadGoldenScenes();
    ASSERT_EQ(scenes.size(), 3U);
    const test::CTempFolder folder;
    for (const GoldenScene& scene : scenes) {
        TargetList targets;
        std::string region;
        LoadTargetFile((Frames() / "targets.txt").string(), targets, region);
        ASSERT_EQ(targets.size(), 22U) << scene.name;
        const ResultsReadout results = ParseResults(test::ReadAll(Frames() / scene.results), targets.size());
        ASSERT_EQ(results.error, "") << scene.name;
        ApplyResults(targets, results.results);
        SaverSettings settings;
        LoadSettings(settings, (Frames() / scene.settings).string());
        const PingTarget* current =
            scene.current ? std::next(targets.begin(), static_cast<std::ptrdiff_t>(*scene.current))->get() : nullptr;

        CTestFrame frame;
        SharedRenderer().RenderFrame(frame.dib, targets, region, settings, current);
        const std::string out = folder.File(scene.name + ".bmp");
        CFile file;
        ASSERT_TRUE(file.Open(out, CFile::modeCreate | CFile::modeWrite)) << out;
        frame.dib.WriteBmp(&file);
        file.Close();

        const std::string golden = test::ReadAll(Frames() / (scene.name + ".bmp"));
        ASSERT_EQ(golden.size(), 54U + 516U * 310U * 3U) << scene.name;
        EXPECT_TRUE(test::ReadAll(out) == golden) << scene.name << " differs from its golden frame";
    }
}

TEST(GoldenFrames, TheFirstFrameIsTheOutlineOverTheMiddleEntry) {
    // Independent of the golden file: before any probe the frame holds only
    // black and ramp entry 128, whatever the labels setting.
    TargetList targets;
    std::string region;
    LoadTargetFile((Frames() / "targets.txt").string(), targets, region);
    SaverSettings settings;
    settings.m_bShowData = 1;
    CTestFrame frame;
    SharedRenderer().RenderFrame(frame.dib, targets, region, settings, nullptr);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            ASSERT_TRUE(IsBlack(frame, x, y) || PixelBytes(frame, x, y) == RampEntry(128)) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace lumetra

// What the imaging layer costs per rendered frame: the masked outline draw,
// the icons and the text lines the overlays use, the snapshot write, and the
// scaled copies a big screen (fit on 3840 x 2160, 4 x 4 blocks) and the
// display settings' preview (152 x 91) are shown from.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <span>

#include "framework/file.h"
#include "imaging/canvas.h"
#include "imaging/dib.h"
#include "imaging/dib_scale.h"
#include "imaging/image_list.h"
#include "resources/resource_ids.h"
#include "view/frame_size.h"

namespace {

using namespace lumetra;

void BM_OutlineDraw(benchmark::State& state) {
    CImageList map;
    if (!map.Create(IDB_MAP_OUTLINE, kFrameWidth, 1, Rgb(255, 255, 255))) state.SkipWithError("no outline bitmap");
    CDib frame;
    frame.Create(kFrameWidth, kFrameHeight, 24);
    CCanvas canvas(frame);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        map.Draw(canvas, 0, 0, 0);
        benchmark::DoNotOptimize(frame.Row(0)[0]);
    }
}
BENCHMARK(BM_OutlineDraw);

void BM_IconDraw(benchmark::State& state) {
    CImageList icons;
    if (!icons.Create(IDB_TARGET_ICONS, 16, 1, Rgb(128, 0, 128))) state.SkipWithError("no icon bitmap");
    CDib frame;
    frame.Create(kFrameWidth, kFrameHeight, 24);
    CCanvas canvas(frame);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        icons.Draw(canvas, 3, 250, 150);
        benchmark::DoNotOptimize(frame.Row(0)[0]);
    }
}
BENCHMARK(BM_IconDraw);

void BM_LabelText(benchmark::State& state) {
    CDib frame;
    frame.Create(kFrameWidth, kFrameHeight, 24);
    CCanvas canvas(frame);
    canvas.SetTextColor(Rgb(0, 255, 255));
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        canvas.DrawTextLine("123", {200, 141, 300, 159}, kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix);
        benchmark::DoNotOptimize(frame.Row(0)[0]);
    }
}
BENCHMARK(BM_LabelText);

void BM_HostNameText(benchmark::State& state) {
    CDib frame;
    frame.Create(kFrameWidth, kFrameHeight, 24);
    CCanvas canvas(frame);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        canvas.DrawTextLine("www.example-university.edu", {21, 289, 498, 307}, kDtLeft | kDtBottom | kDtSingleLine);
        benchmark::DoNotOptimize(frame.Row(0)[0]);
    }
}
BENCHMARK(BM_HostNameText);

void BM_WriteFrameBmp(benchmark::State& state) {
    CDib frame;
    frame.Create(kFrameWidth, kFrameHeight, 24);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        CFile file;
        if (!file.Open("/dev/null", CFile::modeWrite)) {
            state.SkipWithError("cannot open /dev/null");
            break;
        }
        frame.WriteBmp(&file);
        file.Close();
    }
}
BENCHMARK(BM_WriteFrameBmp);

void BM_LoadKernel(benchmark::State& state) {
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        CDib kernel;
        kernel.LoadFromResource(IDB_KERNEL, 1);
        benchmark::DoNotOptimize(kernel.Row(0).data());
    }
}
BENCHMARK(BM_LoadKernel);

// A frame of varied pixels, so no copy can take a shortcut over runs of one colour.
void PaintFrame(CDib& frame) {
    frame.Create(kFrameWidth, kFrameHeight, 24);
    for (int y = 0; y < kFrameHeight; ++y) {
        std::span<std::uint8_t> row = frame.Row(y);
        for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 7 + y);
    }
}

void BM_ScaleUpFitOn4K(benchmark::State& state) {
    CDib frame;
    PaintFrame(frame);
    CDib scaled;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        ScaleUpByBlocks(frame, 4, scaled);
        benchmark::DoNotOptimize(scaled.Row(0)[0]);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{scaled.Stride()} * scaled.Height());
}
BENCHMARK(BM_ScaleUpFitOn4K);

void BM_ScaleDownToPreview(benchmark::State& state) {
    CDib frame;
    PaintFrame(frame);
    CDib preview;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        ScaleByAreaAverage(frame, 152, 91, preview);
        benchmark::DoNotOptimize(preview.Row(0)[0]);
    }
}
BENCHMARK(BM_ScaleDownToPreview);

}  // namespace

BENCHMARK_MAIN();

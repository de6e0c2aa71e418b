// Feeds arbitrary bytes to CDib::CreateFromPacked as a bitmap resource would
// arrive, then uses whatever loads: every pixel read, the image cut into an
// image list and drawn, and written as a BMP. Any read or write outside a
// block is a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/exceptions.h"
#include "framework/file.h"
#include "imaging/canvas.h"
#include "imaging/dib.h"
#include "imaging/dib_pixels.h"
#include "imaging/image_list.h"

namespace {

void UseImage(lumetra::CDib& dib, std::uint8_t selector) {
    std::uint32_t sum = 0;
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) sum += lumetra::ReadPixelColor(dib, x, y);
    }
    lumetra::CImageList list;
    const int imageWidth = 1 + selector % 7;
    if (list.Create(dib, imageWidth, sum)) {
        lumetra::CDib frame;
        frame.Create(13, 11, 24);
        lumetra::CCanvas canvas(frame);
        list.Draw(canvas, selector % 3, (selector % 17) - 8, (selector / 17 % 15) - 7);
    }
    lumetra::CFile sink;
    if (sink.Open("/dev/null", lumetra::CFile::modeWrite)) dib.WriteBmp(&sink);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t selector = data[0];
    lumetra::CDib dib;
    try {
        dib.CreateFromPacked(std::span(data + 1, size - 1), selector & 1);
    } catch (const lumetra::ResourceException&) {
        return 0;
    }
    UseImage(dib, selector);
    return 0;
}

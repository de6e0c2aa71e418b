// What the tests of lumetra-x11 need of X: a virtual X server of their own on
// a free display, a client that makes and watches windows, and screenshots
// taken by ImageMagick's `import`, an independent reader of the screen.
#pragma once

#include <X11/Xlib.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/bmp_file.h"

namespace lumetra::test {

// Xvfb on the first free display number (it picks one itself), ended with
// the object. `extra`: more server options, e.g. {"-extension", "MIT-SHM"}.
class CXvfb {
public:
    explicit CXvfb(const std::vector<std::string>& extra = {});
    ~CXvfb();
    CXvfb(const CXvfb&) = delete;
    CXvfb& operator=(const CXvfb&) = delete;

    // ":N", or empty when the server did not start (see Problem).
    const std::string& Name() const { return m_strName; }
    const std::string& Problem() const { return m_strProblem; }

private:
    pid_t m_pid = -1;
    std::string m_strName;
    std::string m_strProblem;
};

// The pixels of a screenshot or a frame, top row first.
struct CPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    // Black outside the picture, so that a failed screenshot fails a test
    // rather than the test program.
    Rgb At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return {};
        return pixels[static_cast<std::size_t>(y * width + x)];
    }
    // The smallest rectangle around every pixel that is not black: x, y, w, h.
    std::optional<std::array<int, 4>> NonBlackBox() const;
    friend bool operator==(const CPicture&, const CPicture&) = default;
};

// A 24-bit BMP file's pixels; empty when it is not one.
CPicture PictureOfBmp(const std::string& path);

// A client of the test's own on the server.
class CXClient {
public:
    explicit CXClient(const std::string& display);
    ~CXClient();
    CXClient(const CXClient&) = delete;
    CXClient& operator=(const CXClient&) = delete;

    explicit operator bool() const { return m_pDisplay != nullptr; }
    const std::string& DisplayName() const { return m_strName; }

    // A black top-level window at (0, 0), mapped.
    Window MakeWindow(int width, int height);
    void DestroyWindow(Window window);
    Window Root() const { return DefaultRootWindow(m_pDisplay); }
    void Focus(Window window);
    Window Focused() const;
    // What a window manager sends when the user closes the window.
    void AskToClose(Window window);
    // A viewable top-level window named `name`, if there is one.
    std::optional<Window> Find(const std::string& name) const;

    // The window's contents as `import` reads them from the server.
    CPicture Screenshot(Window window, const std::string& scratchFile) const;

private:
    Display* m_pDisplay = nullptr;
    std::string m_strName;
};

}  // namespace lumetra::test

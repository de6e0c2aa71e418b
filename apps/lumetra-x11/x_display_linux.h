// The X server as lumetra-x11 uses it: one connection whose protocol errors
// are caught instead of ending the process, and the frame as an image on the
// server's side of shared memory where the server offers it, else sent with
// every put.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/shm.h>

#include <cstdint>
#include <memory>
#include <string>

#include "apps/lumetra-x11/pixel_layout.h"
#include "imaging/dib.h"

namespace lumetra::x11 {

// An open display. A protocol error (a window that is gone, an attach that
// the server refuses) is recorded rather than fatal; ask with ErrorsSince.
class CXConnection {
public:
    // Null display on failure; `name` empty means $DISPLAY.
    explicit CXConnection(const std::string& name);
    ~CXConnection();
    CXConnection(const CXConnection&) = delete;
    CXConnection& operator=(const CXConnection&) = delete;

    Display* Get() const { return m_pDisplay; }
    explicit operator bool() const { return m_pDisplay != nullptr; }

    // Waits for the server to have handled every request so far, and returns
    // how many errors came since `mark` (a value of ErrorCount).
    unsigned long ErrorsSince(unsigned long mark) const;
    static unsigned long ErrorCount();

    // Called once when the connection breaks, before the process ends with
    // code 1 (Xlib allows no return from there).
    static void OnConnectionLost(void (*handler)());

private:
    Display* m_pDisplay = nullptr;
};

// The frame on its way to a drawable: an XImage in the visual's layout,
// refilled after every render and put at the frame's position.
class CFrameImage {
public:
    // Null when the visual is not TrueColor of 15 bits or more.
    static std::unique_ptr<CFrameImage> Create(Display* display, Visual* visual, int depth, int width, int height);
    ~CFrameImage();
    CFrameImage(const CFrameImage&) = delete;
    CFrameImage& operator=(const CFrameImage&) = delete;

    void Fill(const CDib& frame);
    void Put(Drawable drawable, GC gc, int x, int y) const;
    bool UsesSharedMemory() const { return m_bShared; }

private:
    CFrameImage(Display* display, XImage* image, bool shared, const XShmSegmentInfo& segment);
    static XImage* CreateShared(Display* display, Visual* visual, int depth, int width, int height,
                                XShmSegmentInfo& segment);

    Display* m_pDisplay;
    XImage* m_pImage;
    bool m_bShared;
    XShmSegmentInfo m_segment;
    std::unique_ptr<std::uint8_t[]> m_pPlainBytes;  // the pixels of a plain image
    PixelLayout m_layout;
};

// A picture kept on the server's side: filled from an image once per render
// and copied to the window on every paint, so that a motion tick sends no
// pixels, however large the map.
class CServerPicture {
public:
    CServerPicture(Display* display, Drawable window, int depth, int width, int height);
    ~CServerPicture();
    CServerPicture(const CServerPicture&) = delete;
    CServerPicture& operator=(const CServerPicture&) = delete;

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // `image` must be filled already, and of this picture's size.
    void Take(const CFrameImage& image, GC gc);
    void CopyTo(Drawable drawable, GC gc, int x, int y) const;

private:
    Display* m_pDisplay;
    Pixmap m_pixmap;
    int m_nWidth;
    int m_nHeight;
};

}  // namespace lumetra::x11

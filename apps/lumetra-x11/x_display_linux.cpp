#include "apps/lumetra-x11/x_display_linux.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace lumetra::x11 {
namespace {

unsigned long g_errorCount = 0;
void (*g_onConnectionLost)() = nullptr;

int RecordError(Display* /*display*/, XErrorEvent* /*error*/) {
    ++g_errorCount;
    return 0;
}

int ConnectionLost(Display* /*display*/) {
    if (g_onConnectionLost != nullptr) g_onConnectionLost();
    std::_Exit(1);
}

PixelLayout LayoutOf(const XImage& image) {
    return {image.bits_per_pixel, image.byte_order == MSBFirst, static_cast<std::uint32_t>(image.red_mask),
            static_cast<std::uint32_t>(image.green_mask), static_cast<std::uint32_t>(image.blue_mask)};
}

}  // namespace

CXConnection::CXConnection(const std::string& name) {
    XSetErrorHandler(RecordError);
    XSetIOErrorHandler(ConnectionLost);
    m_pDisplay = XOpenDisplay(name.empty() ? nullptr : name.c_str());
}

CXConnection::~CXConnection() {
    if (m_pDisplay != nullptr) XCloseDisplay(m_pDisplay);
}

unsigned long CXConnection::ErrorsSince(unsigned long mark) const {
    XSync(m_pDisplay, False);
    return g_errorCount - mark;
}

unsigned long CXConnection::ErrorCount() {
    return g_errorCount;
}

void CXConnection::OnConnectionLost(void (*handler)()) {
    g_onConnectionLost = handler;
}

std::unique_ptr<CFrameImage> CFrameImage::Create(Display* display, Visual* visual, int depth, int width, int height) {
    if (visual->c_class != TrueColor || depth < 15) return nullptr;
    XShmSegmentInfo segment{};
    if (XImage* shared = CreateShared(display, visual, depth, width, height, segment)) {
        return std::unique_ptr<CFrameImage>(new CFrameImage(display, shared, true, segment));
    }
    XImage* plain = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (plain == nullptr) return nullptr;
    std::unique_ptr<CFrameImage> image(new CFrameImage(display, plain, false, segment));
    if (!IsPackable(image->m_layout)) return nullptr;
    image->m_pPlainBytes = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(plain->bytes_per_line) *
                                                            static_cast<std::size_t>(height));
    plain->data = reinterpret_cast<char*>(image->m_pPlainBytes.get());
    return image;
}

XImage* CFrameImage::CreateShared(Display* display, Visual* visual, int depth, int width, int height,
                                  XShmSegmentInfo& segment) {
    if (XShmQueryExtension(display) == False) return nullptr;
    XImage* image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &segment,
                                    static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (image == nullptr) return nullptr;
    const auto size = static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height);
    segment.shmid = IsPackable(LayoutOf(*image)) ? shmget(IPC_PRIVATE, size, IPC_CREAT | 0600) : -1;
    void* memory = segment.shmid >= 0 ? shmat(segment.shmid, nullptr, 0) : nullptr;
    if (reinterpret_cast<std::intptr_t>(memory) == -1) memory = nullptr;  // shmat's failure
    bool attached = false;
    if (memory != nullptr) {
        segment.shmaddr = image->data = static_cast<char*>(memory);
        segment.readOnly = False;
        // A server on another machine, or one that may not read this user's
        // segment, refuses the attach with an error.
        const unsigned long mark = CXConnection::ErrorCount();
        attached = XShmAttach(display, &segment) != False;
        XSync(display, False);
        attached = attached && CXConnection::ErrorCount() == mark;
    }
    // Marked for removal now: it goes when both sides have let go, even
    // when this process is killed.
    if (segment.shmid >= 0) shmctl(segment.shmid, IPC_RMID, nullptr);
    if (attached) return image;
    if (memory != nullptr) shmdt(memory);
    image->data = nullptr;
    XDestroyImage(image);
    return nullptr;
}

CFrameImage::CFrameImage(Display* display, XImage* image, bool shared, const XShmSegmentInfo& segment)
    : m_pDisplay(display), m_pImage(image), m_bShared(shared), m_segment(segment), m_layout(LayoutOf(*image)) {
    // The image names its segment through this pointer: it must be this
    // object's copy, which lives as long as the image.
    if (m_bShared) m_pImage->obdata = reinterpret_cast<char*>(&m_segment);
}

CFrameImage::~CFrameImage() {
    if (m_bShared) {
        XShmDetach(m_pDisplay, &m_segment);
        XSync(m_pDisplay, False);
        shmdt(m_segment.shmaddr);
    }
    m_pImage->data = nullptr;  // the bytes are the segment's or m_pPlainBytes'
    XDestroyImage(m_pImage);
}

void CFrameImage::Fill(const CDib& frame) {
    const auto stride = static_cast<std::size_t>(m_pImage->bytes_per_line);
    const std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(m_pImage->data),
                                        stride * static_cast<std::size_t>(m_pImage->height));
    PackFrame(frame, m_layout, bytes, stride);
}

void CFrameImage::Put(Drawable drawable, GC gc, int x, int y) const {
    const auto width = static_cast<unsigned>(m_pImage->width);
    const auto height = static_cast<unsigned>(m_pImage->height);
    if (m_bShared) {
        XShmPutImage(m_pDisplay, drawable, gc, m_pImage, 0, 0, x, y, width, height, False);
        // The next render rewrites the segment: the server must be done with it.
        XSync(m_pDisplay, False);
    } else {
        XPutImage(m_pDisplay, drawable, gc, m_pImage, 0, 0, x, y, width, height);
    }
}

CServerPicture::CServerPicture(Display* display, Drawable window, int depth, int width, int height)
    : m_pDisplay(display),
      m_pixmap(XCreatePixmap(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height),
                             static_cast<unsigned>(depth))),
      m_nWidth(width),
      m_nHeight(height) {}

CServerPicture::~CServerPicture() {
    XFreePixmap(m_pDisplay, m_pixmap);
}

void CServerPicture::Take(const CFrameImage& image, GC gc) {
    image.Put(m_pixmap, gc, 0, 0);
}

void CServerPicture::CopyTo(Drawable drawable, GC gc, int x, int y) const {
    XCopyArea(m_pDisplay, m_pixmap, drawable, gc, 0, 0, static_cast<unsigned>(m_nWidth),
              static_cast<unsigned>(m_nHeight), x, y);
}

}  // namespace lumetra::x11

#include "tests/apps/lumetra-x11/x_test_session.h"

#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/shell_text.h"

namespace lumetra::test {

CXvfb::CXvfb(const std::vector<std::string>& extra) {
    int pipeFds[2] = {-1, -1};
    if (pipe(pipeFds) != 0) {
        m_strProblem = "no pipe for Xvfb's display number";
        return;
    }
    std::vector<std::string> words = {
        "Xvfb",     "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
        "-noreset", "-br"};
    words.insert(words.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    // Not the test's own output: CTest would wait for the server to close it.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int error = posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (error != 0) {
        m_pid = -1;
        m_strProblem = "cannot start Xvfb (the xvfb package)";
        close(pipeFds[0]);
        return;
    }
    std::string number;
    char c = 0;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeFds[0]);
    if (number.empty()) {
        m_strProblem = "Xvfb gave no display number";
        return;
    }
    m_strName = ":" + number;
}

CXvfb::~CXvfb() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
}

std::optional<std::array<int, 4>> CPicture::NonBlackBox() const {
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (At(x, y) == Rgb{}) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return std::nullopt;
    return std::array<int, 4>{left, top, right - left + 1, bottom - top + 1};
}

CPicture PictureOfBmp(const std::string& path) {
    try {
        const BmpFile bmp(ReadWholeFile(path));
        if (bmp.BitCount() != 24) return {};
        CPicture picture{bmp.Width(), bmp.Height(), {}};
        for (int y = 0; y < bmp.Height(); ++y) {
            for (int x = 0; x < bmp.Width(); ++x) picture.pixels.push_back(bmp.At(x, y));
        }
        return picture;
    } catch (const std::exception&) {
        return {};
    }
}

CXClient::CXClient(const std::string& display) : m_pDisplay(XOpenDisplay(display.c_str())), m_strName(display) {}

CXClient::~CXClient() {
    if (m_pDisplay != nullptr) XCloseDisplay(m_pDisplay);
}

Window CXClient::MakeWindow(int width, int height) {
    const int screen = DefaultScreen(m_pDisplay);
    const Window window =
        XCreateSimpleWindow(m_pDisplay, Root(), 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                            BlackPixel(m_pDisplay, screen), BlackPixel(m_pDisplay, screen));
    XMapRaised(m_pDisplay, window);
    XSync(m_pDisplay, False);
    return window;
}

void CXClient::DestroyWindow(Window window) {
    XDestroyWindow(m_pDisplay, window);
    XSync(m_pDisplay, False);
}

void CXClient::Focus(Window window) {
    XSetInputFocus(m_pDisplay, window, RevertToParent, CurrentTime);
    XSync(m_pDisplay, False);
}

Window CXClient::Focused() const {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_pDisplay, &focus, &revert);
    return focus;
}

void CXClient::AskToClose(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_pDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_pDisplay, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_pDisplay, window, False, NoEventMask, &event);
    XSync(m_pDisplay, False);
}

std::optional<Window> CXClient::Find(const std::string& name) const {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::optional<Window> found;
    if (XQueryTree(m_pDisplay, Root(), &root, &parent, &children, &count) == 0) return found;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* title = nullptr;
        XWindowAttributes attributes{};
        if (XFetchName(m_pDisplay, children[i], &title) != 0 && title != nullptr) {
            if (name == title && XGetWindowAttributes(m_pDisplay, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            XFree(title);
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

CPicture CXClient::Screenshot(Window window, const std::string& scratchFile) const {
    const std::string command = "import -display " + Quote(m_strName) + " -window " + std::to_string(window) +
                                " -depth 8 ppm:" + Quote(scratchFile) + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream in(scratchFile, std::ios::binary);
    std::string magic;
    CPicture picture;
    int maximum = 0;
    in >> magic >> picture.width >> picture.height >> maximum;
    in.get();
    if (magic != "P6" || maximum != 255 || picture.width <= 0 || picture.height <= 0) return {};
    std::vector<char> bytes(static_cast<std::size_t>(picture.width * picture.height * 3));
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return {};
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        picture.pixels.push_back({static_cast<std::uint8_t>(bytes[i]), static_cast<std::uint8_t>(bytes[i + 1]),
                                  static_cast<std::uint8_t>(bytes[i + 2])});
    }
    return picture;
}

}  // namespace lumetra::test

// The one line of text a saver shows at the bottom of its screen, below the
// drifting frame, when it cannot do its work: a desktop user never reads the
// hack's standard error. The frame and its snapshot stay as they are; the
// frame only drifts above the line.
#pragma once

#include <string_view>

#include "imaging/canvas.h"
#include "imaging/dib.h"

namespace lumetra::x11 {

// What the line says when this user may open no ICMP socket; the README's
// section of that name says how to allow it.
inline constexpr std::string_view kNoIcmpNotice =
    "Lumetra cannot send ICMP echoes as this user: see \"Allowing ICMP\" in its README";

// Draws `text` grey on black into `strip`, made as wide as the text with a
// margin and one font line high.
void DrawNotice(std::string_view text, CDib& strip);

// The part of `client` above a strip `stripHeight` pixels high at its
// bottom, where the frame drifts; the whole of it when there is no strip or
// the client is too low to keep one.
Rect AboveNotice(const Rect& client, int stripHeight);

}  // namespace lumetra::x11

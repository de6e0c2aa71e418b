// The one way a test reaches into a CDib's storage: to stand in for a DIB
// section the system could not make. Linux has no sections to fail, and the
// portable view tests run there as well as under Wine.
#pragma once

#include "imaging/dib.h"

namespace lumetra {

struct CDibTestAccess {
    // What Create leaves when the section fails: the header and colour table
    // as asked for, but no pixels to address.
    static void LoseSection(CDib& dib) { dib.m_pBits = nullptr; }
};

}  // namespace lumetra

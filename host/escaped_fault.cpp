#include "host/escaped_fault.h"

#include <exception>
#include <utility>

namespace lumetra {
namespace {

std::exception_ptr& Kept() {
    static std::exception_ptr kept;
    return kept;
}

}  // namespace

void KeepEscapedFault() {
    if (!Kept()) Kept() = std::current_exception();
}

void RethrowEscapedFault() {
    if (std::exception_ptr fault = std::exchange(Kept(), nullptr)) std::rethrow_exception(fault);
}

}  // namespace lumetra

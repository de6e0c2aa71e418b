#include "view/random_source.h"

#include <cstdlib>
#include <ctime>

namespace lumetra {

void CRuntimeRandom::SeedWithTime() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

int CRuntimeRandom::Draw() {
    return std::rand();
}

}  // namespace lumetra

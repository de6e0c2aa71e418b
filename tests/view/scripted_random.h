// A random source that gives the draws a test lists, in order, so the rules
// about draws, their order and their ranges can be checked exactly.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "view/random_source.h"

namespace lumetra::test {

class CScriptedRandom final : public IRandomSource {
public:
    CScriptedRandom(std::initializer_list<int> draws) : m_draws(draws) {}

    // Throws when the script has run out: a rule drew more than the test
    // expected (and a redraw loop cannot spin forever).
    int Draw() override {
        if (m_nNext == m_draws.size()) throw std::logic_error("more draws than scripted");
        return m_draws[m_nNext++];
    }

    void Append(std::initializer_list<int> draws) { m_draws.insert(m_draws.end(), draws); }
    std::size_t Used() const { return m_nNext; }
    std::size_t Left() const { return m_draws.size() - m_nNext; }

private:
    std::vector<int> m_draws;
    std::size_t m_nNext = 0;
};

}  // namespace lumetra::test

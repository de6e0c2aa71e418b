// Names table-driven cases after their `name` field in the test list.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace lumetra::test {

struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

}  // namespace lumetra::test

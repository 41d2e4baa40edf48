// The tests' check of an operation's result: a failure shows the result's message.
#pragma once

#include "Unit_Result.h"

#include <gtest/gtest.h>

inline ::testing::AssertionResult Succeeded(const zm::TResult& result) {
    if (result.Ok()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "failed (code " << static_cast<int>(result.Code) << "): " << result.Message;
}

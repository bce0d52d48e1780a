// A temporary device root for Str tests that read the error log, and the log's lines.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempRoot.h"
#include "platform/device.h"
#include "platform/heap.h"

class StrLogTest : public ::testing::Test {
  protected:
    void TearDown() override { platform::failNthAllocation(0); }

    // The log's lines without their "yyyy.MM.dd HH:mm:ss - " prefix and "\r\n".
    std::vector<std::string> logLines() const {
        std::ifstream in(platform::hostPath(u"\\error.log"), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line.size() > 22 ? line.substr(22) : line);
        }
        return lines;
    }

  private:
    platform::testing::TempRoot m_root;
};

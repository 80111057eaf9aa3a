// The tool's run as a plain, byte-at-a-time model, for the fuzzer to judge
// the tool by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct ReferenceOutcome {
    int status = 0;
    std::string output;
    bool index_written = false;
    std::string index;
};

// What a run with -m prints (without the closing confirmation) and writes
// for a kolvane.dic holding these bytes.
ReferenceOutcome reference_run(const std::uint8_t* data, std::size_t size);

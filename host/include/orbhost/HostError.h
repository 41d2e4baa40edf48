// The one error type of the host: a message that names the file (and line where known) at fault.
#pragma once

#include <stdexcept>
#include <string>

namespace orb {

struct HostError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace orb

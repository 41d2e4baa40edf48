// The one error type of the host: a message that names the file (and line where known) at fault.
#pragma once

#include <stdexcept>
#include <string>

namespace orb {

struct HostError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An error the simulator stops on even when a module asked for the vessel: a class file whose mesh cannot be
// loaded. A run that meets it ends with the error instead of going on without the vessel.
struct FatalHostError : HostError {
    using HostError::HostError;
};

} // namespace orb

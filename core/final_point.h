#pragma once
// How the error box words a failure's message.

#include <string>

namespace kvorn {

// A final point is added when the message is not empty and its last
// character's code is above that of the point itself (0x2E).
std::string WithFinalPoint(std::string message);

}  // namespace kvorn

#include "final_point.h"

namespace kvorn {

std::string WithFinalPoint(std::string message)
{
    // Any byte of a multi-byte character is above 0x7F, so the last byte decides.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > 0x2E)
        message += '.';
    return message;
}

}  // namespace kvorn

// The scorer's --batch on arbitrary bytes: any encoding, delimiter and
// quoting. Each input line comes back once, its bytes as they came.

#include <cstdint>
#include <sstream>
#include <string>

#include "invariants.h"
#include "scorer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = kvorn::cli::RateBatch(in, out, err, U',');
    if (code != kvorn::cli::Success && code != kvorn::cli::Failed)
        fuzz::Broken("batch exit code", std::to_string(code));
    const std::string output = out.str();
    std::string_view rows = input, written = output;
    if (rows.substr(0, 3) == "\xEF\xBB\xBF") {
        if (written.substr(0, 3) != rows.substr(0, 3))
            fuzz::Broken("byte-order mark", std::string(written.substr(0, 3)));
        rows.remove_prefix(3);
        written.remove_prefix(3);
    }
    // Every line starts with the line read, byte for byte.
    while (!rows.empty()) {
        std::size_t end = rows.find('\n');
        std::string_view line = rows.substr(0, end);
        rows.remove_prefix(end == std::string_view::npos ? rows.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (written.substr(0, line.size()) != line)
            fuzz::Broken("row not written back as it came", std::string(line));
        const std::size_t next = written.find('\n', line.size());
        if (next == std::string_view::npos)
            fuzz::Broken("row not ended", std::string(line));
        written.remove_prefix(next + 1);
    }
    if (!written.empty())
        fuzz::Broken("more rows out than in", std::string(written));
    return 0;
}

#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "regional_settings.h"
#include "scorer.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

// The arguments as the user typed them, in UTF-8: the ANSI code page of
// argv cannot hold every ship name.
static std::vector<std::string> Arguments(int, char**)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(bytes > 0 ? std::size_t(bytes - 1) : 0, '\0');
        if (bytes > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), bytes, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    LocalFree(wide);
    return args;
}

// A console shows text, not bytes: what goes to one is written as its own
// UTF-16 (from the UTF-8 the scorer writes to it), so no code page is
// changed; a redirected stream gets the bytes as they are.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}
    ~ConsoleBuffer() override { sync(); }

protected:
    int_type overflow(int_type c) override
    {
        if (c != traits_type::eof())
            pending_ += char(c);
        if (c == '\n')
            sync();
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        pending_.append(text, std::size_t(count));
        if (pending_.find('\n') != std::string::npos)
            sync();
        return count;
    }
    int sync() override
    {
        // All but a character cut short at the end, which the next write ends.
        std::size_t whole = pending_.size();
        for (std::size_t back = 1; back <= 3 && back <= pending_.size(); ++back) {
            const auto byte = static_cast<unsigned char>(pending_[pending_.size() - back]);
            if ((byte & 0xC0) == 0x80)
                continue;
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            if (length > back)
                whole = pending_.size() - back;
            break;
        }
        const int units = MultiByteToWideChar(CP_UTF8, 0, pending_.data(), int(whole), nullptr, 0);
        std::wstring wide(std::size_t(units > 0 ? units : 0), L'\0');
        if (units > 0)
            MultiByteToWideChar(CP_UTF8, 0, pending_.data(), int(whole), wide.data(), units);
        DWORD written = 0;
        for (std::size_t at = 0; at < wide.size(); at += written)
            if (!WriteConsoleW(console_, wide.data() + at, DWORD(wide.size() - at), &written, nullptr) || !written)
                break;
        pending_.erase(0, whole);
        return 0;
    }

private:
    HANDLE console_;
    std::string pending_;
};

static HANDLE Console(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    DWORD mode;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// A console opened for this program alone (started from Explorer, with a
// file dropped on it or none) closes with it: its last words are kept until
// Enter is pressed.
static void KeepOwnConsoleOpen(std::size_t arguments)
{
    DWORD processes[2];
    if (arguments <= 1 && Console(STD_INPUT_HANDLE) && GetConsoleProcessList(processes, 2) == 1) {
        std::cout << "Press Enter to close this window." << std::flush;
        std::cin.get();
    }
}

static void PrepareStreams()
{
    // Rows passed through byte for byte (CRLF included).
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}
#else
static std::vector<std::string> Arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }
static void PrepareStreams() {}
#endif

int main(int argc, char** argv)
{
    PrepareStreams();
    std::ios::sync_with_stdio(false);
#ifdef _WIN32
    const HANDLE outConsole = Console(STD_OUTPUT_HANDLE), errConsole = Console(STD_ERROR_HANDLE);
    ConsoleBuffer outText(outConsole), errText(errConsole);
    std::ostream outToConsole(&outText), errToConsole(&errText);
    std::ostream& out = outConsole ? outToConsole : std::cout;
    std::ostream& err = errConsole ? errToConsole : std::cerr;
    const std::vector<std::string> args = Arguments(argc, argv);
    const int code = kvorn::cli::Run(args, std::cin, out, err, kvorn::RegionalSeparator(), outConsole != nullptr);
    out.flush();
    err.flush();
    KeepOwnConsoleOpen(args.size());
    return code;
#else
    return kvorn::cli::Run(Arguments(argc, argv), std::cin, std::cout, std::cerr, kvorn::RegionalSeparator());
#endif
}

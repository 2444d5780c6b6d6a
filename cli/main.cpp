#include <cstdlib>
#include <iostream>
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

// UTF-8 out while the scorer runs, and the console's own code page put back
// for the rest of the console session once it is done.
static UINT consoleCodePage = 0;
static void RestoreConsole()
{
    if (consoleCodePage)
        SetConsoleOutputCP(consoleCodePage);
}

static void PrepareStreams()
{
    consoleCodePage = GetConsoleOutputCP();  // 0 without a console
    if (consoleCodePage && SetConsoleOutputCP(CP_UTF8))
        std::atexit(RestoreConsole);
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
    return kvorn::cli::Run(Arguments(argc, argv), std::cin, std::cout, std::cerr, kvorn::RegionalSeparator());
}

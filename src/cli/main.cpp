// quorvik-cli's entry point: the machine it runs on, then the shared front end.

#include <iostream>

#include "cli/cli.h"
#include "platform/paths.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include "cli/win32_console.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_text.h"
#else
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "console/posix_output.h"
#include "operations/game.h"
#include "platform/posix/posix_system.h"
#endif

namespace {

using quorvik::platform::System;

std::unique_ptr<System> machine(const std::optional<std::filesystem::path>& prefix,
                                std::string& error) {
#ifdef _WIN32
    if (prefix) {
        error = "--prefix names a Wine prefix on Linux; on Windows the game's own registry is read";
        return nullptr;
    }
    return std::make_unique<quorvik::platform::win32::Win32System>();
#else
    std::error_code failure;
    if (prefix && !std::filesystem::is_directory(*prefix, failure)) {
        error = "--prefix " + quorvik::platform::pathToUtf8(*prefix) + ": there is no such folder";
        return nullptr;
    }
    // Which prefix was chosen, and why, goes to standard error as the window
    // reports it: standard output stays what a script reads.
    return std::make_unique<quorvik::platform::posix::PosixSystem>(
        quorvik::platform::posix::processPrefixSearch(quorvik::operations::game::signature(),
                                                      prefix),
        &std::cerr, "quorvik-cli");
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
#ifdef _WIN32
    // The arguments as the user typed them, in UTF-8 like everything inside.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(quorvik::platform::win32::narrow(wide[i]));
    LocalFree(wide);
    std::vector<const char*> pointers;
    for (const auto& argument : arguments) pointers.push_back(argument.c_str());
    (void)argc;
    (void)argv;
    // A console shows wide text, so its code page is left as the user set it.
    using quorvik::cli::win32::Standard;
    using quorvik::cli::win32::StandardStream;
    StandardStream out(Standard::Output, std::cout);
    StandardStream err(Standard::Error, std::cerr);
    // As with std::cerr: a message comes after the output that led to it.
    err.stream().tie(&out.stream());
    err.stream().setf(std::ios::unitbuf);
    const int status =
        quorvik::cli::run(count, pointers.data(), out.stream(), err.stream(), machine);
    out.stream().flush();
    return status;
#else
    namespace posix = quorvik::console::posix;
    ::signal(SIGPIPE, SIG_IGN);
    posix::Output output(STDOUT_FILENO, posix::keepStandardDescriptors());
    std::ostream out(&output);
    int status = quorvik::cli::run(argc, argv, out, std::cerr, machine);
    out.flush();
    if (output.error() != 0) {
        std::cerr << "quorvik-cli: could not write to standard output: "
                  << std::strerror(output.error()) << '\n';
        if (status == 0) status = 1;
    }
    return status;
#endif
}
